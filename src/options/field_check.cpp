#include "options/field_check.h"

#include <cfloat>
#include <cmath>

namespace options {

bool ReadIntegerField(const QString& text, int minimum, int maximum, int* value, QString* why) {
    bool whole = false;
    // Read wider than int, so a number past the range gets the range message.
    const qlonglong number = text.trimmed().toLongLong(&whole);
    if (!whole) {
        *why = QStringLiteral("Enter an integer.");
        return false;
    }
    if (number < minimum || number > maximum) {
        *why = QStringLiteral("Enter an integer between %1 and %2.").arg(minimum).arg(maximum);
        return false;
    }
    *value = static_cast<int>(number);
    return true;
}

bool ReadNumberField(const QString& text, float minimum, float maximum, float* value,
                     QString* why) {
    bool number = false;
    QString typedText = text.trimmed();
    // A comma before the decimals, as many languages write it, reads as a point.
    if (!typedText.contains(u'.') && typedText.count(u',') == 1)
        typedText.replace(u',', u'.');
    const double typed = typedText.toDouble(&number);
    if (!number || !std::isfinite(typed)) {
        *why = QStringLiteral("Enter a number.");
        return false;
    }
    const float held = static_cast<float>(typed);
    if (!(held >= minimum && held <= maximum)) {
        *why = QStringLiteral("Enter a number between %1 and %2.")
                   .arg(QString::asprintf("%.*g", FLT_DIG, minimum),
                        QString::asprintf("%.*g", FLT_DIG, maximum));
        return false;
    }
    *value = held;
    return true;
}

} // namespace options
