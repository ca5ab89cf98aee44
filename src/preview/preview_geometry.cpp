#include "preview/preview_geometry.h"

#include <algorithm>

namespace preview {

namespace {
constexpr int kSmallestSide = 64;
}

QRect PreviewWindowRect(const QRect& workArea, const QRect& mainWindow) {
    const int left = workArea.left() + 100;
    const int top = workArea.top() + 5;
    const int bottom = mainWindow.top();
    const int right = workArea.left() + (4 * (mainWindow.top() - top)) / 3;
    return QRect(left, top, std::max(right - left, kSmallestSide),
                 std::max(bottom - top, kSmallestSide));
}

QRect FullScreenPictureRect(const QSize& screen, const QSize& picture) {
    const int cx = screen.width();
    const int cy = screen.height();
    const int w10 = 10 * picture.width();
    const int h10 = 10 * picture.height();
    const float aspect = static_cast<float>(w10) / static_cast<float>(h10);
    auto fullWidth = [&] {
        const int h = static_cast<int>(cx / aspect);
        const int top = (cy - h) / 2;
        return QRect(0, top, cx, cy - 2 * top);
    };
    auto fullHeight = [&] {
        const int w = static_cast<int>(cy * aspect);
        const int left = (cx - w) / 2;
        return QRect(left, 0, cx - 2 * left, cy);
    };
    if (w10 <= cx && h10 <= cy)
        return QRect((cx - w10) / 2, (cy - h10) / 2, w10, h10);
    if (w10 > cx && h10 <= cy)
        return fullWidth();
    if (w10 <= cx && h10 > cy)
        return fullHeight();
    return static_cast<float>(cy) / h10 > static_cast<float>(cx) / w10 ? fullWidth() : fullHeight();
}

} // namespace preview
