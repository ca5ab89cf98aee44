#pragma once
// Groups laid out as the composition lays them out, and the sound pulled from a group's
// stream, for the render engine's tests.
#include "platform/editing/group.h"
#include "platform/editing/group_stream.h"
#include "platform/editing/source.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace editingtest {

using namespace editing;

constexpr REFERENCE_TIME S = UNITS;
constexpr REFERENCE_TIME Ms(double ms) { return static_cast<REFERENCE_TIME>(ms * 10'000); }

struct Piece {
    TimeSpan timeline;
    TimeSpan media;
};

// Drifting sound: the picture is cut at 1.2 s and 2.9 s and keeps its rate; the sound's
// clicks (1.0 s and 2.5 s in the file) belong at those picture times.
inline const std::vector<Piece> kPicture = {{{0, Ms(1200)}, {0, Ms(1200)}},
                                            {{Ms(1200), Ms(2900)}, {Ms(1200), Ms(2900)}},
                                            {{Ms(2900), 4 * S}, {Ms(2900), 4 * S}}};
inline const std::vector<Piece> kSound = {{{0, Ms(1200)}, {0, Ms(1000)}},
                                          {{Ms(1200), Ms(2900)}, {Ms(1000), Ms(2500)}},
                                          {{Ms(2900), 4 * S}, {Ms(2500), Ms(3900)}}};

inline AM_MEDIA_TYPE VideoType(int width, int height) {
    AM_MEDIA_TYPE type;
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_RGB24;
    type.formattype = FORMAT_VideoInfo;
    VIDEOINFOHEADER info{};
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biBitCount = 24;
    type.format = info;
    return type;
}

inline AM_MEDIA_TYPE AudioType() {
    AM_MEDIA_TYPE type;
    type.majortype = MEDIATYPE_Audio;
    return type;
}

// A group with one track per piece of the file, as the composition lays them out.
inline std::unique_ptr<Group> MakeGroup(const AM_MEDIA_TYPE& type, double fps, const std::string& path,
                                 const std::vector<Piece>& pieces, int stretchMode = 2,
                                 bool keepPitch = false) {
    auto group = std::make_unique<Group>();
    group->SetKeepPitch(keepPitch);
    EXPECT_EQ(group->SetMediaType(type), S_OK);
    if (type.majortype == MEDIATYPE_Video) {
        EXPECT_EQ(group->SetOutputFPS(fps), S_OK);
    }
    for (const Piece& piece : pieces) {
        auto source = std::make_unique<Source>();
        source->SetStartStop(piece.timeline.start, piece.timeline.stop);
        source->SetMediaTimes(piece.media.start, piece.media.stop);
        source->SetMediaName(path);
        if (type.majortype == MEDIATYPE_Video)
            source->SetStretchMode(stretchMode);
        auto track = std::make_unique<Track>();
        EXPECT_EQ(track->SrcAdd(std::move(source)), S_OK);
        EXPECT_EQ(group->VTrackInsBefore(std::move(track), -1), S_OK);
    }
    return group;
}

inline std::vector<std::int16_t> PullSound(GroupStream& stream) {
    std::vector<std::int16_t> pcm;
    graph::MediaSample sample;
    while (stream.Next(sample)) {
        const auto* data = reinterpret_cast<const std::int16_t*>(sample.frame->data[0]);
        pcm.insert(pcm.end(), data, data + 2 * sample.frame->nb_samples);
    }
    return pcm;
}

} // namespace editingtest
