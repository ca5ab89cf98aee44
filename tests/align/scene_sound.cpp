#include "align/scene_sound.h"

#include "align/tool_run.h"
#include "support/test_environment.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace aligntest {

namespace {

const char* const kWords[] = {
    "river",   "window",  "seven",    "garden",  "silver",   "morning", "basket",  "thunder",
    "quiet",   "planet",  "orange",   "little",  "market",   "engine",  "paper",   "yellow",
    "castle",  "winter",  "forest",   "candle",  "pocket",   "marble",  "station", "harbour",
    "lemon",   "violin",  "shadow",   "bridge",  "copper",   "meadow",  "falcon",  "tunnel",
    "anchor",  "biscuit", "compass",  "desert",  "feather",  "glacier", "hammer",  "island",
    "jacket",  "kettle",  "ladder",   "magnet",  "needle",   "oyster",  "pepper",  "quarter",
    "rocket",  "saddle",  "teacup",   "umbrella", "velvet",  "walnut",  "zebra",   "bottle",
    "camera",  "dolphin", "elephant", "fountain", "giraffe", "horizon", "igloo",   "jungle",
    "kitchen", "lantern", "mountain", "notebook", "octopus", "pyramid", "rainbow", "sandwich",
    "tiger",   "volcano", "whistle",  "yogurt",  "blue",     "green",   "slowly",  "quickly",
    "under",   "over",    "behind",   "beside",  "twelve",   "ninety",  "forty",   "eight",
    "carry",   "listen",  "follow",   "gather",  "open",     "wander",  "borrow",  "measure"};

// Random words in sentences, spoken by one voice.
std::vector<float> Speech(std::mt19937& random, const QString& voice, int pitch, int words) {
    std::uniform_int_distribution<int> word(0, int(std::size(kWords)) - 1), length(5, 11);
    QString text;
    for (int w = 0, sentence = length(random); w < words; ++w) {
        text += kWords[word(random)];
        text += --sentence == 0 ? ". " : " ";
        if (sentence == 0)
            sentence = length(random);
    }
    const QString folder = testsupport::TemporaryFolder();
    const QString textFile = folder + "/speech.txt", wav = folder + "/speech.wav";
    QFile file(textFile);
    file.open(QIODevice::WriteOnly);
    file.write(text.toUtf8());
    file.close();
    RunTool("espeak-ng", {"-v", voice, "-p", QString::number(pitch), "-s", "165", "-f", textFile, "-w", wav});
    return DecodeToMono(wav, kSceneRate);
}

void AddTone(std::mt19937& random, std::vector<float>* scene) {
    std::uniform_real_distribution<double> frequency(250, 2500), seconds(0.15, 0.8), level(0.1, 0.3);
    const double f = frequency(random), a = level(random);
    const int count = int(seconds(random) * kSceneRate), fade = kSceneRate / 100;
    for (int i = 0; i < count; ++i) {
        const double envelope = std::min({1.0, double(i) / fade, double(count - i) / fade});
        scene->push_back(float(a * envelope * std::sin(2 * std::numbers::pi * f * i / kSceneRate)));
    }
}

void AddNoiseBurst(std::mt19937& random, std::vector<float>* scene) {
    std::uniform_real_distribution<double> seconds(0.05, 0.4), level(0.05, 0.2), smoothing(0, 0.9);
    std::normal_distribution<double> noise(0, 1);
    const double a = level(random), keep = smoothing(random);
    const int count = int(seconds(random) * kSceneRate);
    double state = 0;
    for (int i = 0; i < count; ++i) {
        state = keep * state + (1 - keep) * noise(random);
        scene->push_back(float(a * state));
    }
}

} // namespace

std::vector<float> MakeScene(double seconds, unsigned seed) {
    std::mt19937 random(seed);
    const int total = int(seconds * kSceneRate);
    // More speech than the scene needs, in three voices.
    std::vector<float> speech;
    const QString voices[] = {"en-us", "en-gb", "en-gb-scotland"};
    std::uniform_int_distribution<int> pitch(30, 70);
    for (const QString& voice : voices) {
        const std::vector<float> part = Speech(random, voice, pitch(random), int(seconds * 0.8));
        speech.insert(speech.end(), part.begin(), part.end());
    }
    std::vector<float> scene;
    std::uniform_real_distribution<double> choice(0, 1), piece(2, 6), gap(0.05, 0.5);
    std::size_t spoken = 0;
    while (int(scene.size()) < total) {
        const double kind = choice(random);
        if (kind < 0.6 && spoken < speech.size()) {
            const std::size_t count = std::min(speech.size() - spoken, std::size_t(piece(random) * kSceneRate));
            for (std::size_t i = 0; i < count; ++i)
                scene.push_back(speech[spoken + i]);
            spoken += count;
        } else if (kind < 0.8) {
            AddTone(random, &scene);
        } else {
            AddNoiseBurst(random, &scene);
        }
        scene.resize(scene.size() + std::size_t(gap(random) * kSceneRate), 0.0f);
    }
    scene.resize(std::size_t(total));
    const float peak = std::max(*std::max_element(scene.begin(), scene.end()),
                                -*std::min_element(scene.begin(), scene.end()));
    for (float& sample : scene)
        sample *= 0.45f / peak;
    std::normal_distribution<double> room(0, 0.002);
    for (float& sample : scene)
        sample += float(room(random));
    return scene;
}

} // namespace aligntest
