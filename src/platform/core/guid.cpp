#include "guid.h"

#include <cstdio>

namespace core {

std::string GuidToString(const GUID& guid) {
    char text[39];
    const auto& b = guid.Data4;
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(guid.Data1), static_cast<unsigned>(guid.Data2),
                  static_cast<unsigned>(guid.Data3), b[0], b[1], b[2], b[3], b[4], b[5], b[6],
                  b[7]);
    return text;
}

} // namespace core
