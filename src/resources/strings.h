#pragma once
// The built-in English string table, addressed by number.
#include <QString>

namespace resources {

// The text of string number id, or an empty text when the table has none.
QString BuiltInString(int id);

} // namespace resources
