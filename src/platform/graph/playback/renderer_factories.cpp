// Tells the core which renderers end a picture or sound branch. Runs while the program starts;
// the stage's library is linked whole so that this file is kept although nothing names it.
#include "platform/graph/filter_factories.h"
#include "platform/graph/playback/audio_renderer.h"
#include "platform/graph/playback/video_renderer.h"

namespace graph {
namespace {

struct Registration {
    Registration() {
        RegisterRendererFactory(MajorType::Video, [] { return std::make_unique<VideoRenderer>(); });
        RegisterRendererFactory(MajorType::Audio, [] { return std::make_unique<AudioRenderer>(); });
    }
} const registration;

} // namespace
} // namespace graph
