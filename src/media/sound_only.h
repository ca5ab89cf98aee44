#pragma once
// Telling a sound file from a video by what it holds, not by its name: a recorder's file
// named .mp4 is sound, a video named .mp3 is not.
#include <string>

namespace media {

// Whether the file holds a sound stream and no picture that moves (a cover picture of a
// song does not count). False for a file that cannot be opened. Nothing is shown.
bool HoldsSoundOnly(const std::string& path);

} // namespace media
