// The synchronization-list loader on any file: its answer agrees with itself, and a list it
// loads is saved and loads again with the very same points.
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"

#include "sync/sync_list_file.h"

#include <string>

namespace fuzz {

int FuzzSyncList(const std::uint8_t* data, std::size_t size) {
    using Status = avsync::LoadedSyncList::Status;
    const std::string path =
        WriteInputFile("list.ini", std::string_view(reinterpret_cast<const char*>(data), size));
    const avsync::LoadedSyncList list = avsync::LoadSyncList(path);
    switch (list.status) {
    case Status::Loaded:
        FUZZ_CHECK(list.declaredCount >= 0 && list.declaredCount <= avsync::kMaxSyncPoints);
        FUZZ_CHECK(list.points.size() == static_cast<std::size_t>(list.declaredCount));
        break;
    case Status::Unreadable: // the file was just written
        FUZZ_CHECK(false);
        break;
    case Status::NotASyncList:
        FUZZ_CHECK(list.points.empty());
        break;
    case Status::CountOutOfRange:
        FUZZ_CHECK(list.declaredCount < 0 || list.declaredCount > avsync::kMaxSyncPoints);
        FUZZ_CHECK(list.points.empty());
        break;
    case Status::TimeOutOfRange:
        FUZZ_CHECK(!list.badKey.empty() && list.points.empty());
        break;
    }
    if (list.status != Status::Loaded)
        return 0;

    const std::string savedPath = TemporaryFolder() + "/saved.ini";
    FUZZ_CHECK(avsync::SaveSyncList(savedPath, "fuzz.avi", list.points));
    const avsync::LoadedSyncList saved = avsync::LoadSyncList(savedPath);
    FUZZ_CHECK(saved.status == Status::Loaded);
    FUZZ_CHECK(saved.points == list.points);
    return 0;
}

} // namespace fuzz
