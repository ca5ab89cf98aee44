#pragma once
// A composition over the worked example: video 2 s to 62 s, audio 3 s to 65 s, one opened
// video file that exists, 640 x 480 at 25 frames per second, aspect ratio preserved.
#include "render/build_timeline.h"
#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rendertest {

constexpr REFERENCE_TIME S = UNITS; // one second

class CompositionTest : public ::testing::Test {
  protected:
    CompositionTest();

    HRESULT Build(int singleSpan);
    // Sets the points and builds the segmented layout.
    HRESULT BuildWithPoints(std::initializer_list<avsync::SyncPoint> points);

    const editing::Timeline& Timeline() const { return *composition.Timeline(); }
    // The source of each track of group g, in track order; null for a track without one.
    std::vector<const editing::Source*> SourcesOf(int g) const;
    std::vector<std::string> MessageTexts() const;

    testsupport::PromptScope scope;
    std::string video;
    avsync::SyncState sync;
    slideshow::PhotoList photoList;
    slideshow::MusicList musicList;
    OutputSettings output;
    render::Composition composition;
};

// The length of the media span over the length of the timeline span.
double Rate(const editing::Source& source);

} // namespace rendertest
