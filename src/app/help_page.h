#pragma once
// Where the help page is: beside the program (a build) or in the installed data folder
// <prefix>/share/quillet beside <prefix>/bin.
#include <QString>

// The page for the program in `programFolder`; the one beside it when neither exists, so the
// message names where it was looked for first.
QString HelpPage(const QString& programFolder);
