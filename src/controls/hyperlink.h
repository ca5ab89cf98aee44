#pragma once
// A text that opens a web address when clicked: blue, purple once visited, red while the
// pointer is over it; underlined always, never, or only while hovered. An address that
// cannot be opened is reported with the reason, and the link stays unvisited.
#include <QLabel>

class CHyperLink : public QLabel {
    Q_OBJECT
  public:
    enum Underline { UnderlineHover = -1, UnderlineNever = 0, UnderlineAlways = 1 };

    explicit CHyperLink(QWidget* parent = nullptr);

    // Without an address the text is the address; without a text the address is shown.
    void SetURL(const QString& url);
    QString GetURL() const { return url_; }
    void SetUnderline(Underline mode);
    bool IsVisited() const { return visited_; }

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void Restyle();

    QString url_;
    Underline underline_ = UnderlineHover;
    bool hovering_ = false;
    bool visited_ = false;
};
