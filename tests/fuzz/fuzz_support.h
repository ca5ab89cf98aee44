#pragma once
// What the fuzz targets share: their checks, and the file an input is written to for the
// parsers that read files.
#include <string>
#include <string_view>

namespace fuzz {

// Reports the broken promise and aborts: libFuzzer keeps the input as a crash, and the replay
// test fails. Unlike assert, it stays in builds with NDEBUG.
[[noreturn]] void Fail(const char* condition, const char* file, int line);

// A temporary folder of this process, removed when it ends.
std::string TemporaryFolder();

// Writes bytes to the file of this name (it may name a subfolder) in TemporaryFolder(),
// replacing what an earlier input left there, and returns its path.
std::string WriteInputFile(const std::string& name, std::string_view bytes);

} // namespace fuzz

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::fuzz::Fail(#condition, __FILE__, __LINE__))
