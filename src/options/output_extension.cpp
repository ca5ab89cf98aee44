#include "options/output_extension.h"

namespace options {

QString ApplyFormatExtension(const QString& path, int outputFormat) {
    if (outputFormat != FormatAvi && outputFormat != FormatWmv)
        return path;
    const qsizetype nameStart = path.lastIndexOf('/') + 1;
    const qsizetype dot = path.lastIndexOf('.');
    const QString stem = dot >= nameStart ? path.left(dot) : path;
    return stem + (outputFormat == FormatAvi ? ".avi" : ".wmv");
}

} // namespace options
