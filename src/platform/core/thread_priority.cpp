#include "platform/core/thread_priority.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace core {

namespace {
constexpr int kBackgroundNice = 10;
constexpr int kLowestNice = 19;
} // namespace

std::vector<int> ThreadIds() {
    std::vector<int> ids;
    std::error_code failure;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task", failure)) {
        const std::string name = entry.path().filename().string();
        if (!name.empty() &&
            std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
            ids.push_back(std::stoi(name));
    }
    return ids;
}

std::string ThreadName(int threadId) {
    const std::string id = threadId == 0 ? "thread-self" : "self/task/" + std::to_string(threadId);
    std::ifstream file("/proc/" + id + "/comm");
    std::string name;
    std::getline(file, name);
    return name;
}

bool RunInBackground(int threadId) {
    errno = 0;
    const int base = getpriority(PRIO_PROCESS, static_cast<id_t>(getpid()));
    if (base == -1 && errno != 0)
        return false;
    return setpriority(PRIO_PROCESS, static_cast<id_t>(threadId),
                       std::min(kLowestNice, base + kBackgroundNice)) == 0;
}

} // namespace core
