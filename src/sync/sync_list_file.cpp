#include "sync/sync_list_file.h"

#include "platform/inifile/inifile.h"
#include "platform/inifile/parsed_file.h"
#include "sync/time_text.h"

namespace avsync {
namespace {

const char* const kFileSection = "FILENAME";
const char* const kListSection = "SYNC_LIST";
// TOTAL_SYNC_POINTS is read into a 512-byte buffer, as the list has always been.
constexpr std::size_t kCountBufferSize = 512;

std::string VideoKey(std::size_t i) { return "SYNC_VIDEO_TIME_" + std::to_string(i); }
std::string AudioKey(std::size_t i) { return "SYNC_AUDIO_TIME_" + std::to_string(i); }

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
                  const std::vector<SyncPoint>& points) {
    inifile::Document doc;
    doc.Set(kFileSection, "VIDEO_NAME", videoName);
    doc.Set(kFileSection, "TOTAL_SYNC_POINTS", std::to_string(points.size()));
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
    auto read = [&](const char* section, const std::string& key, std::size_t bufferSize) {
        return file->GetString(section, key, "0", bufferSize);
    };
    result.declaredCount = TextToInteger(read(kFileSection, "TOTAL_SYNC_POINTS", kCountBufferSize));
    if (result.declaredCount < 0 || result.declaredCount > kMaxSyncPoints) {
        result.status = LoadedSyncList::Status::CountOutOfRange;
        return result;
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(result.declaredCount); ++i) {
        result.points.push_back(
            {TextToTime(read(kListSection, VideoKey(i), inifile::kReadBufferSize)),
             TextToTime(read(kListSection, AudioKey(i), inifile::kReadBufferSize))});
    }
    return result;
}

} // namespace avsync
