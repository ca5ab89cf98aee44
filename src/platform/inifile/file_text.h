#pragma once
// The text of a profile file as the reader and the writer take it.
#include <optional>
#include <string>

namespace inifile {

// The whole file, or nothing when it does not exist or cannot be read.
std::optional<std::string> ReadFileText(const std::string& path);

} // namespace inifile
