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
        {IDS_BUTTON_OK, "OK"},
        {IDS_BUTTON_CANCEL, "Cancel"},
        {IDS_READOUT_VIDEO, "Video: %1"},
        {IDS_READOUT_AUDIO, "Audio: %1"},
        {IDS_READOUT_NO_AUDIO, "Audio: none"},
        {IDS_READOUT_OFFSET, "Offset: %1"},
        {IDS_READOUT_TOTAL_DURATION, "Total duration: %1"},
        {IDS_MESSAGE_PLEASE_WAIT, "Please wait... Used Time: %1"},
        {IDS_TOOLTIP_PREVIEW, "Preview"},
        {IDS_TOOLTIP_HELP, "Help"},
        {IDS_TOOLTIP_HOMEPAGE, "Homepage"},
        {IDS_TOOLTIP_ABOUT, "About"},
        {IDS_TOOLTIP_EXIT, "Exit"},
        {IDS_FILTER_ANY_FILES, "Any Files (*.*)"},
        {IDS_FILTER_VIDEO_FILES,
         "Video Files (*.mpeg;*.mpg;*.avi;*.wmv;*.dat;*.asf;*.vob;*.ogm;*.divx;*.div;*.mkv)"},
        {IDS_FILTER_SYNC_LIST, "synchronization list file(*.ini)"},
        {IDS_FILTER_AVI, "Audio Video Interleave file(*.avi)"},
        {IDS_FILTER_WMV, "Windows Media Video file (*.wmv)"},
        {IDS_FILTER_ANY_VIDEO, "Video file(*.*)"},
        {IDS_MESSAGE_SAVE_SYNC_LIST_CAPTION, "Save the synchronization list"},
        {IDS_MESSAGE_LOAD_SYNC_LIST_CAPTION, "Select an ini file..."},
        {IDS_ABOUT_VERSION, "Version %1"},
        {IDS_ABOUT_COPYRIGHT, "Copyright © %1"},
        {IDS_ABOUT_SUPPORT, "Support Email: Click here"},
        {IDS_ABOUT_LIBRARIES, "This program uses the FFmpeg libraries and Qt."},
        {IDS_MESSAGE_OUT_OF_RANGE,
         "The video time must lie between %1 and %2 s, the audio time between %3 and %4 s."},
        {IDS_MESSAGE_ERROR_LOWER, "error"},
        {IDS_MESSAGE_NOT_GET_END_SYNC_POINT, "Can not calculate the end synchronization point"},
        {IDS_MESSAGE_FILE_NOT_FOUND, "The file %1 does not exist."},
        {IDS_MESSAGE_NO_PICTURE,
         "The file %1 holds sound but no picture. Open a video file; a separate sound is chosen "
         "from the menu that a right click on the window opens."},
        {IDS_MESSAGE_OPEN_REPLACES_POINTS, "Opening %1 replaces the %2 synchronization points of "
                                           "the video open now. Do you want to open it?"},
        {IDS_MESSAGE_MUSIC_LIST_FULL,
         "The music list holds at most %1 files; %2 and the files after it were not added."},
        {IDS_MESSAGE_POINT_LIST_FULL, "The synchronization point list is full: it holds at most %1 "
                                      "points. Delete a point before adding another."},
        {IDS_MESSAGE_NO_USABLE_RESULT,
         "The times used for this calculation give no usable result: two of them share the same "
         "video time or audio time, or the result lies beyond the range of times. Edit or delete a "
         "point (or correct the typed times) and try again. No time was changed."},
        {IDS_MESSAGE_SYNC_LIST_UNREADABLE,
         "Can not read the synchronization list file %1. The points were left as they were."},
        {IDS_MESSAGE_NOT_A_SYNC_LIST,
         "The file %1 is not a synchronization list: it has no [FILENAME] section whose "
         "TOTAL_SYNC_POINTS gives the number of points. The file was not loaded; the points were "
         "left as they were."},
        {IDS_MESSAGE_SYNC_LIST_BAD_TIME,
         "The synchronization list file %1 holds %2=%3, which is not a time: a time is a number of "
         "seconds between -922337203685 and 922337203685. The file was not loaded; the points were "
         "left as they were."},
        {IDS_MESSAGE_SYNC_LIST_BAD_COUNT,
         "The synchronization list file %1 declares %2 points (TOTAL_SYNC_POINTS), but a list "
         "holds 0 to %3 points. The file was not loaded; the points were left as they were."},
        {IDS_MESSAGE_OPEN_VIDEO_FIRST, "Please open a video file first!"},
        {IDS_MESSAGE_STOP_CONVERT_FIRST, "Please stop Convert first!"},
        {IDS_MESSAGE_STOP_PREVIEW_FIRST, "Please stop Preview first!"},
        {IDS_OUTPUT_FORMATS, "AVI\nWMV\nCustom video muxer"},
        {IDS_MESSAGE_SETTINGS_NOT_SAVED,
         "The settings could not be saved in %1: the disk may be full or the folder not writable. "
         "The file keeps its earlier settings; the new ones apply until Quillet closes."},
        {IDS_PROGRESS_TIME_LEFT, "%1 left"},
        {IDS_UNCOMPRESSED_VIDEO, "Full frames (uncompressed)"},
        {IDS_UNCOMPRESSED_AUDIO, "Uncompressed Audio"},
        {IDS_COPY_PICTURE, "Copy the source picture (no re-encoding)"},
        {IDS_COLUMN_FOUND_VIDEO_TIME, "Video time"},
        {IDS_COLUMN_FOUND_SOUND_TIME, "Separate sound time"},
        {IDS_COLUMN_FOUND_CONFIDENCE, "Confidence"},
        {IDS_BUTTON_ADD_ALL_POINTS, "Add all points"},
        {IDS_BUTTON_ADD_CHECKED_POINTS, "Add checked points"},
        {IDS_FOUND_DRIFT_OFFSET, "Drift: %1 ppm     Offset: %2 s"},
        {IDS_FOUND_NO_JUMP, "No jump: the separate sound runs without a break."},
        {IDS_FOUND_JUMP, "Jump: video %1 to %2 s, separate sound %3 to %4 s"},
        {IDS_FOUND_SILENT_SPAN, "Silent: video %1 to %2 s, where the separate sound jumps"},
        {IDS_FIND_POINTS_COMPARING, "Comparing the video's sound with the separate sound..."},
        {IDS_FIND_POINTS_CANCELLING, "Cancelling..."},
        {IDS_FIND_POINTS_VIDEO_NO_SOUND,
         "The video has no sound to compare with the separate sound."},
        {IDS_FIND_POINTS_VIDEO_UNREADABLE, "The video's sound could not be read: %1"},
        {IDS_FIND_POINTS_SOUND_NO_SOUND,
         "The separate sound holds no sound to compare with the video's sound."},
        {IDS_FIND_POINTS_SOUND_UNREADABLE, "The separate sound could not be read: %1"},
        {IDS_FIND_POINTS_VIDEO_SILENT,
         "The video's sound is silent: there is nothing in it to compare with the separate sound."},
        {IDS_FIND_POINTS_SOUND_SILENT,
         "The separate sound is silent: there is nothing in it to compare with the video's sound."},
        {IDS_FIND_POINTS_NO_MATCH, "The separate sound does not match the video's sound: too "
                                   "little of it was found with confidence."},
        {IDS_FIND_POINTS_NONE_ADDED, "No point was added."},
        {IDS_SEPARATE_SOUND_TITLE, "Open separate sound"},
        {IDS_SOUND_FILTER_SOUND_FILES, "Sound files (%1)"},
        {IDS_SEPARATE_SOUND_NOT_PLAYABLE, "%1 holds no sound that can be played. The sound in use, "
                                          "the points and the times were left as they were."},
        {IDS_SEPARATE_SOUND_CLEAR_POINTS,
         "The points in the list were made with the sound of %1; against the sound of %2 they "
         "would be wrong.\nClear them? Yes clears the points, No keeps them."},
        {IDS_LOADED_POINTS_OTHER_SOUND,
         "The points of %1 were made with the sound of %2, not with %3, the sound in use. They "
         "were loaded as they are; open that sound to use them as they were made."},
        {IDS_STATUS_SOUND, "Sound: %1"},
        {IDS_STATUS_POINTS_MADE_WITH, "Points made with: %1"},
        {IDS_DROPPED_SOUND_QUESTION,
         "%1 holds sound and no picture. Use it as the separate sound of %2?"},
        {IDS_MESSAGE_OUTPUT_FOLDER_MISSING, "Can not write %1: the folder %2 does not exist."},
        {IDS_MESSAGE_OUTPUT_FOLDER_IS_FILE, "Can not write %1: %2 is a file, not a folder."},
        {IDS_MESSAGE_OUTPUT_FOLDER_READ_ONLY,
         "Can not write %1: the folder %2 can not be written to."},
        {IDS_MESSAGE_OUTPUT_IS_FOLDER,
         "Can not write %1: it is a folder. Give the output a file name."},
        {IDS_MESSAGE_OUTPUT_NOT_WRITTEN, "The output file %1 could not be written: %2"},
        {IDS_MESSAGE_CONVERSION_STOPPED, "Stopped at %1 s of the output.     The output file %2 "
                                         "holds what was written up to then."},
        {IDS_MESSAGE_OPTION_GIVEN_TWICE, "%1 is given more than once."},
        {IDS_MESSAGE_OUTPUT_IS_SOURCE, "The output file %1 is the video being converted. Choose "
                                       "another output file in the Options."},
        {IDS_MESSAGE_FAILED_NOT_REPLACED,
         "The conversion failed. The incomplete file was removed; %1 was not replaced."},
        {IDS_MESSAGE_FAILED_NOT_WRITTEN,
         "The conversion failed. The incomplete file was removed; %1 was not written."},
        {IDS_MESSAGE_CONVERSION_BROKE_OFF, "The conversion stopped: %1\n%2"},
        {IDS_MESSAGE_HELP_NOT_OPENED, "Can not open the help page %1."},
        {IDS_MESSAGE_STOP_PREVIEW_BEFORE_EXIT, "Please first stop Preview"},
        {IDS_EVENTS_NONE_IN_PICTURE,
         "No event was found in the picture: no flash, cut or clapper board."},
        {IDS_EVENTS_NONE_IN_SOUND, "No event was found in the sound: no clap, click or knock."},
        {IDS_EVENTS_DISAGREE, "The events of the picture and of the sound do not agree: no two "
                              "pairs of them give the same synchronization."},
        {IDS_EVENTS_LOOKING,
         "Looking for claps, clicks, flashes and cuts in the picture and the sound..."},
        {IDS_COLUMN_FOUND_OWN_SOUND_TIME, "Sound time"},
        {IDS_SYNC_VIEW_TITLE, "Sync view"},
        {IDS_SYNC_VIEW_FRAME_BACK, "< Frame"},
        {IDS_SYNC_VIEW_FRAME_FORWARD, "Frame >"},
        {IDS_SYNC_VIEW_ZOOM_IN, "Zoom in"},
        {IDS_SYNC_VIEW_ZOOM_OUT, "Zoom out"},
        {IDS_SYNC_VIEW_WHOLE, "Whole file"},
        {IDS_SYNC_VIEW_ADD_POINT_HERE, "Add point here"},
        {IDS_SYNC_VIEW_SNAP, "Snap"},
        {IDS_SYNC_VIEW_OFFSET, "Offset: %1 ms (%2 samples)"},
        {IDS_SYNC_VIEW_ANALYSING, "Finding the events in the picture and the sound: %1 %"},
        {IDS_SYNC_VIEW_NOTHING_TO_SNAP,
         "There is no sound onset and picture event near the position to pair. Move closer to a "
         "clap or a flash, or zoom out."},
        {IDS_SYNC_VIEW_KEYS,
         "Wheel or Up/Down: zoom. Left/Right or drag: scroll. Drag the sound, or Alt, Ctrl or "
         "Ctrl+Shift with Left/Right: move the sound by a sample, a millisecond or a frame. "
         "Comma/period: a frame back/on. Click: go there."},
        {IDS_SYNC_VIEW_READING_SOUND, "Reading the sound: %1 %"},
        {IDS_SYNC_VIEW_NO_SOUND, "No sound to show: %1"},
        {IDS_MESSAGE_NOT_A_TIME, "\"%1\" in %2 is not a time: type seconds as a number between "
                                 "-922337203685 and 922337203685, with a point or a comma before "
                                 "the decimals, such as 12.5 or 12,5. %2 keeps %3."},
        {IDS_MESSAGE_VIDEO_CHANGED,
         "%1 has changed since it was opened. Open it again to work on it as it is now."},
        {IDS_MESSAGE_WMV_RATE_TOO_SMALL,
         "The output frame rate %1 is too small for WMV output: choose a frame rate of at least 1 "
         "frame per second in the Options."},
        {IDS_STATUS_RATE_KEEPS_FRAMES,
         "The picture's frames are spaced unevenly: written at %1 frames per second, the rate of "
         "its closest frames, so that none is lost."},
        {IDS_MUXER_REFUSES_VIDEO, "The muxer \"%1\" cannot hold the video compressor \"%2\". "
                                  "Choose another video compressor or another muxer."},
        {IDS_MUXER_REFUSES_AUDIO, "The muxer \"%1\" cannot hold the audio compressor \"%2\". "
                                  "Choose another audio compressor or another muxer."},
        {IDS_PICTURE_COPY_REFUSED, "The source picture cannot be copied: %1"},
        {IDS_PICTURE_COPY_ONE_VIDEO, "it is copied from one video only."},
        {IDS_PICTURE_COPY_SIZE,
         "the output size %1*%2 is not the video's own %3*%4. Choose the original size."},
        {IDS_PICTURE_COPY_FRAME_RATE, "the output frame rate %1 is not the video's own %2. Choose "
                                      "the original frame rate."},
        {IDS_PICTURE_COPY_NO_FILE, "the chosen muxer writes no file of its own."},
        {IDS_PICTURE_COPY_UNREADABLE, "the picture of %1 cannot be read."},
        {IDS_PICTURE_COPY_CODEC,
         "the %1 container cannot hold its %2 pictures. Choose another muxer."},
        {IDS_PICTURE_COPY_REORDERED,
         "its %1 pictures are stored out of showing order (B-frames), and the %2 container keeps "
         "no showing times, so players would show them late. Choose the matroska or mp4 muxer."},
        {IDS_PICTURE_COPY_UNEVEN,
         "its frames are spaced unevenly (a variable frame rate, as phones record), and the %1 "
         "container keeps no showing times, so players would show them at a steady rate, off "
         "their sound. Choose the matroska or mp4 muxer."},
        {IDS_PICTURE_COPY_LEADING_FRAMES,
         "the %1 container shows every frame it holds, and the %2 frames before the first key "
         "frame cannot be coded again. Choose the mp4 or mov muxer."},
        {IDS_PICTURE_WINDOW_PAUSED, "(Paused)"},
        {IDS_PREVIEW_WINDOW_TITLE, "PREVIEW"},
    };
    return table;
}

} // namespace

QString BuiltInString(int id) {
    auto found = Table().find(id);
    return found == Table().end() ? QString() : QString::fromUtf8(found->second);
}

} // namespace resources
