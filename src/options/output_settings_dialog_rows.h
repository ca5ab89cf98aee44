#pragma once
// What the output options dialog's opening, its lists and its OK share: the fixed rows of its
// lists and the controls each output format shows.
#include "resources/resource.h"

#include <array>

namespace options::dialog_rows {

inline constexpr int kCustomFrameRateRow = 6;
// The fixed rates of the frame-rate rows 1 to 5.
inline constexpr std::array<double, 5> kFixedFrameRates = {23.976, 24, 25, 29.97, 30};
// The audio bit-rate rows, in bit/s.
inline constexpr std::array<int, 4> kAudioBitrates = {64000, 128000, 192000, 320000};

// What each output format shows; every other control of the table is hidden.
inline constexpr int kFormatControls[] = {IDC_STATIC_VIDEO_COMPRESSOR,
                                          IDC_COMBO_VIDEO_COMPRESSOR,
                                          IDC_STATIC_AUDIO_COMPRESSOR,
                                          IDC_COMBO_AUDIO_COMPRESSOR,
                                          IDC_BUTTON_VIDEO_CODEC_SETTINGS,
                                          IDC_STATIC_OPTIONS_NOTE,
                                          IDC_STATIC_VIDEO_COMPRESSOR_BITRATE,
                                          IDC_EDIT_VIDEO_BITRATE,
                                          IDC_STATIC_VIDEO_BITRATE_UNIT,
                                          IDC_STATIC_AUDIO_COMPRESSOR_BITRATE,
                                          IDC_COMBO_AUDIO_BITRATE,
                                          IDC_STATIC_AUDIO_BITRATE_UNIT,
                                          IDC_STATIC_VIDEO_MUXER,
                                          IDC_COMBO_MUXER_SORTED};

inline constexpr const char* kDefaultMuxer = "AVI Mux";

} // namespace options::dialog_rows
