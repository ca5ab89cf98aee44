#pragma once
// Reading a typed number the way a dialog's fields are checked: the text must be a number of
// the right kind within its bounds, or the reason comes back in the framework's words
// ("Enter an integer.", "Enter a number between 0.01 and 65535.").
#include <QString>

namespace options {

// A whole number from `minimum` to `maximum`; surrounding blanks are allowed.
bool ReadIntegerField(const QString& text, int minimum, int maximum, int* value, QString* why);
// A decimal number from `minimum` to `maximum`, with a point or a comma before the decimals,
// held as a float.
bool ReadNumberField(const QString& text, float minimum, float maximum, float* value,
                     QString* why);

} // namespace options
