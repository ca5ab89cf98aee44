#include "guid.h"

#include <QUuid>

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

GUID NameBasedGuid(const GUID& nameSpace, std::string_view name) {
    const QUuid space(nameSpace.Data1, nameSpace.Data2, nameSpace.Data3, nameSpace.Data4[0],
                      nameSpace.Data4[1], nameSpace.Data4[2], nameSpace.Data4[3],
                      nameSpace.Data4[4], nameSpace.Data4[5], nameSpace.Data4[6],
                      nameSpace.Data4[7]);
    const QUuid id =
        QUuid::createUuidV5(space, QByteArray(name.data(), static_cast<qsizetype>(name.size())));
    GUID guid{id.data1, id.data2, id.data3, {}};
    for (std::size_t i = 0; i < guid.Data4.size(); ++i)
        guid.Data4[i] = id.data4[i];
    return guid;
}

} // namespace core
