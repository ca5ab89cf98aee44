#pragma once
// The dialog font each language keeps for itself, stored field by field as a logical-font
// record under a settings section named after the language.
#include <QFont>
#include <QString>

#include <cstdint>
#include <string>

class QWidget;
namespace settings {
class Store;
}

struct LogFont {
    std::int32_t lfHeight = -11; // negative: character height without internal leading, pixels
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 400;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 1;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0; // never stored
    std::uint8_t lfPitchAndFamily = 0;
    QString lfFaceName = QStringLiteral("Microsoft Sans Serif"); // at most 31 characters
};

constexpr int kMaxFaceNameLength = 31;

// The thirteen values stored for a language, each with its default when missing.
LogFont ReadLogFont(const settings::Store& store, const QString& language);
void WriteLogFont(settings::Store& store, const QString& language, const LogFont& font);

QFont FontFromLogFont(const LogFont& record);
LogFont LogFontFromFont(const QFont& font);

// The "Font" command: the font dialog starts from the current dialog font (or the defaults);
// a confirmed choice becomes the dialog font, is stored for the current language, and the
// main window is translated again so it takes the font at once.
void OnFontCommand(QWidget* mainWindow);
