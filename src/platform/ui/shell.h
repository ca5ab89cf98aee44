#pragma once
// Opening addresses and files with the programs the desktop associates with them.
// Nothing here builds a command line, so no address can smuggle in a command.
#include <QString>

#include <memory>

namespace ui {

// Results of opening an address, in the classic style: above 32 it was opened; 32 or less
// says why not.
enum OpenResult : int {
    SE_ERR_OUT_OF_RESOURCES = 0,
    SE_ERR_FNF = 2,
    SE_ERR_PNF = 3,
    SE_ERR_ACCESSDENIED = 5,
    SE_ERR_OOM = 8,
    SE_ERR_BAD_FORMAT = 11,
    SE_ERR_SHARE = 26,
    SE_ERR_ASSOCINCOMPLETE = 27,
    SE_ERR_DDETIMEOUT = 28,
    SE_ERR_DDEFAIL = 29,
    SE_ERR_DDEBUSY = 30,
    SE_ERR_NOASSOC = 31,
    SE_ERR_DLLNOTFOUND = 32,
    SE_OPENED = 33, // the least result that means success
};

inline bool Opened(int result) {
    return result > 32;
}

class Shell {
  public:
    virtual ~Shell() = default;
    // Opens a web address (or any URL); an OpenResult: SE_ERR_NOASSOC when the desktop
    // started no program for it, SE_ERR_FNF when it is no address at all.
    virtual int OpenUrl(const QString& url) = 0;
    // Opens a local file (the help page) with its associated program.
    virtual bool OpenFile(const QString& path) = 0;
};

Shell& CurrentShell();
std::unique_ptr<Shell> InstallShell(std::unique_ptr<Shell> shell);

} // namespace ui
