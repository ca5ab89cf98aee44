#pragma once
// A clip whose sound has drifted from its picture, and the measurement of a written file:
// the picture flashes white on known frames and the sound clicks at the instants that belong
// to them, so the error at every point can be read from the file itself.
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

struct DriftingClip {
    std::string path;
    double fps = 0;
    std::vector<double> flashTimes; // video times of the white frames, in seconds
    std::vector<double> clickTimes; // where the sound clicks for each of them
};

// How a clip is stored: its file's extension and the ffmpeg arguments of its coding.
struct ClipCoding {
    std::string extension;
    std::vector<std::string> arguments;
};

// H.264 (fastest preset, a key frame a second) and AAC in a QuickTime file.
ClipCoding DefaultClipCoding(int fps);

// A clip of `seconds` at `fps` (the NTSC rates, 29.97 and the like, made exactly at
// n*1000/1001), 160×120, flashing white on the frames nearest to `flashes`
// (seconds); its sound (48 kHz stereo) clicks for flash k at offset + flashTime × (1 + drift).
// Made on first use.
DriftingClip MakeDriftingClip(double seconds, double fps, const std::vector<double>& flashes,
                              double offset, double drift);
DriftingClip MakeDriftingClip(double seconds, double fps, const std::vector<double>& flashes,
                              double offset, double drift, const ClipCoding& coding);

// Events with no partner, to mislead a search: flashes without a click and clicks without a
// flash (seconds in the picture and in the sound). They are not in the clip's lists.
struct StrayEvents {
    std::vector<double> flashes;
    std::vector<double> clicks;
};
DriftingClip MakeDriftingClip(double seconds, double fps, const std::vector<double>& flashes,
                              double offset, double drift, const StrayEvents& strays);

// What a clip is made of: black 160×120 frames flashing white on `flashFrames`, and a quiet
// 440 Hz tone (mono source, `channels` in the file) with a one-millisecond click for each
// flash at the instant `clickOf` gives its video time (none where it gives NaN), plus strays.
struct ClipRecipe {
    double seconds = 0;
    double fps = 25; // 0: frames of 1/25 and 1/30 s in turn, as a phone records (27.3 a second)
    std::vector<int> flashFrames;
    std::function<double(double)> clickOf;
    int sampleRate = 48000;
    int channels = 2;
    ClipCoding coding;
    StrayEvents strays;
};
// Made on first use; a variable rate needs a coding that keeps each frame's time.
DriftingClip MakeClip(const ClipRecipe& recipe);

// A Matroska clip of about `seconds` whose frames last 1/25 s and 1/30 s in turn, as a phone
// records (27.3 frames a second on average), flashing white on the frames numbered in
// `flashFrames`; `fps` is the average rate and the flash times are the frames' stored times.
// Its sound clicks as MakeDriftingClip's does.
DriftingClip MakeVariableRateClip(double seconds, const std::vector<int>& flashFrames,
                                  double offset, double drift);

// The presentation times (seconds after the file's start) of the white pictures of a file,
// one per flash (the first frame of each run of white frames).
std::vector<double> FlashTimes(const std::string& path);

// The onsets (seconds after the file's start) of the clicks in a file's first sound stream,
// decoded at the stream's own rate and placed by its time stamps as a player places them,
// and that rate.
std::vector<double> ClickTimes(const std::string& path, int* sampleRate = nullptr);

// The clicks of a file's sound placed to a fraction of a sample: where each first crosses
// ClickTimes' level, between the samples either side, and half a sample of the clip's own rate
// later (the click's first sample: a band-limited step crosses half its height half a sample
// before it). With `spread`, for sound whose pitch a stretch kept, spreading each click over a
// few milliseconds: where a millisecond's window holds the most of it.
std::vector<double> ClickOnsets(const std::string& path, int clipRate, bool spread);

// A file's first sound channel as a player presents it (ClickTimes reads this), and its rate.
std::vector<std::int16_t> PresentedSound(const std::string& path, int* sampleRate);
// The mean frequency of the tone in samples [from, to) of one channel, from its rising zero
// crossings placed between samples.
double ToneFrequency(const std::vector<std::int16_t>& sound, int rate, long from, long to);

// Checks a written file against the flashes it should hold (video seconds, at `fps`): every
// flash keeps its place after a common origin (a writer may start both streams a little late
// for an encoder's delay) and every click falls on its flash within `tolerance`. Failures
// name `name`. Returns the origin.
double ExpectClicksOnFlashes(const std::string& written, const std::vector<double>& flashTimes,
                             double fps, const std::string& name, double tolerance);

} // namespace testsupport
