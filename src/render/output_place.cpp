#include "render/output_place.h"

#include "language/language.h"
#include "resources/resource.h"

#include <QFileInfo>

namespace render {

QString OutputPlaceRefusal(const QString& path) {
    const QFileInfo output(path);
    if (output.isDir())
        return Language().GetString(IDS_MESSAGE_OUTPUT_IS_FOLDER).arg(path);
    const QFileInfo folder(output.absolutePath());
    const auto say = [&](int id, const QString& folder) {
        return Language().GetString(id).arg(path, folder);
    };
    if (!folder.exists())
        return say(IDS_MESSAGE_OUTPUT_FOLDER_MISSING, folder.filePath());
    if (!folder.isDir())
        return say(IDS_MESSAGE_OUTPUT_FOLDER_IS_FILE, folder.filePath());
    if (!folder.isWritable())
        return say(IDS_MESSAGE_OUTPUT_FOLDER_READ_ONLY, folder.filePath());
    return {};
}

} // namespace render
