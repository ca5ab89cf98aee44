#pragma once
// The sync view canvas's geometry and colours, shared by its drawing and its handling of the
// mouse: which rows the ruler and the lanes take, and how close the zoom may come.
#include "platform/core/reftime.h"

#include <QColor>

#include <cmath>

namespace syncview::layout {

constexpr int kRulerHeight = 22;
constexpr int kThumbnailHeight = 48;
constexpr int kPictureLaneHeight = kThumbnailHeight + 18;
constexpr int kSoundTop = kRulerHeight + kPictureLaneHeight + 4;
constexpr int kSoundLaneHeight = 120;
constexpr int kMinimumHeight = kSoundTop + kSoundLaneHeight + 4;
// A thumbnail's width when the frames are narrower than their pictures.
constexpr int kSlotWidth = kThumbnailHeight * 16 / 9;
// At the finest zoom a sample takes this many pixels.
constexpr double kPixelsPerSampleAtFinest = 8;

inline const QColor kPositionColour{220, 40, 40};
inline const QColor kPointColour{40, 110, 230};
inline const QColor kTimesColour{30, 150, 60};
inline const QColor kEventColour{240, 150, 0};
inline const QColor kWaveColour{60, 60, 60};

inline double Seconds(REFERENCE_TIME t) {
    return double(t) / UNITS;
}
inline REFERENCE_TIME Time(double seconds) {
    return std::llround(seconds * UNITS);
}

} // namespace syncview::layout
