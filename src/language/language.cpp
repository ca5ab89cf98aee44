#include "language/language.h"

#include "resources/strings.h"

QString CLanguage::GetString(int id) const { return resources::BuiltInString(id); }

QString CLanguage::GetDialogText(int) const { return {}; }

QString CLanguage::GetDialogTextOrString(int id) const {
    QString text = GetDialogText(id);
    return text.isEmpty() ? resources::BuiltInString(id) : text;
}

QString CLanguage::GetMenuText(int) const { return {}; }

bool CLanguage::TranslateDialog(QWidget*, int) const { return false; }

bool CLanguage::TranslateMenu(QMenu*, int, bool) const { return false; }

CLanguage& Language() {
    static CLanguage language;
    return language;
}
