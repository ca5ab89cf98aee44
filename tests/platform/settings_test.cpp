#include "platform/settings/store.h"
#include "support/small_file_system.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>

#include <vector>

TEST(SettingsStore, AbsentValuesReadAsTheCallersDefault) {
    settings::Store store(testsupport::TemporaryFolder(), "Morvane", "quillet");
    EXPECT_EQ(store.GetProfileInt("Settings", "SkipForward", 20), 20);
    EXPECT_EQ(store.GetProfileString("Option", "CurrentLanguage", "english"), "english");
}

TEST(SettingsStore, ValuesLiveUnderKeyWordAndApplicationName) {
    const QString root = testsupport::TemporaryFolder();
    {
        settings::Store store(root, "Morvane", "quillet");
        store.WriteProfileInt("Setup", "t_first_update", -5);
        store.WriteProfileString("Settings", "mf_audio_skip_forward", "0.050000");
    }
    EXPECT_TRUE(QFile::exists(root + "/Morvane/quillet.conf"));
    settings::Store again(root, "Morvane", "quillet");
    EXPECT_EQ(again.GetProfileInt("Setup", "t_first_update", 0), -5);
    EXPECT_EQ(again.GetProfileString("Settings", "mf_audio_skip_forward", ""), "0.050000");
    // A text that is no number reads as the integer default.
    EXPECT_EQ(again.GetProfileInt("Settings", "mf_audio_skip_forward", 7), 7);
    settings::Store other(root, "Morvane", "renamed");
    EXPECT_EQ(other.GetProfileInt("Setup", "t_first_update", 0), 0);
}

TEST(SettingsStore, IntegersKeepTheirLow32Bits) {
    const QString root = testsupport::TemporaryFolder();
    {
        QSettings raw(root + "/Morvane/quillet.conf", QSettings::IniFormat);
        raw.setValue("Setup/t_first_update", 4294967295LL);
    }
    settings::Store store(root, "Morvane", "quillet");
    EXPECT_EQ(store.GetProfileInt("Setup", "t_first_update", 0), -1);
}

TEST(SettingsStore, NamesMatchWhateverTheirLetterCaseAndKeepTheirFirstSpelling) {
    const QString root = testsupport::TemporaryFolder();
    {
        settings::Store store(root, "Morvane", "quillet");
        store.WriteProfileInt("english", "lfWeight", 700);
        EXPECT_EQ(store.GetProfileInt("English", "LFWEIGHT", 400), 700);
        store.WriteProfileInt("ENGLISH", "LfWeight", 400);
        store.WriteProfileString("English", "lfFaceName", "DejaVu Sans");
    }
    QSettings raw(root + "/Morvane/quillet.conf", QSettings::IniFormat);
    EXPECT_EQ(raw.childGroups(), QStringList({"english"}));
    raw.beginGroup("english");
    EXPECT_EQ(raw.childKeys(), QStringList({"lfFaceName", "lfWeight"}));
    EXPECT_EQ(raw.value("lfWeight").toInt(), 400);
    raw.endGroup();
    settings::Store again(root, "Morvane", "quillet");
    EXPECT_EQ(again.GetProfileString("ENGLISH", "LFFACENAME", ""), "DejaVu Sans");
}

TEST(SettingsStore, WhereTwoSpellingsWereStoredTheExactOneWins) {
    const QString root = testsupport::TemporaryFolder();
    {
        QSettings raw(root + "/Morvane/quillet.conf", QSettings::IniFormat);
        raw.setValue("english/lfWeight", 700);
        raw.setValue("English/lfWeight", 400);
        raw.setValue("English/lfHeight", -16);
    }
    settings::Store store(root, "Morvane", "quillet");
    EXPECT_EQ(store.GetProfileInt("english", "lfWeight", 0), 700);
    EXPECT_EQ(store.GetProfileInt("English", "lfWeight", 0), 400);
    // A value only one spelling holds is found from the other.
    EXPECT_EQ(store.GetProfileInt("english", "lfHeight", 0), -16);
}

TEST(SettingsStore, ForeignValueIsSwitchedOnOnlyWhereItExists) {
    const QString root = testsupport::TemporaryFolder();
    settings::SetFirstByteIfPresent(root, "DivXNetworks/DivX4Windows", "Disable feedback");
    EXPECT_FALSE(QFile::exists(root + "/DivXNetworks/DivX4Windows.conf"));
    {
        QSettings raw(root + "/DivXNetworks/DivX4Windows.conf", QSettings::IniFormat);
        raw.setValue("Disable feedback", 0x1200);
        raw.setValue("Other", QByteArray("\x00\x02", 2));
    }
    settings::SetFirstByteIfPresent(root, "DivXNetworks/DivX4Windows", "Disable feedback");
    settings::SetFirstByteIfPresent(root, "DivXNetworks/DivX4Windows", "Other");
    settings::SetFirstByteIfPresent(root, "DivXNetworks/DivX4Windows", "Absent");
    QSettings raw(root + "/DivXNetworks/DivX4Windows.conf", QSettings::IniFormat);
    EXPECT_EQ(raw.value("Disable feedback").toLongLong(), 0x1201);
    EXPECT_EQ(raw.value("Other").toByteArray(), QByteArray("\x01\x02", 2));
    EXPECT_FALSE(raw.contains("Absent"));
}

// A full disk or a read-only folder: the file keeps what it had, the value holds for the run,
// and the first failure is told once.
TEST(SettingsStore, AFailedWriteKeepsTheFileAndIsToldOnce) {
    for (const bool readOnly : {false, true}) {
        testsupport::SmallFileSystem disk(64);
        if (!disk.Mounted())
            GTEST_SKIP() << "this machine does not let the test mount a small file system";
        settings::Store store(disk.Path(), "Morvane", "quillet");
        std::vector<QString> told;
        store.onWriteFailure = [&](const QString& path) { told.push_back(path); };
        store.WriteProfileString("Settings", "OutputName", "/videos/first.avi");
        ASSERT_TRUE(told.empty());
        const QString file = disk.Path() + "/Morvane/quillet.conf";
        const std::string before = testsupport::ReadFileBytes(file.toStdString());
        if (readOnly)
            ASSERT_TRUE(disk.MakeReadOnly());
        else
            disk.Fill();

        store.WriteProfileString("Settings", "OutputName", "/videos/" + QString(3000, 'n') + ".avi");
        store.WriteProfileInt("Settings", "SkipForward", 7);
        EXPECT_EQ(told, std::vector<QString>{file}) << "read-only " << readOnly;
        EXPECT_EQ(testsupport::ReadFileBytes(file.toStdString()), before);
        EXPECT_EQ(store.GetProfileInt("Settings", "SkipForward", 20), 7);
        EXPECT_NE(before.find("/videos/first.avi"), std::string::npos);
    }
}
