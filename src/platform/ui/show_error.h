#pragma once
// A failed framework call reported to the user: the formatted text (at most 511 bytes) in a
// message box without owner, captioned "Video Converter".
namespace ui {

void ShowError(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace ui
