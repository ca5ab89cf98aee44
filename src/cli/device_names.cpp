#include "cli/device_names.h"

#include <QStringList>

namespace cli {
namespace {

bool IsListed(graph::DeviceCategory category, const graph::DeviceEntry& entry) {
    return category != graph::DeviceCategory::Filter ||
           entry.kind == graph::FilterKind::Multiplexer;
}

QString Section(const char* title, graph::DeviceCategory category) {
    QString text = QStringLiteral("%1\n").arg(title);
    for (const graph::DeviceEntry& entry : graph::EnumerateDevices(category)) {
        if (!IsListed(category, entry))
            continue;
        text += QStringLiteral("  %1 \"%2\"").arg(QString::fromStdString(entry.libraryName).leftJustified(16),
                                                   QString::fromStdString(entry.friendlyName));
        QStringList extensions;
        for (const QString& extension :
             QString::fromStdString(entry.extensions).split(',', Qt::SkipEmptyParts))
            extensions << "." + extension.trimmed();
        if (!extensions.isEmpty())
            text += QStringLiteral("  (%1)").arg(extensions.join(", "));
        text += '\n';
    }
    return text;
}

} // namespace

int FindNamedDevice(graph::DeviceCategory category, const QString& name) {
    const auto& entries = graph::EnumerateDevices(category);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (IsListed(category, entries[i]) &&
            QString::fromStdString(entries[i].libraryName).compare(name, Qt::CaseInsensitive) ==
                0)
            return static_cast<int>(i);
    }
    return graph::FindDevice(category, name.toStdString());
}

QString DeviceListing() {
    return Section("Video compressors (--video-encoder NAME; also \"none\" and \"copy\"):",
                   graph::DeviceCategory::VideoCompressor) +
           '\n' +
           Section("Audio compressors (--audio-encoder NAME; also \"none\"):",
                   graph::DeviceCategory::AudioCompressor) +
           '\n' +
           Section("Multiplexers (--muxer NAME), with the extensions that choose them:",
                   graph::DeviceCategory::Filter) +
           "\nNAME is the short name at the start of a line, or a part of the quoted name.\n";
}

} // namespace cli
