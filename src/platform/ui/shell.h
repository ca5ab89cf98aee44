#pragma once
// Opening addresses and files with the programs the desktop associates with them.
// Nothing here builds a command line, so no address can smuggle in a command.
#include <QString>

#include <memory>

namespace ui {

class Shell {
  public:
    virtual ~Shell() = default;
    // Opens a web address (or any URL); false when no program could be started for it.
    virtual bool OpenUrl(const QString& url) = 0;
    // Opens a local file (the help page) with its associated program.
    virtual bool OpenFile(const QString& path) = 0;
};

Shell& CurrentShell();
std::unique_ptr<Shell> InstallShell(std::unique_ptr<Shell> shell);

} // namespace ui
