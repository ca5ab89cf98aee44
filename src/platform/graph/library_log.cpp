#include "platform/graph/library_log.h"

extern "C" {
#include <libavutil/log.h>
}

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace graph {

void Capture(const std::string& line);

namespace {

std::atomic<bool> shown{false};
thread_local LibraryLogCapture* innermost = nullptr;
// A capture keeps no more text than this: a muxer can repeat an error for every packet.
constexpr std::size_t kMostCapturedBytes = 1000;

void Log(void* object, int level, const char* format, va_list arguments) {
    if (level <= AV_LOG_ERROR && innermost) {
        va_list copy;
        va_copy(copy, arguments);
        char text[512];
        std::vsnprintf(text, sizeof text, format, copy);
        va_end(copy);
        std::string line = text;
        while (!line.empty() && (line.back() == '\n' || line.back() == ' '))
            line.pop_back();
        const AVClass* kind = object ? *static_cast<AVClass**>(object) : nullptr;
        if (kind && kind->item_name && !line.empty())
            line = std::string(kind->item_name(object)) + ": " + line;
        if (!line.empty())
            Capture(line);
    }
    if (shown)
        av_log_default_callback(object, level, format, arguments);
}

void InstallOnce() {
    static std::once_flag installed;
    std::call_once(installed, [] { av_log_set_callback(Log); });
}

} // namespace

void Capture(const std::string& line) {
    std::string& text = innermost->text_;
    if (text.size() + line.size() > kMostCapturedBytes)
        return;
    if (!text.empty())
        text += '\n';
    text += line;
}

void ShowLibraryLog(bool show) {
    shown = show;
    InstallOnce();
}

LibraryLogCapture::LibraryLogCapture() : outer_(innermost) {
    InstallOnce();
    innermost = this;
}

LibraryLogCapture::~LibraryLogCapture() {
    innermost = outer_;
}

const LibraryLogCapture* LibraryLogCapture::Innermost() {
    return innermost;
}

} // namespace graph
