#pragma once
// What a user does to a dialog's controls, done through the widgets' own input.
#include <QString>

class QComboBox;
class QLineEdit;

namespace testsupport {

// Opens the drop-down list and clicks the row; false when the click did not select it.
bool PickRow(QComboBox* combo, int row);
// Replaces the edit's text by typing.
void TypeInto(QLineEdit* edit, const QString& text);

} // namespace testsupport
