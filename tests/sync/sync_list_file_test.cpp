#include "sync/sync_list_file.h"
#include "support/small_file_system.h"
#include "support/test_environment.h"

#include <QString>
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

using avsync::LoadedSyncList;
using avsync::LoadSyncList;
using avsync::SaveSyncList;
using avsync::SyncPoint;

namespace {
constexpr REFERENCE_TIME S = UNITS;

std::string Folder() { return testsupport::TemporaryFolder().toStdString() + "/"; }
} // namespace

TEST(SyncListFile, EveryNameGetsTheIniExtensionAndKeepsItsFolder) {
    EXPECT_EQ(avsync::SyncListFileName("/home/u/list"), "/home/u/list.ini");
    EXPECT_EQ(avsync::SyncListFileName("/home/u/list.txt"), "/home/u/list.ini");
    EXPECT_EQ(avsync::SyncListFileName("/home/u/list.ini"), "/home/u/list.ini");
    EXPECT_EQ(avsync::SyncListFileName("/home/u/my.lists/list"), "/home/u/my.lists/list.ini");
    EXPECT_EQ(avsync::SyncListFileName("/home/u/a.b.c"), "/home/u/a.b.ini");
    EXPECT_EQ(avsync::SyncListFileName("list"), "list.ini");
    EXPECT_EQ(avsync::FolderOf("/home/u/my.lists/list.ini"), "/home/u/my.lists/");
    EXPECT_EQ(avsync::FolderOf("list.ini"), "");
}

TEST(SyncListFile, SavedListHoldsTheKeysInOrderWithCrLfLineEnds) {
    const std::string path = Folder() + "list.ini";
    ASSERT_TRUE(SaveSyncList(path, "/videos/out.wmv", {{10 * S, 12 * S}, {200'000'001, -5'000'000}}));
    EXPECT_EQ(testsupport::ReadFileBytes(path), "[FILENAME]\r\nVIDEO_NAME=/videos/out.wmv\r\nTOTAL_SYNC_POINTS=2\r\n"
                             "[SYNC_LIST]\r\nSYNC_VIDEO_TIME_0=10.0000000\r\nSYNC_AUDIO_TIME_0=12.0000000\r\n"
                             "SYNC_VIDEO_TIME_1=20.0000001\r\nSYNC_AUDIO_TIME_1=-0.5000000\r\n");
    const LoadedSyncList loaded = LoadSyncList(path);
    EXPECT_EQ(loaded.status, LoadedSyncList::Status::Loaded);
    EXPECT_EQ(loaded.points, (std::vector<SyncPoint>{{10 * S, 12 * S}, {200'000'001, -5'000'000}}));
}

TEST(SyncListFile, ALoadedListSavesAndLoadsWithTheSamePoints) {
    // Hand-written times of more whole seconds than a double shows to the last unit.
    const std::string path = Folder() + "long.ini";
    testsupport::WriteFileBytes(path, "[FILENAME]\nTOTAL_SYNC_POINTS=1\n[SYNC_LIST]\n"
                                      "SYNC_VIDEO_TIME_0=92233720368.1234567\n"
                                      "SYNC_AUDIO_TIME_0=-922337203685.4775808\n");
    const LoadedSyncList loaded = LoadSyncList(path);
    ASSERT_EQ(loaded.status, LoadedSyncList::Status::Loaded);
    ASSERT_TRUE(SaveSyncList(path, "out.avi", loaded.points));
    const LoadedSyncList again = LoadSyncList(path);
    EXPECT_EQ(again.status, LoadedSyncList::Status::Loaded);
    EXPECT_EQ(again.points, loaded.points);
    EXPECT_EQ(again.points, (std::vector<SyncPoint>{
                                {922'337'203'681'234'567, std::numeric_limits<REFERENCE_TIME>::min()}}));
}

TEST(SyncListFile, AnEmptyListSavesTheCountAloneAndLoadsEmpty) {
    const std::string path = Folder() + "empty.ini";
    ASSERT_TRUE(SaveSyncList(path, "", {}));
    EXPECT_EQ(testsupport::ReadFileBytes(path), "[FILENAME]\r\nVIDEO_NAME=\r\nTOTAL_SYNC_POINTS=0\r\n");
    const LoadedSyncList loaded = LoadSyncList(path);
    EXPECT_EQ(loaded.status, LoadedSyncList::Status::Loaded);
    EXPECT_TRUE(loaded.points.empty());
}

TEST(SyncListFile, LoadsPointsInFileOrderWithMissingTimesAsZero) {
    const std::string path = Folder() + "hand.ini";
    testsupport::WriteFileBytes(path, "[filename]\nTotal_Sync_Points = 3\n[SYNC_LIST]\n"
                   "SYNC_VIDEO_TIME_0=20\nSYNC_AUDIO_TIME_0=12.3456789\n"
                   "SYNC_VIDEO_TIME_1=5.5\n"
                   "SYNC_VIDEO_TIME_2=later\nSYNC_AUDIO_TIME_2= 1.5 \nSYNC_VIDEO_TIME_3=99\n");
    const LoadedSyncList loaded = LoadSyncList(path);
    EXPECT_EQ(loaded.status, LoadedSyncList::Status::Loaded);
    EXPECT_EQ(loaded.points, (std::vector<SyncPoint>{{20 * S, 123'456'789}, {55'000'000, 0}, {0, 15'000'000}}));
}

TEST(SyncListFile, AFileThatIsNoListIsRefused) {
    const std::string path = Folder() + "other.ini";
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 7919) % 256);
    for (const std::string& text :
         {std::string(), std::string("just some notes\nabout a video\n"), binary,
          std::string("[SYNC_LIST]\nSYNC_VIDEO_TIME_0=1\n"),
          std::string("[FILENAME]\nVIDEO_NAME=a.avi\n[SYNC_LIST]\nTOTAL_SYNC_POINTS=1\n"),
          std::string("[FILENAME]\nTOTAL_SYNC_POINTS=abc\n"),
          std::string("[FILENAME]\nTOTAL_SYNC_POINTS=\n"),
          std::string("[FILENAME]\nTOTAL_SYNC_POINTS=2 points\n"),
          std::string("[FILENAME]\nTOTAL_SYNC_POINTS=-\n")}) {
        testsupport::WriteFileBytes(path, text);
        const LoadedSyncList loaded = LoadSyncList(path);
        EXPECT_EQ(loaded.status, LoadedSyncList::Status::NotASyncList) << text.substr(0, 60);
        EXPECT_TRUE(loaded.points.empty());
    }
    testsupport::WriteFileBytes(path, "[FILENAME]\nTOTAL_SYNC_POINTS= +2 \n");
    EXPECT_EQ(LoadSyncList(path).points.size(), 2u);
}

TEST(SyncListFile, ATimeNoTimeCanHoldRefusesTheList) {
    const std::string path = Folder() + "huge.ini";
    for (const char* value : {"1e400", "inf", "-inf", "1e18", "nan", "-99999999999999999999"}) {
        testsupport::WriteFileBytes(path,
                                    std::string("[FILENAME]\nTOTAL_SYNC_POINTS=3\n[SYNC_LIST]\n"
                                                "SYNC_VIDEO_TIME_0=1\nSYNC_AUDIO_TIME_0=1\n"
                                                "SYNC_VIDEO_TIME_1=2\nSYNC_AUDIO_TIME_1=") +
                                        value + "\n");
        const LoadedSyncList loaded = LoadSyncList(path);
        EXPECT_EQ(loaded.status, LoadedSyncList::Status::TimeOutOfRange) << value;
        EXPECT_EQ(loaded.badKey, "SYNC_AUDIO_TIME_1") << value;
        EXPECT_EQ(loaded.badText, value);
        EXPECT_TRUE(loaded.points.empty()) << value;
    }
}

TEST(SyncListFile, AListSavedByAnEditorLoads) {
    const std::string path = Folder() + "marked.ini";
    const std::string text =
        "[FILENAME]\r\nVIDEO_NAME=/v/\xC3\xA9t\xC3\xA9.avi\r\nTOTAL_SYNC_POINTS=1\r\n"
        "[SYNC_LIST]\r\nSYNC_VIDEO_TIME_0=2.5\r\nSYNC_AUDIO_TIME_0=3.25\r\n";
    const std::u16string utf16 = QString::fromStdString(text).toStdU16String();
    std::string utf16Bytes = "\xFF\xFE";
    for (char16_t unit : utf16) {
        utf16Bytes += static_cast<char>(unit & 0xFF);
        utf16Bytes += static_cast<char>(unit >> 8);
    }
    std::string crOnly = text;
    crOnly.erase(std::remove(crOnly.begin(), crOnly.end(), '\n'), crOnly.end());
    for (const std::string& bytes : {"\xEF\xBB\xBF" + text, utf16Bytes, crOnly}) {
        testsupport::WriteFileBytes(path, bytes);
        const LoadedSyncList loaded = LoadSyncList(path);
        EXPECT_EQ(loaded.status, LoadedSyncList::Status::Loaded);
        EXPECT_EQ(loaded.points, (std::vector<SyncPoint>{{25'000'000, 32'500'000}}));
    }
}

TEST(SyncListFile, CountsOutsideTheListCapacityAreRefused) {
    const std::string path = Folder() + "count.ini";
    for (const char* count : {"1001", "-1", "99999999999"}) {
        testsupport::WriteFileBytes(path, std::string("[FILENAME]\nTOTAL_SYNC_POINTS=") + count + "\n");
        const LoadedSyncList loaded = LoadSyncList(path);
        EXPECT_EQ(loaded.status, LoadedSyncList::Status::CountOutOfRange) << count;
        EXPECT_TRUE(loaded.points.empty()) << count;
    }
    testsupport::WriteFileBytes(path, "[FILENAME]\nTOTAL_SYNC_POINTS=1000\n");
    const LoadedSyncList full = LoadSyncList(path);
    EXPECT_EQ(full.status, LoadedSyncList::Status::Loaded);
    EXPECT_EQ(full.points.size(), 1000u);
}

TEST(SyncListFile, AMissingFileIsUnreadable) {
    const LoadedSyncList loaded = LoadSyncList(Folder() + "missing.ini");
    EXPECT_EQ(loaded.status, LoadedSyncList::Status::Unreadable);
    EXPECT_TRUE(loaded.points.empty());
}

TEST(SyncListFile, SavingReplacesTheOldFileWholeOrNotAtAll) {
    const std::string folder = Folder();
    const std::string path = folder + "old.ini";
    const std::string old = "[FILENAME]\r\nEXTRA=1\r\nTOTAL_SYNC_POINTS=7\r\n[OTHER]\r\nx=y\r\n";
    testsupport::WriteFileBytes(path, old);
    ASSERT_TRUE(SaveSyncList(path, "out.avi", {{1 * S, 1 * S}}));
    EXPECT_EQ(testsupport::ReadFileBytes(path), "[FILENAME]\r\nVIDEO_NAME=out.avi\r\nTOTAL_SYNC_POINTS=1\r\n"
                             "[SYNC_LIST]\r\nSYNC_VIDEO_TIME_0=1.0000000\r\nSYNC_AUDIO_TIME_0=1.0000000\r\n");

    // A name so long that no file can be made beside it: the save fails and the old file stays.
    const std::string longPath = folder + std::string(248, 'n') + ".ini";
    testsupport::WriteFileBytes(longPath, old);
    ASSERT_EQ(testsupport::ReadFileBytes(longPath), old);
    EXPECT_FALSE(SaveSyncList(longPath, "out.avi", {{1 * S, 1 * S}}));
    EXPECT_EQ(testsupport::ReadFileBytes(longPath), old);

    EXPECT_FALSE(SaveSyncList(folder + "no/such/folder/list.ini", "", {}));
}

// A list saved on a full disk or into a read-only folder: false, and the list saved there
// before is still whole.
TEST(SyncListFile, AFailedSaveKeepsTheListThatWasThere) {
    for (const bool readOnly : {false, true}) {
        testsupport::SmallFileSystem disk(64);
        if (!disk.Mounted())
            GTEST_SKIP() << "this machine does not let the test mount a small file system";
        const std::string path = disk.Path().toStdString() + "/talk.ini";
        ASSERT_TRUE(SaveSyncList(path, "/videos/out.wmv", {{10 * S, 12 * S}}));
        const std::string before = testsupport::ReadFileBytes(path);
        if (readOnly)
            ASSERT_TRUE(disk.MakeReadOnly());
        else
            disk.Fill();
        std::vector<SyncPoint> many;
        for (int i = 0; i < 2000; ++i)
            many.push_back({i * S, i * S + S / 10});
        EXPECT_FALSE(SaveSyncList(path, "/videos/out.wmv", many)) << "read-only " << readOnly;
        EXPECT_EQ(testsupport::ReadFileBytes(path), before);
        const LoadedSyncList loaded = LoadSyncList(path);
        ASSERT_EQ(loaded.points.size(), 1u);
    }
}
