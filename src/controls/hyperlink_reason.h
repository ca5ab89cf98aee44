#pragma once
// Why a hyperlink could not be opened, in the words its message box shows.
#include <QString>

// The reason for an OpenResult of 32 or less; a number the table lacks is shown as it is.
QString HyperLinkFailureReason(int result);
