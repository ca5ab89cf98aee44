#pragma once
// The fuzz targets of the parsers of outside text. Each takes any bytes and returns 0; a
// parser that breaks one of its promises aborts the run (see FUZZ_CHECK). The libFuzzer
// programs and the corpus replay test call the same functions.
#include <cstddef>
#include <cstdint>

namespace fuzz {

// Any bytes as a private-profile file, read by both readers and written back.
int FuzzIniFile(const std::uint8_t* data, std::size_t size);
// Any bytes as a synchronization-list file; a list that loads is saved and loaded again.
int FuzzSyncList(const std::uint8_t* data, std::size_t size);
// The first byte picks the file name (and so the encoding rule and the legacy code page), the
// rest is the language file.
int FuzzLanguageFile(const std::uint8_t* data, std::size_t size);
// Any bytes as a typed time or number.
int FuzzTimeText(const std::uint8_t* data, std::size_t size);
// Any bytes as a saved Windows Media profile text.
int FuzzProfileText(const std::uint8_t* data, std::size_t size);

} // namespace fuzz
