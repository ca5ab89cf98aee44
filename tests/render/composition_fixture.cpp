#include "composition_fixture.h"

#include "support/test_environment.h"

namespace rendertest {

CompositionTest::CompositionTest() {
    video = testsupport::TemporaryFolder().toStdString() + "/opened.avi";
    testsupport::WriteFileBytes(video, "x");
    photoList.Append({video, 70 * S, 0, 0});
    musicList.Append({video, 70 * S});
    sync.videoStart = 2 * S;
    sync.videoEnd = 62 * S;
    sync.audioStart = 3 * S;
    sync.audioEnd = 65 * S;
    sync.outputDuration = 60 * S;
    output.outputWidth = 640;
    output.outputHeight = 480;
    output.outputFrameRate = 25;
    output.stretchMode = 2;
}

HRESULT CompositionTest::Build(int singleSpan) {
    return composition.BuildTimeline({sync, photoList, musicList, output, singleSpan});
}

HRESULT CompositionTest::BuildWithPoints(std::initializer_list<avsync::SyncPoint> points) {
    sync.ReplacePoints(points);
    return Build(0);
}

std::vector<const editing::Source*> CompositionTest::SourcesOf(int g) const {
    std::vector<const editing::Source*> sources;
    const editing::Group* group = Timeline().GetGroup(g);
    for (int t = 0; group && t < group->GetTrackCount(); ++t) {
        const editing::Track& track = *group->GetTrack(t);
        EXPECT_LE(track.GetSourceCount(), 1) << "group " << g << " track " << t;
        sources.push_back(track.GetSource(0));
    }
    return sources;
}

std::vector<std::string> CompositionTest::MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& message : scope.prompts.messages)
        texts.push_back(message.text.toStdString());
    return texts;
}

double Rate(const editing::Source& source) {
    return static_cast<double>(source.GetMediaTimes().Length()) /
           static_cast<double>(source.GetStartStop().Length());
}

} // namespace rendertest
