#include "support/drift_fixtures.h"

#include "support/media_fixtures.h"
#include "support/test_environment.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <stdexcept>

namespace testsupport {

namespace {

QByteArray Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
        throw std::runtime_error(program.toStdString() +
                                 " failed: " + arguments.join(' ').toStdString() + "\n" +
                                 process.readAllStandardError().toStdString());
    return process.readAllStandardOutput();
}

double FileStart(const std::string& path) {
    return Run("ffprobe", {"-v", "error", "-show_entries", "format=start_time", "-of", "csv=p=0",
                           QString::fromStdString(path)})
        .trimmed()
        .toDouble();
}

// The rate as ffmpeg takes it exactly: "30000/1001" for 29.97.
QString RateText(double fps) {
    const double perThousand = std::round(fps * 1.001);
    if (std::abs(fps * 1001 - perThousand * 1000) < 1e-6 * fps * 1001)
        return QString("%1/1001").arg(perThousand * 1000);
    return QString::number(fps, 'g', 17);
}

// A quiet 440 Hz tone with a one-millisecond click of 0.7 from each of `clicks` (sample
// numbers), as raw mono 32-bit float samples at `rate`.
void WriteTone(const QString& path, double seconds, int rate, const std::vector<long>& clicks) {
    const long count = std::lround(seconds * rate);
    std::vector<float> samples(static_cast<std::size_t>(count));
    for (long n = 0; n < count; ++n)
        samples[n] = static_cast<float>(0.1 * std::sin(2 * M_PI * 440 * n / rate));
    for (long click : clicks) {
        for (long n = std::max(click, 0L); n < std::min(count, click + rate / 1000); ++n)
            samples[n] += 0.7f;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(samples.data()),
                   static_cast<qint64>(samples.size() * sizeof(float))) !=
            static_cast<qint64>(samples.size() * sizeof(float)))
        throw std::runtime_error("cannot write " + path.toStdString());
}

// Frames 2m and 2m+1 of a variable-rate clip start at 11m/150 s and (11m+6)/150 s: 40 ms,
// then 33.3 ms.
double VariableFrameStart(int n) {
    return ((n / 2) * 11 + (n % 2) * 6) / 150.0;
}

// The picture's filter: black frames at the recipe's rate, white where `enable` says.
QString PictureFilter(const ClipRecipe& recipe, const QString& enable) {
    if (recipe.fps > 0)
        return QString("color=c=black:s=160x120:r=%1:d=%2,drawbox=c=white:t=fill:enable='%3'")
            .arg(RateText(recipe.fps))
            .arg(recipe.seconds)
            .arg(enable);
    const int frames = static_cast<int>(recipe.seconds * 150 / 5.5);
    return QString("color=c=black:s=160x120:r=25:d=%1,drawbox=c=white:t=fill:enable='%2',"
                   "settb=1/150,setpts='floor(N/2)*11+mod(N,2)*6'")
        .arg(frames / 25.0)
        .arg(enable);
}

} // namespace

ClipCoding DefaultClipCoding(int fps) {
    return {"mov",
            {"-c:v", "libx264", "-preset", "ultrafast", "-g", std::to_string(fps), "-pix_fmt",
             "yuv420p", "-c:a", "aac", "-b:a", "192k"}};
}

DriftingClip MakeClip(const ClipRecipe& recipe) {
    static std::map<QString, DriftingClip> made;
    DriftingClip clip;
    clip.fps = recipe.fps > 0 ? recipe.fps : 150 / 5.5;
    QStringList frames;
    std::vector<long> clickSamples;
    for (double flash : recipe.strays.flashes)
        frames << QString("eq(n,%1)").arg(std::lround(flash * clip.fps));
    for (double click : recipe.strays.clicks)
        clickSamples.push_back(std::lround(click * recipe.sampleRate));
    for (int frame : recipe.flashFrames) {
        frames << QString("eq(n,%1)").arg(frame);
        // A variable rate goes into Matroska, which keeps milliseconds.
        clip.flashTimes.push_back(recipe.fps > 0
                                      ? double(frame) / recipe.fps
                                      : std::round(VariableFrameStart(frame) * 1000) / 1000);
        const double click = recipe.clickOf(clip.flashTimes.back());
        clip.clickTimes.push_back(click);
        // On a whole sample, placed by sample number: the filter's running time drifts from
        // n / rate by dozens of samples over seconds.
        if (std::isfinite(click)) {
            clickSamples.push_back(std::lround(click * recipe.sampleRate));
            clip.clickTimes.back() = double(clickSamples.back()) / recipe.sampleRate;
        }
    }
    QStringList codingArguments;
    for (const std::string& argument : recipe.coding.arguments)
        codingArguments << QString::fromStdString(argument);
    QStringList clicks;
    for (long sample : clickSamples)
        clicks << QString::number(sample);
    const QString key = QString("%1_%2_%3_%4_%5_%6_%7")
                            .arg(recipe.seconds)
                            .arg(RateText(recipe.fps))
                            .arg(frames.join('+'))
                            .arg(clicks.join('+'))
                            .arg(recipe.sampleRate)
                            .arg(recipe.channels)
                            .arg(codingArguments.join(' '));
    if (auto found = made.find(key); found != made.end())
        return found->second;
    static int count = 0;
    clip.path = (TemporaryFolder() + QString("/drifting_%1.").arg(++count) +
                 QString::fromStdString(recipe.coding.extension))
                    .toStdString();
    // The sound is computed here: an expression evaluated per sample by the lavfi source
    // takes minutes for a long clip.
    const QString sound = QString::fromStdString(clip.path) + ".f32";
    WriteTone(sound, recipe.seconds, recipe.sampleRate, clickSamples);
    Run("ffmpeg", QStringList{"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                              PictureFilter(recipe, frames.isEmpty() ? "0" : frames.join('+')),
                              "-f", "f32le", "-ar", QString::number(recipe.sampleRate), "-ac", "1",
                              "-i", sound} +
                      codingArguments +
                      QStringList{"-ac", QString::number(recipe.channels),
                                  QString::fromStdString(clip.path)});
    QFile::remove(sound);
    made.emplace(key, clip);
    return clip;
}

namespace {

ClipRecipe DriftRecipe(double seconds, double fps, const std::vector<double>& flashes,
                       double offset, double drift) {
    ClipRecipe recipe;
    recipe.seconds = seconds;
    recipe.fps = fps;
    for (double flash : flashes)
        recipe.flashFrames.push_back(static_cast<int>(std::lround(flash * fps)));
    recipe.clickOf = [offset, drift](double v) { return offset + v * (1 + drift); };
    recipe.coding = DefaultClipCoding(static_cast<int>(std::lround(fps)));
    return recipe;
}

} // namespace

DriftingClip MakeDriftingClip(double seconds, double fps, const std::vector<double>& flashes,
                              double offset, double drift) {
    return MakeClip(DriftRecipe(seconds, fps, flashes, offset, drift));
}

DriftingClip MakeDriftingClip(double seconds, double fps, const std::vector<double>& flashes,
                              double offset, double drift, const ClipCoding& coding) {
    ClipRecipe recipe = DriftRecipe(seconds, fps, flashes, offset, drift);
    recipe.coding = coding;
    return MakeClip(recipe);
}

DriftingClip MakeDriftingClip(double seconds, double fps, const std::vector<double>& flashes,
                              double offset, double drift, const StrayEvents& strays) {
    ClipRecipe recipe = DriftRecipe(seconds, fps, flashes, offset, drift);
    recipe.strays = strays;
    return MakeClip(recipe);
}

DriftingClip MakeVariableRateClip(double seconds, const std::vector<int>& flashFrames,
                                  double offset, double drift) {
    ClipRecipe recipe;
    recipe.seconds = seconds;
    recipe.fps = 0;
    recipe.flashFrames = flashFrames;
    recipe.clickOf = [offset, drift](double v) { return offset + v * (1 + drift); };
    recipe.coding = {"mkv",
                     {"-fps_mode", "passthrough", "-enc_time_base:v", "1/150", "-c:v", "libx264",
                      "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "pcm_s16le"}};
    return MakeClip(recipe);
}

std::vector<double> FlashTimes(const std::string& path) {
    const double start = FileStart(path);
    const QStringList lines =
        QString::fromUtf8(Run("ffprobe", {"-v", "error", "-f", "lavfi", "-i",
                                          "movie=" + QString::fromStdString(path) + ",signalstats",
                                          "-show_entries",
                                          "frame=best_effort_timestamp_time:frame_tags=lavfi."
                                          "signalstats.YAVG",
                                          "-of", "csv=p=0"}))
            .split('\n', Qt::SkipEmptyParts);
    std::vector<double> times;
    bool white = false;
    for (const QString& line : lines) {
        const QStringList fields = line.split(',');
        if (fields.size() < 2)
            continue;
        const bool now = fields[1].toDouble() > 128;
        if (now && !white)
            times.push_back(fields[0].toDouble() - start);
        white = now;
    }
    return times;
}

std::vector<std::int16_t> PresentedSound(const std::string& path, int* sampleRate) {
    const QString file = QString::fromStdString(path);
    *sampleRate = Run("ffprobe", {"-v", "error", "-select_streams", "a:0", "-show_entries",
                                  "stream=sample_rate", "-of", "csv=p=0", file})
                      .trimmed()
                      .toInt();
    // Silence where the sound's time stamps say it starts later, so a codec's delay counts
    // as it would in playing.
    const QByteArray pcm = Run("ffmpeg", {"-v", "error", "-i", file, "-map", "0:a:0", "-af",
                                          "aresample=async=1:first_pts=0,pan=mono|c0=c0", "-f",
                                          "s16le", "-acodec", "pcm_s16le", "-"});
    std::vector<std::int16_t> samples(pcm.size() / 2);
    if (!samples.empty())
        std::memcpy(samples.data(), pcm.constData(), samples.size() * 2);
    return samples;
}

double ToneFrequency(const std::vector<std::int16_t>& sound, int rate, long from, long to) {
    double first = -1;
    double last = 0;
    int cycles = -1;
    for (long i = std::max(from, 0L); i + 1 < std::min(to, static_cast<long>(sound.size())); ++i) {
        if (sound[i] < 0 && sound[i + 1] >= 0) {
            last = static_cast<double>(i) + double(sound[i]) / (sound[i] - sound[i + 1]);
            if (first < 0)
                first = last;
            ++cycles;
        }
    }
    return cycles > 0 ? cycles * rate / (last - first) : 0;
}

std::vector<double> ClickTimes(const std::string& path, int* sampleRate) {
    const double start = FileStart(path);
    int rate = 0;
    const std::vector<std::int16_t> samples = PresentedSound(path, &rate);
    if (sampleRate)
        *sampleRate = rate;
    std::vector<double> times;
    long last = -rate;
    for (long i = 0; i < long(samples.size()); ++i) {
        // Halfway between the tone's peak (0.1) and the click's lowest (0.6): the first sample
        // past it is the click's first.
        if (std::abs(samples[i]) < 11500 || i - last < rate / 10)
            continue;
        last = i;
        times.push_back(double(i) / rate - start);
    }
    return times;
}

std::vector<double> ClickOnsets(const std::string& path, int clipRate, bool spread) {
    const double start = FileStart(path);
    int rate = 0;
    const std::vector<std::int16_t> samples = PresentedSound(path, &rate);
    const long count = static_cast<long>(samples.size());
    const long window = rate / 1000;
    // A spread click peaks lower, still well above the tone's 0.1.
    const int level = spread ? 6500 : 11500;
    std::vector<double> times;
    long last = -rate;
    for (long i = 1; i < count; ++i) {
        if (std::abs(samples[i]) < level || i - last < rate / 10)
            continue;
        last = i;
        double onset = 0;
        if (spread) {
            long best = i;
            double most = -1e18;
            for (long n = std::max(0L, i - 2 * window); n <= i + window && n + window <= count; ++n) {
                double sum = 0;
                for (long k = n; k < n + window; ++k)
                    sum += std::abs(samples[k]);
                if (sum > most) {
                    most = sum;
                    best = n;
                }
            }
            onset = double(best) / rate;
        } else {
            const double crossing =
                double(i - 1) + double(level - samples[i - 1]) / double(samples[i] - samples[i - 1]);
            onset = crossing / rate + 0.5 / clipRate;
        }
        times.push_back(onset - start);
    }
    return times;
}

double ExpectClicksOnFlashes(const std::string& written, const std::vector<double>& flashTimes,
                             double fps, const std::string& name, double tolerance) {
    int rate = 0;
    const std::vector<double> flashes = FlashTimes(written);
    const std::vector<double> clicks = ClickTimes(written, &rate);
    EXPECT_EQ(flashes.size(), flashTimes.size()) << name;
    EXPECT_EQ(clicks.size(), flashTimes.size()) << name;
    if (flashes.size() != flashTimes.size() || clicks.size() != flashes.size())
        return 0;
    const double origin = flashes[0] - flashTimes[0];
    for (std::size_t i = 0; i < flashes.size(); ++i) {
        EXPECT_NEAR(flashes[i] - origin, flashTimes[i], 0.5 / fps) << name << " flash " << i;
        EXPECT_NEAR(clicks[i], flashes[i], tolerance) << name << " click " << i;
    }
    return origin;
}

} // namespace testsupport
