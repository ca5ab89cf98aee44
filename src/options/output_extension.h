#pragma once
// The file extension that goes with an output format, and the format an extension asks for.
#include <QString>

#include <optional>

namespace options {

enum OutputFormat { FormatAvi = 0, FormatWmv = 1, FormatCustomMuxer = 2 };

// AVI and WMV: the file name loses its extension (from its last dot on) and gets ".avi" or
// ".wmv". A custom muxer: the name gets the first of `muxerExtensions` (its container's, as
// the muxer lists them: "mkv,mka") unless it already ends in one of them; a muxer with no
// extension of its own leaves the path as typed. Only the file name is searched for the dot,
// so a folder whose name holds one stays whole.
QString ApplyFormatExtension(const QString& path, int outputFormat,
                             const QString& muxerExtensions = {});

// What a file name's extension asks for: .avi AVI, .wmv and .asf WMV, .mp4, .mkv, .mov and
// .webm the custom muxer of that container (its library name); none for any other name.
struct ExtensionFormat {
    int outputFormat;
    QString muxer; // for FormatCustomMuxer
};
std::optional<ExtensionFormat> FormatOfExtension(const QString& path);

// Whether `path` has an extension FormatOfExtension knows that the format written there
// (`outputFormat`, with the custom muxer's `muxerExtensions`) would contradict.
bool ExtensionContradicts(const QString& path, int outputFormat, const QString& muxerExtensions);

} // namespace options
