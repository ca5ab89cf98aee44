// Translation of dialogs and menus from the loaded language's texts.
#include "language/language.h"

#include "platform/ui/dialog.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

constexpr int kFirstDialogTextId = 100; // smaller numbers are string numbers
constexpr int kControlIdLimit = 32768;  // numbers from here on are negative as 16-bit values
constexpr int kPopupNumbersPerMenu = 65536;

// Edit boxes, lists and spin boxes hold the user's data, never template texts.
bool KeepsItsTexts(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QAbstractItemView*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget);
}

// Controls of other kinds (sliders, pictures) show no text; they only take the font.
void SetControlText(QWidget* control, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(text);
}

// A Qt font passes on to child widgets; the children keep the font they have, as controls
// that are not translated keep their template font.
void KeepChildFonts(QWidget* control) {
    for (QWidget* child : control->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QFont font = child->font();
        font.setResolveMask(QFont::AllPropertiesResolved);
        child->setFont(font);
    }
}

} // namespace

bool CLanguage::TranslateDialog(QWidget* dialog, int dialogNumber) const {
    if (languageNames.isEmpty())
        return false;
    // The caption only: a Qt window's font would pass on to every control, also to those
    // that keep their template texts and fonts.
    const QString caption = GetDialogText(dialogNumber);
    if (!caption.isEmpty())
        dialog->setWindowTitle(caption);
    TranslateChildren(dialog);
    return true;
}

void CLanguage::TranslateChildren(QWidget* parent) const {
    // Children in creation order; controls inside frames are reached through their frame.
    for (QObject* object : parent->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isWindow() || KeepsItsTexts(child))
            continue;
        TranslateControl(child);
        if (!qobject_cast<QComboBox*>(child))
            TranslateChildren(child);
    }
}

void CLanguage::TranslateControl(QWidget* control) const {
    const int id = ui::Dialog::ControlId(control);
    if (id <= 0 || id >= kControlIdLimit)
        return;
    const QString text = id >= kFirstDialogTextId ? GetDialogText(id) : GetString(id);
    if (text.isEmpty())
        return;
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        combo->clear();
        combo->addItems(text.split(u'\n'));
        return;
    }
    SetControlText(control, text);
    if (dialogFont) {
        KeepChildFonts(control);
        control->setFont(*dialogFont);
    }
}

bool CLanguage::TranslateMenu(QMenu* menu, int menuNumber, bool topLevel) {
    if (languageNames.isEmpty())
        return false;
    if (topLevel)
        nestedPopupCounter_ = menuNumber * kPopupNumbersPerMenu;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        if (QMenu* submenu = action->menu()) {
            if (!topLevel) {
                const QString text = GetMenuText(nestedPopupCounter_++);
                if (!text.isEmpty())
                    action->setText(text);
            }
            TranslateMenu(submenu, menuNumber, false);
            continue;
        }
        const QString text = topLevel ? QString() : GetMenuText(action->data().toInt());
        if (!text.isEmpty()) {
            action->setText(text);
            action->setEnabled(true);
            action->setChecked(false);
        }
    }
    return true;
}
