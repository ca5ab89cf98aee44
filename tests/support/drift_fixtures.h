#pragma once
// A clip whose sound has drifted from its picture, and the measurement of a written file:
// the picture flashes white on known frames and the sound clicks at the instants that belong
// to them, so the error at every point can be read from the file itself.
#include <string>
#include <vector>

namespace testsupport {

struct DriftingClip {
    std::string path;
    double fps = 0;
    std::vector<double> flashTimes; // video times of the white frames, in seconds
    std::vector<double> clickTimes; // where the sound clicks for each of them
};

// A Matroska clip of `seconds` at `fps`, 160×120 H.264, flashing white on the frames nearest
// to `flashes` (seconds); its uncompressed sound (48 kHz stereo, so every click keeps a sharp
// edge) clicks for flash k at offset + flashTime × (1 + drift). Made on first use.
DriftingClip MakeDriftingClip(double seconds, int fps, const std::vector<double>& flashes,
                              double offset, double drift);

// The presentation times (seconds after the file's start) of the white pictures of a file,
// one per flash (the first frame of each run of white frames).
std::vector<double> FlashTimes(const std::string& path);

// The onsets (seconds after the file's start) of the clicks in a file's first sound stream,
// decoded at the stream's own rate and placed by its time stamps as a player places them,
// and that rate.
std::vector<double> ClickTimes(const std::string& path, int* sampleRate = nullptr);

} // namespace testsupport
