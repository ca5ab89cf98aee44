#pragma once
// The fixed tables a language load walks: the locales a file name may name, and the keys a
// language file may hold.
#include <cstdint>
#include <span>

namespace language {

struct LocaleRow {
    std::uint16_t id; // Windows language identifier: primary language in the low 10 bits
    const char* name;
    const char* abbreviation; // three-letter abbreviation of the locale's language
};

struct LanguageKey {
    int id;
    const char* key;
};

// 273 rows, searched in order; the first match wins.
std::span<const LocaleRow> LocaleTable();
// 132 rows; several rows may share a key, so one text serves several numbers.
std::span<const LanguageKey> LanguageKeyTable();

} // namespace language
