#pragma once
#include <QString>

#include <string>

namespace testsupport {

// Before the application object: no display needed (test discovery runs us without the
// test's environment).
void PrepareHeadless();
// Before the application object: a home folder of the test program's own, so that what
// libraries keep for the user (the sound client's files, caches) is written nowhere else.
// A runtime folder of its own too, unless the session has one: its sound server is there.
void UsePrivateHome();
// After it: the C numeric locale back, and settings in a private folder.
void AfterApplicationStarted();

// Points the program-wide settings store at a fresh temporary folder and returns it.
QString UseTemporarySettings();

// A fresh temporary folder, removed when the test program ends.
QString TemporaryFolder();
// Removes every folder TemporaryFolder made, for a program that ends without its teardown.
void RemoveTemporaryFolders();

// A file's bytes, or "" when it cannot be read; and writing bytes to a file.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

} // namespace testsupport
