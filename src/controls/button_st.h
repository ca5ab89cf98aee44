#pragma once
// The main window's icon buttons: icon left of the text, flat (a border only while the
// pointer is over it), a hover sound played once per entry, a hand cursor and a tool tip.
#include <QIcon>
#include <QPushButton>
#include <QUrl>

class CButtonST : public QPushButton {
    Q_OBJECT
  public:
    explicit CButtonST(const QString& text, QWidget* parent = nullptr);

    void SetIcon(const QIcon& icon);
    void SetSound(const QUrl& sound);
    void SetBtnCursor(const QCursor& cursor);
    void SetTooltipText(const QString& text);
    void SetFlat(bool flat);

    bool IsHovering() const { return hovering_; }

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void SetHovering(bool hovering);

    QUrl sound_;
    bool hovering_ = false;
    bool flat_ = true;
};
