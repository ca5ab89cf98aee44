#include "options/output_extension.h"

#include <QStringList>

#include <array>
#include <utility>

namespace options {
namespace {

// Where the file name's extension begins (its dot), or -1; a dot in a folder name is not one.
qsizetype ExtensionDot(const QString& path) {
    const qsizetype dot = path.lastIndexOf('.');
    return dot > path.lastIndexOf('/') ? dot : -1;
}

// The extension, lower case and without the dot, or empty.
QString ExtensionOf(const QString& path) {
    const qsizetype dot = ExtensionDot(path);
    return dot >= 0 ? path.mid(dot + 1).toLower() : QString();
}

QString WithExtension(const QString& path, const QString& extension) {
    const qsizetype dot = ExtensionDot(path);
    return (dot >= 0 ? path.left(dot) : path) + '.' + extension;
}

QStringList ExtensionsOf(int outputFormat, const QString& muxerExtensions) {
    switch (outputFormat) {
    case FormatAvi:
        return {"avi"};
    case FormatWmv:
        return {"wmv", "asf"};
    default:
        return muxerExtensions.toLower().split(',', Qt::SkipEmptyParts);
    }
}

} // namespace

QString ApplyFormatExtension(const QString& path, int outputFormat,
                             const QString& muxerExtensions) {
    const QStringList extensions = ExtensionsOf(outputFormat, muxerExtensions);
    if (extensions.isEmpty() ||
        (outputFormat == FormatCustomMuxer && extensions.contains(ExtensionOf(path))))
        return path;
    return WithExtension(path, extensions.front());
}

std::optional<ExtensionFormat> FormatOfExtension(const QString& path) {
    static const std::array<std::pair<const char*, ExtensionFormat>, 7> kKnown{{
        {"avi", {FormatAvi, {}}},
        {"wmv", {FormatWmv, {}}},
        {"asf", {FormatWmv, {}}},
        {"mp4", {FormatCustomMuxer, "mp4"}},
        {"mkv", {FormatCustomMuxer, "matroska"}},
        {"mov", {FormatCustomMuxer, "mov"}},
        {"webm", {FormatCustomMuxer, "webm"}},
    }};
    const QString extension = ExtensionOf(path);
    for (const auto& [known, format] : kKnown) {
        if (extension == QLatin1String(known))
            return format;
    }
    return std::nullopt;
}

bool ExtensionContradicts(const QString& path, int outputFormat, const QString& muxerExtensions) {
    return FormatOfExtension(path) &&
           !ExtensionsOf(outputFormat, muxerExtensions).contains(ExtensionOf(path));
}

} // namespace options
