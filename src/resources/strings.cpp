#include "resources/strings.h"

#include "resources/resource.h"

#include <map>

namespace resources {
namespace {

const std::map<int, const char*>& Table() {
    static const std::map<int, const char*> table = {
        {IDS_ABOUTBOX, "&About"},
        {IDS_LANGUAGE_IN_ENGLISH, "English"},
        {IDS_MESSAGE_ERROR, "Error"},
        {IDS_MESSAGE_WARNING, "Warning"},
        {IDS_MESSAGE_UNKNOWN_ERROR, "Unknown error"},
        {IDS_MESSAGE_BROWSE_CAPTION, "Select Output File Name"},
        {IDS_MESSAGE_ORIGINAL_SIZE, "Original size"},
        {IDS_MESSAGE_CUSTOM_SIZE, "Custom size"},
        {IDS_MESSAGE_ORIGINAL_FRAME_SIZE, "Original frame rate"},
        {IDS_MESSAGE_CUSTOM_FRAME_SIZE, "Custom frame rate"},
        {IDS_MESSAGE_OUTPUT_FILE, "Output file:"},
        {IDS_MESSAGE_RESOLUTION, "Resolution:"},
        {IDS_MESSAGE_PRESERVE_ASPECT_RATIO, "Preserve aspect ratio"},
        {IDS_MESSAGE_RESIZE_STRETCH, "Stretch"},
        {IDS_MESSAGE_OPEN_FILE, "Open a video file"},
        {IDS_MESSAGE_OPTIONS, "Customize output options"},
        {IDS_MESSAGE_CONVERT, "Convert video"},
        {IDS_MESSAGE_NOT_OPEN_FILE, "Cannot open the file. You need to install appropriate "
                                    "decoders. Or the file is corrupt."},
        {IDS_MESSAGE_NO_DURATION, "Can not get the duration of the clip!"},
        {IDS_BUTTON_STOP, "Stop"},
        {IDS_BUTTON_CONVERT, "Convert"},
        {IDS_MESSAGE_RESTART_PROGRAM, "Please restart the program"},
        {IDS_MESSAGE_FILE_EXIST, "exists. Do you want to replace it?"},
        {IDS_MESSAGE_STOP_CONVERT, "Please first stop converting"},
        {IDS_MESSAGE_CONVERSION_DONE, "Done"},
        {IDS_COLUMN_VIDEO_TIME, "Video time(s)"},
        {IDS_MESSAGE_SELECT_ITEM_IN_SYNC_LIST,
         "Please select an item in the synchronization point list!"},
        {IDS_MESSAGE_ADD_SYNC_POINTS_TO_LIST, "Please add sync points to the synchronization list"},
        {IDS_MESSAGE_NOT_GET_START_SYNC_POINT, "Can not calculate the start synchronization point"},
        {IDS_MESSAGE_GET_END_TIME_FROM_ONE_SYNC_POINT,
         "There is only one synchronization point in the synchronization list. Do you want to "
         "calculate the end video and audio time according to the start video and audio time?"},
        {IDS_MESSAGE_GET_START_TIME_FROM_ONE_SYNC_POINT,
         "There is only one synchronization point in the synchronization list. Do you want to "
         "set the start video and audio time to 0?"},
        {IDS_COLUMN_AUDIO_TIME, "Audio time(s)"},
        {IDS_MESSAGE_DISCARD_CHANGED_POINTS,
         "The synchronization points were changed since they were last saved or loaded. Do "
         "you want to go on and lose the changes?"},
        {IDS_MESSAGE_OUTPUT_FOLDER_MISSING, "Can not write %1: the folder %2 does not exist."},
        {IDS_MESSAGE_OUTPUT_FOLDER_IS_FILE, "Can not write %1: %2 is a file, not a folder."},
        {IDS_MESSAGE_OUTPUT_FOLDER_READ_ONLY,
         "Can not write %1: the folder %2 can not be written to."},
        {IDS_MESSAGE_OUTPUT_IS_FOLDER,
         "Can not write %1: it is a folder. Give the output a file name."},
        {IDS_MESSAGE_OUTPUT_NOT_WRITTEN, "The output file %1 could not be written: %2"},
        {IDS_MESSAGE_CONVERSION_STOPPED,
         "Stopped at %1 s of the output. The output file %2 holds what was written up to then."},
        {IDS_MESSAGE_OPTION_GIVEN_TWICE, "%1 is given more than once."},
    };
    return table;
}

} // namespace

QString BuiltInString(int id) {
    auto found = Table().find(id);
    return found == Table().end() ? QString() : QString::fromUtf8(found->second);
}

} // namespace resources
