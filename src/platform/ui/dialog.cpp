#include "platform/ui/dialog.h"

#include "platform/core/window_message.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVariant>

namespace ui {
namespace {
const char* const kIdProperty = "controlId";
}

Dialog::Dialog(QWidget* parent) : QDialog(parent) {}

int Dialog::exec() {
    setWindowModality(Qt::WindowModal);
    return QDialog::exec();
}

QWidget* Dialog::GetDlgItem(int id) const { return controls_.value(id, nullptr); }

std::vector<QRect> Dialog::ControlRects() const {
    std::vector<QRect> rects;
    for (const QWidget* control : controls_) {
        if (control->isVisible() && !qobject_cast<const QGroupBox*>(control))
            rects.emplace_back(control->mapToGlobal(QPoint()), control->size());
    }
    return rects;
}

int Dialog::ControlId(const QWidget* control) {
    return control ? control->property(kIdProperty).toInt() : 0;
}

QString Dialog::GetDlgItemText(int id) const {
    QWidget* control = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return group->title();
    return {};
}

void Dialog::SetDlgItemText(int id, const QString& text) {
    QWidget* control = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(text);
}

void Dialog::EnableDlgItem(int id, bool enable) {
    if (QWidget* control = GetDlgItem(id))
        control->setEnabled(enable);
}

void Dialog::ShowDlgItem(int id, bool show) {
    if (QWidget* control = GetDlgItem(id))
        control->setVisible(show);
}

void Dialog::RegisterWidget(int id, QWidget* control) {
    control->setProperty(kIdProperty, id);
    controls_.insert(id, control);
    // Enter presses only the button a dialog names as its default, never whichever button
    // last had the focus.
    if (auto* push = qobject_cast<QPushButton*>(control))
        push->setAutoDefault(false);
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
}

void Dialog::OnCommand(int) {}

void Dialog::OnMessage(unsigned, std::intptr_t, std::intptr_t) {}

bool Dialog::event(QEvent* event) {
    if (event->type() == core::WindowMessageEvent::EventType()) {
        auto* message = static_cast<core::WindowMessageEvent*>(event);
        if (message->message == WM_COMMAND)
            OnCommand(static_cast<int>(message->wParam));
        else
            OnMessage(message->message, message->wParam, message->lParam);
        return true;
    }
    return QDialog::event(event);
}

} // namespace ui
