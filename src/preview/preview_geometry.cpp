#include "preview/preview_geometry.h"

#include <algorithm>
#include <utility>

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

QPoint PlaceClearOf(const QRect& workArea, const QSize& size, const std::vector<QRect>& others,
                    const std::vector<QRect>& controls) {
    std::vector<QPoint> candidates;
    for (const QRect& other : others) {
        candidates.push_back({other.right() + 1, other.top()});
        candidates.push_back({other.left() - size.width(), other.top()});
        candidates.push_back({other.left(), other.bottom() + 1});
        candidates.push_back({other.left(), other.top() - size.height()});
    }
    candidates.push_back(workArea.topLeft());
    candidates.push_back({workArea.right() + 1 - size.width(), workArea.top()});
    candidates.push_back({workArea.left(), workArea.bottom() + 1 - size.height()});
    candidates.push_back(
        {workArea.right() + 1 - size.width(), workArea.bottom() + 1 - size.height()});
    QPoint best = workArea.topLeft();
    std::pair<long long, long long> least{-1, -1}; // controls hidden, area covered
    for (QPoint place : candidates) {
        // Kept on the work area, its top-left corner first when the window is larger.
        place.setX(
            std::max(workArea.left(), std::min(place.x(), workArea.right() + 1 - size.width())));
        place.setY(
            std::max(workArea.top(), std::min(place.y(), workArea.bottom() + 1 - size.height())));
        const QRect window(place, size);
        std::pair<long long, long long> hidden{0, 0};
        for (const QRect& control : controls)
            hidden.first += window.intersects(control);
        for (const QRect& other : others) {
            const QRect overlap = window.intersected(other);
            hidden.second += static_cast<long long>(overlap.width()) * overlap.height();
        }
        if (least.first < 0 || hidden < least) {
            best = place;
            least = hidden;
        }
        if (hidden.second == 0)
            break;
    }
    return best;
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
