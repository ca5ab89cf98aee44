#include "status.h"

#include <cstdio>

namespace core {

std::string StatusText(HRESULT hr) {
    switch (hr) {
    case S_OK:
        return "The operation completed successfully.";
    case S_FALSE:
        return "The operation completed with a false result.";
    case E_NOTIMPL:
        return "Not implemented.";
    case E_NOINTERFACE:
        return "No such interface supported.";
    case E_POINTER:
        return "Invalid pointer.";
    case E_ABORT:
        return "Operation aborted.";
    case E_FAIL:
        return "Unspecified error.";
    case E_UNEXPECTED:
        return "Catastrophic failure.";
    case E_ACCESSDENIED:
        return "Access is denied.";
    case E_OUTOFMEMORY:
        return "Not enough memory.";
    case E_INVALIDARG:
        return "One or more arguments are invalid.";
    case E_DISK_FULL:
        return "There is not enough space on the disk.";
    case E_FILE_NOT_FOUND:
        return "The system cannot find the file specified.";
    case E_WRITE_FAULT:
        return "The system cannot write to the specified device.";
    default:
        break;
    }
    char text[64];
    std::snprintf(text, sizeof text, "Unknown error 0x%08X.", static_cast<unsigned>(hr));
    return text;
}

} // namespace core
