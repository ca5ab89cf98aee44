#pragma once
// The synchronization-list file: an INI file holding the output file name (for the user's
// reference) and the points.
//
//   [FILENAME]
//   VIDEO_NAME=<output file path>
//   TOTAL_SYNC_POINTS=<n>
//   VIDEO_FILE=<the video the points were made on>
//   SOUND_FILE=<the sound played against it: the video's own, or a separate recording>
//   [SYNC_LIST]
//   SYNC_VIDEO_TIME_0=<seconds, seven decimals>
//   SYNC_AUDIO_TIME_0=<seconds, seven decimals>
//   ...
#include "sync/sync_state.h"

#include <string>
#include <vector>

namespace avsync {

// The name every saved list gets: the chosen name without its extension, plus ".ini".
std::string SyncListFileName(const std::string& chosenPath);
// Everything of the path up to and including its last separator; empty without one.
std::string FolderOf(const std::string& path);

// The files the points were made with. Readers that do not know their keys pass them by.
struct SyncListSources {
    std::string video;
    std::string sound;
};

// Writes the whole list to a new file beside the target and moves it into place only when
// every key was written, so a failed save never costs the old file. False on failure. Empty
// sources are not written.
bool SaveSyncList(const std::string& path, const std::string& videoName,
                  const std::vector<SyncPoint>& points, const SyncListSources& sources = {});

struct LoadedSyncList {
    enum class Status {
        Loaded,
        Unreadable,
        NotASyncList,    // no [FILENAME] section with a whole-number TOTAL_SYNC_POINTS
        CountOutOfRange, // see declaredCount
        TimeOutOfRange,  // see badKey and badText
    };
    Status status = Status::Loaded;
    long long declaredCount = 0; // TOTAL_SYNC_POINTS as read
    std::string badKey;          // the first time that is not finite or beyond the range
    std::string badText;         // and its text
    std::vector<SyncPoint> points; // empty unless loaded
    SyncListSources sources;       // empty where the list does not say (an older list)
};

// Reads the list in file order; a missing time, or one that is no number at all, reads as 0.
// A file that is no list, a count outside 0..kMaxSyncPoints and a time that is not finite or
// lies beyond the range of times are refused rather than guessed at.
LoadedSyncList LoadSyncList(const std::string& path);

} // namespace avsync
