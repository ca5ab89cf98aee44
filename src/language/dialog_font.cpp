#include "language/dialog_font.h"

#include "language/language.h"
#include "platform/settings/store.h"
#include "platform/ui/prompts.h"
#include "resources/resource.h"

namespace {

std::uint8_t ReadByte(const settings::Store& store, const QString& section, const char* value,
                      int defaultValue) {
    return static_cast<std::uint8_t>(store.GetProfileInt(section, value, defaultValue));
}

} // namespace

LogFont ReadLogFont(const settings::Store& store, const QString& language) {
    LogFont f;
    f.lfHeight = store.GetProfileInt(language, "lfHeight", -11);
    f.lfWidth = store.GetProfileInt(language, "lfWidth", 0);
    f.lfEscapement = store.GetProfileInt(language, "lfEscapement", 0);
    f.lfOrientation = store.GetProfileInt(language, "lfOrientation", 0);
    f.lfWeight = store.GetProfileInt(language, "lfWeight", 400);
    f.lfItalic = ReadByte(store, language, "lfItalic", 0);
    f.lfUnderline = ReadByte(store, language, "lfUnderline", 0);
    f.lfStrikeOut = ReadByte(store, language, "lfStrikeOut", 0);
    f.lfCharSet = ReadByte(store, language, "lfCharSet", 1);
    f.lfOutPrecision = ReadByte(store, language, "lfOutPrecision", 0);
    f.lfClipPrecision = ReadByte(store, language, "lfClipPrecision", 0);
    f.lfPitchAndFamily = ReadByte(store, language, "lfPitchAndFamily", 0);
    // A longer stored name is cut to what the record holds.
    f.lfFaceName =
        store.GetProfileString(language, "lfFaceName", f.lfFaceName).left(kMaxFaceNameLength);
    return f;
}

void WriteLogFont(settings::Store& store, const QString& language, const LogFont& f) {
    store.WriteProfileInt(language, "lfHeight", f.lfHeight);
    store.WriteProfileInt(language, "lfWidth", f.lfWidth);
    store.WriteProfileInt(language, "lfEscapement", f.lfEscapement);
    store.WriteProfileInt(language, "lfOrientation", f.lfOrientation);
    store.WriteProfileInt(language, "lfWeight", f.lfWeight);
    store.WriteProfileInt(language, "lfItalic", f.lfItalic);
    store.WriteProfileInt(language, "lfUnderline", f.lfUnderline);
    store.WriteProfileInt(language, "lfStrikeOut", f.lfStrikeOut);
    store.WriteProfileInt(language, "lfCharSet", f.lfCharSet);
    store.WriteProfileInt(language, "lfOutPrecision", f.lfOutPrecision);
    store.WriteProfileInt(language, "lfClipPrecision", f.lfClipPrecision);
    store.WriteProfileInt(language, "lfPitchAndFamily", f.lfPitchAndFamily);
    store.WriteProfileString(language, "lfFaceName", f.lfFaceName.left(kMaxFaceNameLength));
}

QFont FontFromLogFont(const LogFont& f) {
    QFont font(f.lfFaceName);
    // Both signs give a height in pixels: without (negative) or with (positive) the leading.
    font.setPixelSize(std::max(1, f.lfHeight < 0 ? -f.lfHeight : f.lfHeight));
    font.setWeight(
        static_cast<QFont::Weight>(std::clamp(f.lfWeight == 0 ? 400 : f.lfWeight, 1, 1000)));
    font.setItalic(f.lfItalic != 0);
    font.setUnderline(f.lfUnderline != 0);
    font.setStrikeOut(f.lfStrikeOut != 0);
    return font;
}

LogFont LogFontFromFont(const QFont& font) {
    LogFont f;
    const int pixels = font.pixelSize() > 0 ? font.pixelSize()
                                            : static_cast<int>(font.pointSizeF() * 96 / 72 + 0.5);
    f.lfHeight = -pixels;
    f.lfWeight = font.weight();
    f.lfItalic = font.italic() ? 1 : 0;
    f.lfUnderline = font.underline() ? 1 : 0;
    f.lfStrikeOut = font.strikeOut() ? 1 : 0;
    f.lfFaceName = font.family().left(kMaxFaceNameLength);
    return f;
}

// A QFont is a value that every control copies, so replacing dialogFont never leaves a control
// with a destroyed font, and making one from any record succeeds.
bool CLanguage::LoadFont() {
    dialogFont = FontFromLogFont(ReadLogFont(settings::Profile(), currentLanguage));
    return true;
}

bool CLanguage::SaveFont(const QFont& font) {
    WriteLogFont(settings::Profile(), currentLanguage, LogFontFromFont(font));
    return true;
}

void OnFontCommand(QWidget* mainWindow) {
    CLanguage& language = Language();
    const QFont start = language.dialogFont ? *language.dialogFont : FontFromLogFont(LogFont{});
    const std::optional<QFont> chosen = ui::CurrentPrompts().ChooseFont(nullptr, start);
    if (!chosen)
        return;
    language.dialogFont = *chosen;
    language.SaveFont(*chosen);
    language.TranslateDialog(mainWindow, IDD_PROGRAM_CAPTION);
}
