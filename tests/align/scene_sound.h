#pragma once
// The sound of a scene as a separate recorder would hear it: synthetic speech (the espeak-ng
// command) in pieces of a few seconds, between them tones, noise bursts and short silences,
// over a faint room tone. Nothing repeats, so every stretch can be found in one place only;
// a different seed gives an unrelated scene.
#include <vector>

namespace aligntest {

constexpr int kSceneRate = 48000;

// `seconds` of scene at kSceneRate, one channel, peaks below 0.5.
std::vector<float> MakeScene(double seconds, unsigned seed);

} // namespace aligntest
