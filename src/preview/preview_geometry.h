#pragma once
// Where a preview window goes, and where its picture goes in full screen.
#include <QRect>
#include <QSize>

#include <vector>

namespace preview {

// The window fills the height between the top of the work area (plus 5) and the top of the
// main window, starting 100 pixels in from the work area's left edge; its right edge lies at
// four thirds of that height from the work area's left. A main window too high up to leave
// room still gets a window of the smallest usable size.
QRect PreviewWindowRect(const QRect& workArea, const QRect& mainWindow);

// Where a window of `size` (its frame) goes in the work area so that it hides none of
// `others`: beside one of them (right, left, below, above) or in a corner, the first such
// place that covers none; when none is free, the one that hides fewest of `controls` (any
// part of one hides it), and of those the one that covers least of `others`.
QPoint PlaceClearOf(const QRect& workArea, const QSize& size, const std::vector<QRect>& others,
                    const std::vector<QRect>& controls = {});

// The picture's place on a screen of the given size: ten times the picture's own size,
// centred when that fits, otherwise scaled to the full width or height with its aspect kept.
QRect FullScreenPictureRect(const QSize& screen, const QSize& picture);

} // namespace preview
