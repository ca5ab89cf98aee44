#pragma once
// What is left of the slideshow design: the photo list and the music list, whose first
// entries carry the opened video into the composition, and the default-transition settings.
#include "platform/core/reftime.h"

#include <string>
#include <vector>

namespace settings {
class Store;
}

namespace slideshow {

constexpr int kTransitionKindCount = 47;
constexpr std::size_t kMaxPathBytes = 260;

struct PhotoEntry {
    std::string path;
    REFERENCE_TIME duration = 0;
    int transitionType = 0;
    REFERENCE_TIME transitionDuration = 0;
};

struct MusicEntry {
    std::string path;
    REFERENCE_TIME duration = 0;
};

// A list with a fixed capacity: Append refuses entries beyond it.
template <typename Entry, std::size_t Capacity> class BoundedList {
  public:
    static constexpr std::size_t kCapacity = Capacity;
    bool Append(Entry entry) {
        if (entries_.size() >= Capacity)
            return false;
        entries_.push_back(std::move(entry));
        return true;
    }
    void Clear() { entries_.clear(); }
    std::size_t Count() const { return entries_.size(); }
    Entry& operator[](std::size_t i) { return entries_[i]; }
    const Entry& operator[](std::size_t i) const { return entries_[i]; }

  private:
    std::vector<Entry> entries_;
};

using PhotoList = BoundedList<PhotoEntry, 1000>;
using MusicList = BoundedList<MusicEntry, 100>;

struct TransitionDefaults {
    int defaultPhotoDuration = 8;      // seconds; read but unused
    int defaultTransitionDuration = 0; // seconds
    int transitionMode = 0;            // 0 random, 1 sequence, 2 the same kind every time
    int sameTransitionKind = 0;
};

// The "TransitionSettings" values, with their defaults.
TransitionDefaults ReadTransitionDefaults(const settings::Store& store);

// The transition kind an opened video's entry `index` gets: random, in sequence, always the
// same kind, or `current` for an unknown mode.
int TransitionKindFor(const TransitionDefaults& defaults, int index, int current);

// The name of transition kind 0..46, or an empty text.
const char* TransitionName(int kind);

} // namespace slideshow
