#include "controls/hyperlink_reason.h"

#include "platform/ui/shell.h"

QString HyperLinkFailureReason(int result) {
    switch (result) {
    case ui::SE_ERR_OUT_OF_RESOURCES:
        return "The operating system is out\nof memory or resources.";
    case ui::SE_ERR_FNF:
        return "The specified file was not found.";
    case ui::SE_ERR_PNF:
        return "The specified path was not found.";
    case ui::SE_ERR_ACCESSDENIED:
        return "The operating system denied\naccess to the specified file.";
    case ui::SE_ERR_OOM:
        return "There was not enough memory to complete the operation.";
    case ui::SE_ERR_BAD_FORMAT:
        return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case ui::SE_ERR_SHARE:
        return "A sharing violation occurred. ";
    case ui::SE_ERR_ASSOCINCOMPLETE:
        return "The filename association is\nincomplete or invalid.";
    case ui::SE_ERR_DDETIMEOUT:
        return "The DDE transaction could not\nbe completed because the request timed out.";
    case ui::SE_ERR_DDEFAIL:
        return "The DDE transaction failed.";
    case ui::SE_ERR_DDEBUSY:
        return "The DDE transaction could not\nbe completed because other DDE transactions\nwere "
               "being processed.";
    case ui::SE_ERR_NOASSOC:
        return "There is no application associated\nwith the given filename extension.";
    case ui::SE_ERR_DLLNOTFOUND:
        return "The specified dynamic-link library was not found.";
    default:
        return QStringLiteral("Unknown Error (%1) occurred.").arg(result);
    }
}
