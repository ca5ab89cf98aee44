#pragma once
// The file extension that goes with an output format.
#include <QString>

namespace options {

enum OutputFormat { FormatAvi = 0, FormatWmv = 1, FormatCustomMuxer = 2 };

// AVI and WMV: the file name loses its extension (from its last dot on) and gets ".avi" or
// ".wmv"; a custom muxer's path is left as typed. Only the file name is searched for the
// dot, so a folder whose name holds one stays whole.
QString ApplyFormatExtension(const QString& path, int outputFormat);

} // namespace options
