#pragma once
// The toolkit's own texts (the buttons of message boxes, the file and font dialogs) in the
// chosen language, replaced whenever the language changes, so that a box never mixes two.
class QLocale;

namespace language {

void UseToolkitTexts(const QLocale& locale);

} // namespace language
