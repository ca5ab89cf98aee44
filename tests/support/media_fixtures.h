#pragma once
// Short clips made with the ffmpeg command, with content the tests can recognise: every
// picture shows its own frame number as eight black/white stripes (lowest bit on the left),
// and the sound is a quiet tone with loud one-millisecond clicks at known times.
#include <QImage>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

constexpr int kClipWidth = 160;
constexpr int kClipHeight = 120;
constexpr int kClipFps = 25;
constexpr int kClipSeconds = 4;
constexpr int kClipSampleRate = 48000;
// Click times in seconds.
constexpr double kClickTimes[] = {1.0, 2.5};

enum class ClipKind {
    H264Aac,       // MP4
    Mpeg4Mp3,      // AVI
    Wmv2Wma2,      // ASF
    Vp9Opus,       // WebM
    PictureOnly,   // MP4, H.264
    SoundOnly,     // M4A, AAC
    WithSubtitles, // Matroska: H.264, AAC, SubRip
    H264Pcm,       // Matroska: H.264 and uncompressed sound, whose clicks keep sharp edges
};

// Makes the clip on first use in the test program and returns its path.
std::string Clip(ClipKind kind);
// An H.264 MP4 of a test pattern with the given size, rate and length, with an AAC tone when
// `sound` is set; made on first use.
std::string PlainClip(int width, int height, int fps, double seconds, bool sound = true);
// A Matroska clip (H.264, uncompressed stereo sound) of `seconds` whose sound is a quiet tone
// with a one-millisecond click at every whole second plus a half: a steady beat to measure
// the pace of played sound by. Made on first use.
std::string MetronomeClip(int seconds);
// The sound of MetronomeClip(seconds) alone, as a WAV file: a separate recording that
// coincides with the clip exactly. Made on first use.
std::string MetronomeSound(int seconds);
// A WAV file of a sine tone of `frequency` Hz at kClipSampleRate, stereo; made on first use.
std::string ToneFile(double frequency, double seconds);
// A WAV file of a sentence spoken by espeak-ng (its own rate, mono); made on first use.
std::string SpeechFile();

// An MP4 cut in half: its index (written last) is gone.
std::string TruncatedClip();
// The MPEG-4/MP3 AVI with every picture after the tenth replaced by noise: it opens, its
// sound plays, its picture cannot be decoded.
std::string DamagedPictureClip();
// A text file with a video file's name.
std::string NonMediaFile();
// Two MPEG transport stream recordings of kClipSeconds / 2 each (H.264, AAC) joined end to
// end, as a recorder writes them when it restarts: the first has stereo sound, the second
// mono, so the sound changes its channels halfway.
std::string JoinedRecording();

// A stream's timing as the ffprobe command reads it from the packets, in seconds: its first
// time stamp after the file's start, and from there to the end of its last packet.
struct StreamTiming {
    double start = 0;
    double length = 0;
    std::vector<double> times; // every packet's time stamp after the file's start, in order
};
StreamTiming ProbeStream(const std::string& path, char type /* 'v' or 'a' */);

// The frame number a picture shows, or -1 when it shows none.
int FrameNumberOf(const QImage& image);

// The file's first sound stream as interleaved 16-bit stereo at kClipSampleRate, decoded by
// the ffmpeg command (a reference independent of the graph).
std::vector<std::int16_t> DecodeSound(const std::string& path);
// Where DecodeSound's first sample lies after the file's start, in seconds, as ffprobe labels
// the first decoded frame (codecs hold back or skip their first samples).
double FirstSoundTime(const std::string& path);

// Index of the loudest sample frame of the first click at or after `from` (the first frame
// whose level passes `threshold`, and the millisecond after it), or -1.
long FindClick(const std::vector<std::int16_t>& stereo, long from, int threshold = 20000);

} // namespace testsupport
