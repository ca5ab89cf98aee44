#pragma once
// Building conversion graphs and reading back the files they write, for the writer tests.
// Files are read with the ffprobe and ffmpeg commands, independently of the graph.
#include "platform/graph/filter_graph.h"
#include "platform/graph/writing/device_enumerator.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace writertest {

struct ProbedStream {
    std::string type; // "video" or "audio"
    std::string codec;
    std::string pixelFormat;
    int width = 0;
    int height = 0;
    int sampleRate = 0;
    int channels = 0;
    double frameRate = 0; // the average rate
    double start = 0;     // seconds
    double duration = 0;  // seconds, from the packets
    long packets = 0;
};

struct ProbedFile {
    bool opened = false;
    std::string format;
    double start = 0; // seconds
    double duration = 0;
    std::vector<ProbedStream> streams;
    // The first stream of a type, or null.
    const ProbedStream* Stream(const std::string& type) const;
};

ProbedFile Probe(const std::string& path);
// What the ffmpeg command says when it decodes the whole file ("" when it decodes cleanly).
std::string DecodeErrors(const std::string& path);
// The time of the first decoded sound frame, in seconds.
double FirstSoundFrame(const std::string& path);
// The times of the key frames of the first picture stream, in seconds.
std::vector<double> KeyFrames(const std::string& path);
// The first picture of the file as 8-bit grey levels, row by row from the top, decoded by
// the ffmpeg command.
std::vector<std::uint8_t> FirstPicture(const std::string& path);
// A file's size in bytes, or -1.
long long FileSize(const std::string& path);

// The first of EC_COMPLETE, EC_ERRORABORT and EC_USERABORT, with its first parameter;
// code 0 when none came in time. Window messages are processed while waiting.
struct Ending {
    long code = 0;
    std::intptr_t param = 0;
};
Ending WaitForEnd(graph::FilterGraph& graph, int timeoutMs);

// A fresh path in a temporary folder.
std::string OutputPath(const std::string& name);

// File source, demultiplexer and a decoder for every picture and sound stream; the
// decoders' output pins, picture first.
std::vector<graph::Pin*> DecodeFile(graph::FilterGraph& graph, const std::string& path);

// The compressor over the FFmpeg encoder of this name, made through the enumeration.
std::shared_ptr<graph::BaseFilter> Compressor(const std::string& ffmpegName);

} // namespace writertest
