#pragma once
// Whether an output file can be written where it is named, checked before a conversion
// builds anything, so that nothing runs (and nothing the user set is touched) when it cannot.
#include <QString>

namespace render {

// Empty when the file's folder exists and can be written in and the name is not that of a
// folder; otherwise the message that says what stands in the way.
QString OutputPlaceRefusal(const QString& path);

} // namespace render
