#pragma once
// The rates, lengths and thresholds of the search, in one place because the stages depend on
// each other's choices.
namespace align {

// Both sounds are compared at this rate: the band up to 4 kHz carries most of speech's
// energy and survives a camera's muffled microphone.
constexpr int kAnalysisRate = 8000;
// The whole recording is searched at this rate, which is plenty for finding a place to
// within a millisecond and keeps the transforms of a long recording small.
constexpr int kCoarseRate = 1000;

// Stretches of video sound looked for in the whole recording.
constexpr double kChunkSeconds = 20;
// Windows matched precisely, and their spacing: long enough to hold a few words, short
// enough that the clocks' drift does not smear them after the coarse correction.
constexpr double kWindowSeconds = 4;
constexpr double kWindowStepSeconds = 2;
// How far from the coarse prediction a window may lie.
constexpr double kWindowReachSeconds = 0.03;

// Peak-to-sidelobe ratios that count as found: a search over the whole recording tries many
// more lags than one near a prediction, so chance peaks there stand higher.
constexpr double kGlobalConfidence = 9;
constexpr double kLocalConfidence = 7;
constexpr double kWindowConfidence = 7;

// Clocks further apart than this are not taken for the same scene.
constexpr double kMaxDriftPpm = 2000;
// A segment needs this many windows on its line.
constexpr int kMinSegmentWindows = 4;

} // namespace align
