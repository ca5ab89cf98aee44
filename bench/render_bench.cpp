// Times the render engine composing a clip corrected at three points: the picture cut at the
// points at its own rate, the sound between them resampled, both pulled from their group
// streams at full speed (decoded and composed, not encoded), the two groups on their own
// threads as the engine's front end runs them. Prints the wall time in milliseconds, and each
// group's own. With "keep-pitch" the sound is time-stretched with its pitch kept.
//
//   render_bench <clip> <width> <height> <fps> <seconds> [keep-pitch]
#include "options/output_settings.h"
#include "platform/editing/render_engine.h"
#include "render/build_timeline.h"
#include "slideshow/slideshow_lists.h"
#include "sync/sync_state.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

std::int64_t Drain(editing::GroupStream& stream) {
    std::int64_t samples = 0;
    graph::MediaSample sample;
    while (stream.Next(sample)) {
        ++samples;
        sample = {};
    }
    return samples;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s <clip> <width> <height> <fps> <seconds> [keep-pitch]\n",
                     argv[0]);
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const std::string clip = argv[1];
    const REFERENCE_TIME length = static_cast<REFERENCE_TIME>(std::atof(argv[5]) * UNITS);

    // The sound drifts 0.9 s ahead over the clip; three points pin it to the picture.
    avsync::SyncState sync;
    sync.videoDuration = sync.audioDuration = length;
    sync.ResetForNewVideo();
    sync.audioEnd = length - UNITS;
    sync.ReplacePoints({{length / 4, length / 4 - UNITS / 5},
                        {length / 2, length / 2 - UNITS / 2},
                        {3 * length / 4, 3 * length / 4 - 4 * UNITS / 5}});
    slideshow::PhotoList photos;
    photos.Append({clip, length, 0, 0});
    slideshow::MusicList music;
    music.Append({clip, length});
    OutputSettings output;
    output.outputWidth = std::atoi(argv[2]);
    output.outputHeight = std::atoi(argv[3]);
    output.outputFrameRate = std::atof(argv[4]);
    output.keepPitch = argc > 6 && std::string(argv[6]) == "keep-pitch" ? 1 : 0;

    render::Composition composition;
    if (FAILED(composition.BuildTimeline({sync, photos, music, output, 0})))
        return 1;
    std::vector<std::unique_ptr<editing::GroupStream>> groups;
    for (int i = 0; i < composition.Timeline()->GetGroupCount(); ++i) {
        std::unique_ptr<editing::GroupStream> stream;
        if (FAILED(editing::CreateGroupStream(*composition.Timeline()->GetGroup(i), &stream)))
            return 1;
        groups.push_back(std::move(stream));
    }

    const auto start = std::chrono::steady_clock::now();
    std::vector<std::int64_t> counts(groups.size());
    std::vector<double> groupMs(groups.size());
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < groups.size(); ++i)
        threads.emplace_back([&, i] {
            const auto groupStart = std::chrono::steady_clock::now();
            counts[i] = Drain(*groups[i]);
            groupMs[i] = std::chrono::duration<double, std::milli>(
                             std::chrono::steady_clock::now() - groupStart)
                             .count();
        });
    for (std::thread& thread : threads)
        thread.join();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("composed_ms %.1f\n", ms);
    for (std::size_t i = 0; i < counts.size(); ++i) {
        std::printf("group_%zu_samples %lld\n", i, static_cast<long long>(counts[i]));
        std::printf("group_%zu_ms %.1f\n", i, groupMs[i]);
    }
    return 0;
}
