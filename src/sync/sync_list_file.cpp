#include "sync/sync_list_file.h"

#include "platform/inifile/inifile.h"
#include "platform/inifile/parsed_file.h"
#include "sync/time_text.h"

#include <algorithm>

namespace avsync {
namespace {

const char* const kFileSection = "FILENAME";
const char* const kCountKey = "TOTAL_SYNC_POINTS";
const char* const kVideoFileKey = "VIDEO_FILE";
const char* const kSoundFileKey = "SOUND_FILE";
const char* const kListSection = "SYNC_LIST";
// TOTAL_SYNC_POINTS is read into a 512-place buffer, as the list has always been.
constexpr std::size_t kCountBufferSize = 512;

std::string VideoKey(std::size_t i) { return "SYNC_VIDEO_TIME_" + std::to_string(i); }
std::string AudioKey(std::size_t i) { return "SYNC_AUDIO_TIME_" + std::to_string(i); }

// The time of a point's key. A missing time, or one that is no number at all, reads as 0; one
// that no time can hold is noted in the result and refuses the list, rather than be taken for
// the nearest time there is.
std::optional<REFERENCE_TIME> ReadTime(const inifile::ParsedFile& file, const std::string& key,
                                       LoadedSyncList& result) {
    const std::string text = file.GetString(kListSection, key, "0", inifile::kReadBufferSize);
    const std::optional<REFERENCE_TIME> time = TextToTimeInRange(text);
    if (!time) {
        result.status = LoadedSyncList::Status::TimeOutOfRange;
        result.badKey = key;
        result.badText = text;
    }
    return time;
}

// Digits with at most a sign before them, and nothing else: the count as lists write it.
bool IsWholeNumber(const std::string& text) {
    const std::size_t digits = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    return text.size() > digits && std::all_of(text.begin() + digits, text.end(),
                                               [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string SyncListFileName(const std::string& chosenPath) {
    std::size_t nameStart = FolderOf(chosenPath).size();
    std::size_t dot = chosenPath.find_last_of('.');
    std::string stem = (dot != std::string::npos && dot >= nameStart) ? chosenPath.substr(0, dot)
                                                                       : chosenPath;
    return stem + ".ini";
}

bool SaveSyncList(const std::string& path, const std::string& videoName,
                  const std::vector<SyncPoint>& points, const SyncListSources& sources) {
    inifile::Document doc;
    doc.Set(kFileSection, "VIDEO_NAME", videoName);
    doc.Set(kFileSection, kCountKey, std::to_string(points.size()));
    if (!sources.video.empty())
        doc.Set(kFileSection, kVideoFileKey, sources.video);
    if (!sources.sound.empty())
        doc.Set(kFileSection, kSoundFileKey, sources.sound);
    for (std::size_t i = 0; i < points.size(); ++i) {
        doc.Set(kListSection, VideoKey(i), TimeToText(points[i].videoTime));
        doc.Set(kListSection, AudioKey(i), TimeToText(points[i].audioTime));
    }
    return doc.SaveReplacing(path);
}

LoadedSyncList LoadSyncList(const std::string& path) {
    LoadedSyncList result;
    // Read once: the keys of a large list are many, and each would otherwise search it all.
    const std::optional<inifile::ParsedFile> file = inifile::ParsedFile::Load(path);
    if (!file) {
        result.status = LoadedSyncList::Status::Unreadable;
        return result;
    }
    const std::string count = file->GetString(kFileSection, kCountKey, "", kCountBufferSize);
    if (!IsWholeNumber(count)) {
        result.status = LoadedSyncList::Status::NotASyncList;
        return result;
    }
    result.declaredCount = TextToInteger(count);
    if (result.declaredCount < 0 || result.declaredCount > kMaxSyncPoints) {
        result.status = LoadedSyncList::Status::CountOutOfRange;
        return result;
    }
    std::vector<SyncPoint> points;
    for (std::size_t i = 0; i < static_cast<std::size_t>(result.declaredCount); ++i) {
        const std::optional<REFERENCE_TIME> video = ReadTime(*file, VideoKey(i), result);
        if (!video)
            return result;
        const std::optional<REFERENCE_TIME> audio = ReadTime(*file, AudioKey(i), result);
        if (!audio)
            return result;
        points.push_back({*video, *audio});
    }
    result.points = std::move(points);
    result.sources = {file->GetString(kFileSection, kVideoFileKey, "", inifile::kReadBufferSize),
                      file->GetString(kFileSection, kSoundFileKey, "", inifile::kReadBufferSize)};
    return result;
}

} // namespace avsync
