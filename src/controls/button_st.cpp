#include "controls/button_st.h"

#include "platform/ui/sounds.h"

#include <QEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
constexpr int kMaxTooltipWidth = 400;
}

CButtonST::CButtonST(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setAttribute(Qt::WA_Hover);
}

void CButtonST::SetIcon(const QIcon& icon) {
    setIcon(icon);
    setIconSize(QSize(24, 24));
}

void CButtonST::SetSound(const QUrl& sound) { sound_ = sound; }

void CButtonST::SetBtnCursor(const QCursor& cursor) { setCursor(cursor); }

void CButtonST::SetTooltipText(const QString& text) {
    // Rich text wraps at the given width, as the tool tip of the buttons always did.
    setToolTip(text.isEmpty() ? QString()
                              : QStringLiteral("<div style='max-width:%1px'>%2</div>")
                                    .arg(kMaxTooltipWidth)
                                    .arg(text.toHtmlEscaped()));
}

void CButtonST::SetFlat(bool flat) {
    flat_ = flat;
    update();
}

void CButtonST::SetHovering(bool hovering) {
    if (hovering_ == hovering)
        return;
    hovering_ = hovering;
    update();
}

void CButtonST::enterEvent(QEnterEvent* event) {
    if (flat_ && isEnabled() && !hovering_) {
        SetHovering(true);
        ui::CurrentSounds().Play(sound_);
    }
    QPushButton::enterEvent(event);
}

void CButtonST::leaveEvent(QEvent* event) {
    SetHovering(false);
    QPushButton::leaveEvent(event);
}

void CButtonST::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        SetHovering(false);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        SetHovering(false);
    QPushButton::changeEvent(event);
}

void CButtonST::focusOutEvent(QFocusEvent* event) {
    SetHovering(false);
    QPushButton::focusOutEvent(event);
}

void CButtonST::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    // Flat: the border shows only while hovered or pressed.
    if (flat_ && !hovering_ && !isDown())
        option.features |= QStyleOptionButton::Flat;
    painter.drawControl(QStyle::CE_PushButton, option);
}
