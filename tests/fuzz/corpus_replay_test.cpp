// Every input of the fuzz corpora, the seeds and those that once found a fault, replayed
// through its target in the normal build, so that a mended parser stays mended.
#include "fuzz/fuzz_targets.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <iostream>

namespace {

struct Target {
    const char* folder; // under corpus/, as scripts/fuzz.sh names the targets
    int (*run)(const std::uint8_t*, std::size_t);
};

// Test names show the folder rather than the bytes of the parameter.
void PrintTo(const Target& target, std::ostream* out) { *out << target.folder; }

class CorpusReplay : public testing::TestWithParam<Target> {};

TEST_P(CorpusReplay, EveryInputRunsCleanly) {
    const QDir folder(QStringLiteral(QUILLET_FUZZ_CORPUS_DIR "/") + GetParam().folder);
    const QStringList files = folder.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty()) << folder.path().toStdString();
    for (const QString& name : files) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        const QByteArray bytes = file.readAll();
        // A target that aborts ends the program: the last name shown is the input that did it.
        std::cerr << "replaying " << file.fileName().toStdString() << std::endl;
        EXPECT_EQ(GetParam().run(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                 static_cast<std::size_t>(bytes.size())),
                  0)
            << file.fileName().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusReplay,
                         testing::Values(Target{"inifile", fuzz::FuzzIniFile},
                                         Target{"sync_list", fuzz::FuzzSyncList},
                                         Target{"language_file", fuzz::FuzzLanguageFile},
                                         Target{"time_text", fuzz::FuzzTimeText},
                                         Target{"profile_text", fuzz::FuzzProfileText}),
                         [](const testing::TestParamInfo<Target>& info) {
                             return std::string(info.param.folder);
                         });

} // namespace
