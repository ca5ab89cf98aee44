#include "controls/hyperlink.h"

#include "controls/hyperlink_reason.h"
#include "platform/ui/html_application.h"
#include "platform/ui/prompts.h"
#include "platform/ui/shell.h"

#include <QApplication>
#include <QMouseEvent>

CHyperLink::CHyperLink(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    Restyle();
}

void CHyperLink::SetURL(const QString& url) {
    url_ = url.isEmpty() ? text() : url;
    if (text().isEmpty())
        setText(url_);
    setToolTip(url_);
    adjustSize();
}

void CHyperLink::SetUnderline(Underline mode) {
    underline_ = mode;
    Restyle();
}

void CHyperLink::Restyle() {
    const char* color = hovering_ ? "rgb(255,0,0)" : visited_ ? "rgb(85,26,139)" : "rgb(0,0,238)";
    bool underline = underline_ == UnderlineAlways || (underline_ == UnderlineHover && hovering_);
    setStyleSheet(QStringLiteral("QLabel { color: %1; text-decoration: %2; }")
                      .arg(color, underline ? "underline" : "none"));
}

void CHyperLink::enterEvent(QEnterEvent* event) {
    hovering_ = true;
    Restyle();
    QLabel::enterEvent(event);
}

void CHyperLink::leaveEvent(QEvent* event) {
    hovering_ = false;
    Restyle();
    QLabel::leaveEvent(event);
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    hovering_ = false;
    // What the desktop cannot open goes to its default web-page application, whose outcome
    // then stands instead.
    int result = ui::CurrentShell().OpenUrl(url_);
    if (!ui::Opened(result))
        result = ui::RunHtmlApplication(url_).value_or(result);
    if (ui::Opened(result)) {
        visited_ = true;
        Restyle();
        return;
    }
    Restyle();
    QApplication::beep();
    // Owned by the window: a box owned by the link would take on its colour and underline.
    ui::MessageBox(window(),
                   QStringLiteral("Unable to open hyperlink:\n\n") + HyperLinkFailureReason(result),
                   {}, ui::MB_OK | ui::MB_ICONEXCLAMATION);
}
