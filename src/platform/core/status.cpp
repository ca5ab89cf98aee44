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
    case E_PATH_NOT_FOUND:
        return "The system cannot find the path specified.";
    case E_WRITE_FAULT:
        return "The system cannot write to the specified device.";
    case E_FILE_EXISTS:
        return "The file exists.";
    case E_FILE_INVALID:
        return "The file was changed by another program while it was being read.";
    case VFW_S_PARTIAL_RENDER:
        return "Some of the streams in this movie are in an unsupported format.";
    case VFW_S_STATE_INTERMEDIATE:
        return "The state transition has not completed.";
    case VFW_E_ALREADY_CONNECTED:
        return "The operation cannot be performed because the pins are already connected.";
    case VFW_E_NOT_CONNECTED:
        return "The operation cannot be performed because the pins are not connected.";
    case VFW_E_NOT_FOUND:
        return "An object or name was not found.";
    case VFW_E_CANNOT_RENDER:
        return "No combination of filters could be found to render the stream.";
    case VFW_E_NOT_STOPPED:
        return "The operation could not be performed because the filter is not stopped.";
    case VFW_E_WRONG_STATE:
        return "The operation cannot be performed in the current state.";
    case VFW_E_TYPE_NOT_ACCEPTED:
        return "This pin cannot use the supplied media type.";
    case VFW_E_UNKNOWN_FILE_TYPE:
        return "The media type of this file is not recognized.";
    case VFW_E_INVALID_FILE_FORMAT:
        return "The file format is invalid.";
    case VFW_E_UNSUPPORTED_STREAM:
        return "Cannot play back the file: the format is not supported.";
    default:
        break;
    }
    char text[64];
    std::snprintf(text, sizeof text, "Unknown error 0x%08X.", static_cast<unsigned>(hr));
    return text;
}

} // namespace core
