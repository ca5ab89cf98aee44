#include "platform/ui/show_error.h"

#include "platform/ui/prompts.h"

#include <cstdarg>
#include <cstdio>

namespace ui {

void ShowError(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    ui::MessageBox(nullptr, QString::fromLocal8Bit(text), "Video Converter");
}

} // namespace ui
