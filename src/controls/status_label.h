#pragma once
// The main window's status line: its text on one line when it fits, else broken at the
// wide gap between its fields ("Output file: …     Resolution: …") so a field never splits,
// each line shortened in its middle (a long path) when it is still too wide. The whole text
// stays the label's text, and is its tool tip when it is shortened.
#include <QLabel>

class CStatusLabel : public QLabel {
    Q_OBJECT
  public:
    explicit CStatusLabel(QWidget* parent = nullptr);

    // The lines as painted at the label's present width.
    QStringList DisplayedLines() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
