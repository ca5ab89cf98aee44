#pragma once
// A file system of a few kilobytes mounted for one test (a tmpfs), to provoke the failures of
// a full disk and of a folder that cannot be written. Mounting needs the right to mount; where
// the machine refuses it, Mounted() is false and the test skips.
#include <QString>

namespace testsupport {

class SmallFileSystem {
  public:
    explicit SmallFileSystem(int kilobytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool Mounted() const { return mounted_; }
    QString Path() const { return path_; }
    // Takes up every free byte with a filler file.
    void Fill();
    // Makes the whole file system read-only; root's rights do not pass that.
    bool MakeReadOnly();

  private:
    QString path_;
    bool mounted_ = false;
};

} // namespace testsupport
