#pragma once
// A group's sources laid flat: where each plays on the timeline and what part of which file
// it plays there. Renderers walk this list instead of the timeline's object tree.
#include "platform/editing/group.h"
#include "platform/editing/timeline_basics.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace editing {

struct PlacedSource {
    TimeSpan timeline;
    TimeSpan media;
    std::string path;
    int stretchMode = 2;
};

// Every source of every track, by timeline start; empty timeline spans are left out. Where
// two overlap, the one from the earlier track comes first and wins.
std::vector<PlacedSource> PlaceSources(const Group& group);

// Neighbouring pieces of one file, each at its own speed, where the later goes on in the
// timeline and in the file where the earlier stopped, joined into one: the picture between
// synchronization points is one continuous span, so a frame that straddles a point is shown
// once where it belongs instead of being cut at the point.
std::vector<PlacedSource> JoinContinuingPieces(std::vector<PlacedSource> sources);

// The end of the last source: the length of the group's output.
REFERENCE_TIME GroupLength(const std::vector<PlacedSource>& sources);

// The source playing at time t, or null where no source covers the timeline.
const PlacedSource* SourceAt(const std::vector<PlacedSource>& sources, REFERENCE_TIME t);

// One reader per file of the sources, each opened once (pieces of one file share it, so
// reading them in order is one pass); the status of the first file that cannot be opened.
template <typename Reader>
HRESULT OpenReaders(const std::vector<PlacedSource>& sources,
                    std::map<std::string, std::unique_ptr<Reader>>& readers) {
    for (const PlacedSource& source : sources) {
        std::unique_ptr<Reader>& reader = readers[source.path];
        if (reader)
            continue;
        reader = std::make_unique<Reader>();
        const HRESULT hr = reader->Open(source.path);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

// The failure of the first reader whose file broke while it was read, or S_OK.
template <typename Reader>
HRESULT ReadersFailure(const std::map<std::string, std::unique_ptr<Reader>>& readers) {
    for (const auto& [path, reader] : readers) {
        if (FAILED(reader->Failure()))
            return reader->Failure();
    }
    return S_OK;
}

// Every reader's decoding threads run at background priority.
template <typename Reader>
void DecodeInBackground(const std::map<std::string, std::unique_ptr<Reader>>& readers) {
    for (const auto& [path, reader] : readers)
        reader->DecodeInBackground();
}

} // namespace editing
