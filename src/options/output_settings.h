#pragma once
// The output and playback settings the main window holds in memory, read once at start-up.
#include <QString>

#include <cstdint>

namespace settings {
class Store;
}

struct OutputSettings {
    int outputFormat = 1; // 0 AVI, 1 WMV, 2 custom muxer
    QString outputFileName;
    int outputWidth = 0;
    int outputHeight = 0;
    int frameRateIndex = 0; // a first conversion keeps the video's own rate
    double outputFrameRate = 23.976;
    double sourceFrameRate = 23.976;
    int stretchMode = 2; // 2 preserve aspect ratio, 0 stretch
    std::int32_t videoBitrate = 798720;
    std::int32_t audioBitrate = 128000;
    int useFileProfile = 0;
    int useVideoCompressor = 0;
    int copySourcePicture = 0; // 1: the picture's packets are copied, not coded again
    int useAudioCompressor = 0;
    int keepPitch = 0; // 1: sound played faster or slower keeps its pitch
};

// The frame rate that goes with a stored "OutputFrameRateIndex"; an unknown index becomes 1.
// Nothing stored is row 0, the source's own rate: any fixed rate would drop or repeat frames
// of a video at another rate without a word.
// Index 6 takes the custom rate text.
void ApplyFrameRateIndex(int storedIndex, const QString& customRate, int& index, double& rate);

// Where output goes when nothing was chosen: the user's Videos folder, then "/output.wmv".
// When the folder cannot be had, the reason comes back in failureMessage and the home
// folder stands in.
QString DefaultOutputName(QString& failureMessage);

// The file extensions of the custom muxer the settings chose ("CurrentMuxerCLSID"), or empty
// when it is none that is installed.
QString StoredMuxerExtensions(const settings::Store& store);

// "Option", "Settings" values of the table above, with their defaults.
void ReadFrameRateAndBitrates(const settings::Store& store, OutputSettings& out);

// Where the kept pitch is stored ("Settings"); off when nothing is stored.
inline constexpr char kKeepPitchValue[] = "b_keep_pitch";
