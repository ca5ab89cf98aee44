#pragma once
// The names --video-encoder, --audio-encoder and --muxer take: an FFmpeg encoder's or
// muxer's own short name picks that one; any other text is searched in the names the main
// window lists, as it searches them. And the listing of both, for --list.
#include "platform/graph/writing/device_enumerator.h"

#include <QString>

namespace cli {

// The entry's number in its category, or -1. Multiplexers are searched among the filters.
int FindNamedDevice(graph::DeviceCategory category, const QString& name);

// Every video and audio compressor and every multiplexer, each with the names that find it.
QString DeviceListing();

} // namespace cli
