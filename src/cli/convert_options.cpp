#include "cli/convert_options.h"

#include "language/language.h"
#include "options/output_extension.h"
#include "resources/resource.h"
#include "sync/time_text.h"

#include <QRegularExpression>
#include <QSet>

#include <functional>
#include <map>

namespace cli {
namespace {

// Numbers are read whole: "12abc" is refused rather than read as 12.
std::optional<double> Number(const QString& text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

std::optional<REFERENCE_TIME> Seconds(const QString& text) {
    if (!Number(text))
        return std::nullopt;
    return avsync::TextToTimeInRange(text.toStdString());
}

std::optional<int> PositiveInt(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value > 0 ? std::optional(value) : std::nullopt;
}

using Reader = std::function<bool(const QString& value, ConvertOptions& o)>;

Reader Time(std::optional<REFERENCE_TIME> ConvertOptions::*field) {
    return [field](const QString& value, ConvertOptions& o) {
        o.*field = Seconds(value);
        return (o.*field).has_value();
    };
}

// A file's path, taken as given.
Reader Path(QString ConvertOptions::*field) {
    return [field](const QString& value, ConvertOptions& o) {
        o.*field = value;
        return !value.isEmpty();
    };
}

Reader Text(std::optional<QString> ConvertOptions::*field) {
    return [field](const QString& value, ConvertOptions& o) {
        o.*field = value.trimmed().toLower();
        return !(o.*field)->isEmpty();
    };
}

Reader Bitrate(std::optional<int> ConvertOptions::*field) {
    return [field](const QString& value, ConvertOptions& o) {
        o.*field = PositiveInt(value);
        return (o.*field).has_value();
    };
}

const std::map<QString, Reader>& ValueOptions() {
    static const std::map<QString, Reader> readers = {
        {"-o", Path(&ConvertOptions::output)},
        {"--sync-list", Path(&ConvertOptions::syncList)},
        {"--separate-sound", Path(&ConvertOptions::separateSound)},
        {"--video-start", Time(&ConvertOptions::videoStart)},
        {"--video-end", Time(&ConvertOptions::videoEnd)},
        {"--audio-start", Time(&ConvertOptions::audioStart)},
        {"--audio-end", Time(&ConvertOptions::audioEnd)},
        {"--format",
         [](const QString& v, ConvertOptions& o) {
             const QString name = v.toLower();
             if (name == "avi")
                 o.format = options::FormatAvi;
             else if (name == "wmv")
                 o.format = options::FormatWmv;
             else if (name == "custom")
                 o.format = options::FormatCustomMuxer;
             return o.format.has_value();
         }},
        {"--video-encoder", Text(&ConvertOptions::videoEncoder)},
        {"--audio-encoder", Text(&ConvertOptions::audioEncoder)},
        {"--muxer", Text(&ConvertOptions::muxer)},
        {"--size",
         [](const QString& v, ConvertOptions& o) {
             const auto match = QRegularExpression("^(\\d+)[xX](\\d+)$").match(v);
             if (!match.hasMatch())
                 return false;
             o.width = PositiveInt(match.captured(1));
             o.height = PositiveInt(match.captured(2));
             return o.width && o.height;
         }},
        {"--frame-rate",
         [](const QString& v, ConvertOptions& o) {
             if (v.toLower() == "source") {
                 o.frameRate.reset();
                 return true;
             }
             o.frameRate = Number(v);
             return o.frameRate && *o.frameRate > 0 && *o.frameRate <= 1000;
         }},
        {"--report", Path(&ConvertOptions::report)},
        {"--progress",
         [](const QString& v, ConvertOptions& o) {
             o.jsonProgress = v == "json";
             return o.jsonProgress;
         }},
        {"--video-bitrate", Bitrate(&ConvertOptions::videoBitrate)},
        {"--audio-bitrate", Bitrate(&ConvertOptions::audioBitrate)},
    };
    return readers;
}

} // namespace

bool ParseArguments(const QStringList& arguments, ConvertOptions& options, QString& error) {
    // A second value would silently replace the first.
    QSet<QString> given;
    for (int i = 0; i < arguments.size(); ++i) {
        QString name = arguments[i];
        std::optional<QString> value;
        // "--name=value" as well as "--name value".
        if (name.startsWith("--") && name.contains('=')) {
            value = name.section('=', 1);
            name = name.section('=', 0, 0);
        }
        if (name == "-h" || name == "--help") {
            options.help = true;
            return true;
        }
        if (name == "--list") {
            options.list = true;
            return true;
        }
        if (name.startsWith('-') && name != "-") {
            if (given.contains(name)) {
                error = Language().GetString(IDS_MESSAGE_OPTION_GIVEN_TWICE).arg(name);
                return false;
            }
            given.insert(name);
        }
        if (name == "--calculate" || name == "--overwrite" || name == "--auto-points" ||
            name == "--verbose" || name == "--keep-pitch") {
            (name == "--calculate"    ? options.calculate
             : name == "--overwrite"  ? options.overwrite
             : name == "--verbose"    ? options.verbose
             : name == "--keep-pitch" ? options.keepPitch
                                      : options.autoPoints) = true;
            continue;
        }
        const auto reader = ValueOptions().find(name);
        if (reader != ValueOptions().end()) {
            if (!value) {
                if (i + 1 >= arguments.size()) {
                    error = name + " needs a value.";
                    return false;
                }
                value = arguments[++i];
            }
            if (!reader->second(*value, options)) {
                error = QStringLiteral("%1: \"%2\" is not a valid value.").arg(name, *value);
                return false;
            }
            continue;
        }
        if (name.startsWith('-') && name != "-") {
            error = "Unknown option " + name + ".";
            return false;
        }
        if (!options.input.isEmpty()) {
            error =
                "Only one input file can be converted at a time; \"" + name + "\" is one too many.";
            return false;
        }
        options.input = name;
    }
    if (options.input.isEmpty() || options.output.isEmpty()) {
        error = options.input.isEmpty() ? "No input file given." : "No output file given (-o).";
        return false;
    }
    const int times = options.videoStart.has_value() + options.videoEnd.has_value() +
                      options.audioStart.has_value() + options.audioEnd.has_value();
    if (options.calculate && times > 0) {
        error = "--calculate computes the four times: give either --calculate or the times.";
        return false;
    }
    if (options.autoPoints && !options.syncList.isEmpty()) {
        error = "--auto-points finds the points itself: give either --auto-points or --sync-list.";
        return false;
    }
    if (options.autoPoints && times > 0) {
        error = "--auto-points computes the four times from the points it finds: give either "
                "--auto-points or the times.";
        return false;
    }
    if (options.calculate && options.syncList.isEmpty() && !options.autoPoints) {
        error = "--calculate needs the points of a --sync-list.";
        return false;
    }
    return true;
}

QString HelpText() {
    return QStringLiteral(
        R"(Usage: quillet-convert INPUT -o OUTPUT [options]

Writes INPUT again with its sound moved onto its picture: the picture keeps its own rate,
and each stretch of sound between two synchronization points is resampled so that every
point's audio time falls on its video time. This is what Convert does in the main window,
through the same composition and output graph, without any window.

Synchronization:
  --sync-list FILE.ini   the points, from a list saved by the main window (Save)
  --video-start S        the part of the picture used, in seconds (default: all of it)
  --video-end S
  --audio-start S        the part of the sound used, in seconds (default: all of it)
  --audio-end S
  --calculate            compute the four times from the points, as Calculate start and
                         Calculate end do in the main window (needs --sync-list; with one
                         point both starts are 0)
  --separate-sound FILE  use the sound of FILE, another recording of the same scene, instead
                         of the input's own sound
  --auto-points          find the points, print them and the drift on standard output, and
                         compute the four times from them as --calculate does: with
                         --separate-sound by comparing the input's own sound with the
                         separate sound, without it by pairing the claps, clicks and knocks
                         of the input's sound with the flashes, cuts and clapper boards of
                         its picture; when nothing matches, nothing is written and the exit
                         status is 1

Output (anything not given comes from the settings saved by the main window's Options):
  -o OUTPUT              the file to write, used exactly as given
  --overwrite            replace OUTPUT if it exists; without it an existing file is left
                         alone and the conversion is refused
  --format avi|wmv|custom
                         AVI, Windows Media (its own WMV 2 / WMA 2 encoders) or a custom
                         multiplexer (see --muxer)
  --video-encoder NAME   the picture compressor for AVI and custom output; "copy" copies the
                         input's own picture unchanged (needs its size and frame rate, and
                         synchronization points or an output as long as the video span)
  --audio-encoder NAME   the sound compressor for AVI and custom output
  --muxer NAME           the multiplexer of custom output; implies --format custom when no
                         format is given
  --size WxH             the picture size (default: the input's)
  --frame-rate R|source  frames per second; 23.976, 29.97 and 59.94 are read as the
                         NTSC rates 24000/1001, 30000/1001 and 60000/1001 (default, or
                         "source": the input's own rate)
  --video-bitrate BPS    bits per second of the picture: the WMV profile's, or the picture
                         compressor's bit rate
  --audio-bitrate BPS    bits per second of the sound: the WMV profile's, or the sound
                         compressor's bit rate
  --keep-pitch           sound played faster or slower between the points keeps its pitch:
                         it is time-stretched instead of resampled, every point still exact
                         to the sample (default: resampled, whatever the main window keeps)
  --verbose              show FFmpeg's own lines (encoder statistics, warnings) on standard
                         error as well

For job runners:
  --report FILE          when the run ends, write one line of JSON to FILE: the files, the
                         points used (given or found), the drift and offset found, the four
                         times, what the written file holds, the wall time, the exit status
                         and the last message (the README lists its keys)
  --progress json        print one line of JSON a second on standard error,
                         {"fraction":0.25,"secondsLeft":12.5}, instead of the progress line
  --list                 print the video and audio compressors and the multiplexers by the
                         names NAME finds
  -h, --help             this text

NAME is an FFmpeg encoder's or muxer's own short name (mpeg4, libx264, aac, matroska), or
else found as the main window finds it: the first entry whose name, in lower case, contains
NAME (e.g. divx, "microsoft adpcm", wmv). "none" chooses no compressor: the picture is
written as uncompressed 24-bit RGB, the sound as 16-bit PCM.

Every message goes to standard error; only the points --auto-points found go to standard
output. On a terminal a progress line shows the part done and the time left. A question
the main window would ask is answered as follows: a missing compressor is accepted (the
file is written uncompressed); an output frame rate out of range becomes 23.976.

Ctrl-C (or SIGTERM) stops the conversion as the Stop button does: OUTPUT keeps what was
written up to then and plays; a second Ctrl-C ends the program at once.

Exit status: 0 when the whole file was written; 1 when the conversion could not start or
failed (unreadable input, unknown NAME, points or times that cannot be composed, an
existing OUTPUT without --overwrite, a folder that does not exist or cannot be written, a
write error); 2 for bad arguments (an option given twice among them); 130 when Ctrl-C
stopped it.

Example:
  quillet-convert talk.mp4 --sync-list talk.ini --calculate \
      --format avi --video-encoder divx --audio-encoder "microsoft adpcm" -o talk.avi
)");
}

} // namespace cli
