#pragma once
// The settings an encoder or a multiplexer offers, read from its FFmpeg options: one row per
// option the user may change, with its kind, range, named values and help text, and a way to
// set it back. A settings page is built from these rows; no widget lives here.
#include <string>
#include <utility>
#include <vector>

namespace options {

struct AvOptionRow {
    enum class Kind { Integer, Real, Boolean, Choice, Text };

    std::string name; // as the options take it
    std::string help;
    Kind kind = Kind::Text;
    double minimum = 0; // Integer and Real
    double maximum = 0;
    std::string value;                // the current value as text; for a choice, its name
    std::vector<std::string> choices; // the named values of a choice
};

// The general options of an encoder that users look for; the codec's own options all come.
extern const std::vector<std::string> kEncoderGeneralOptions;
// Likewise for a multiplexer.
extern const std::vector<std::string> kMuxerGeneralOptions;

// Rows for `object` (anything the av_opt functions take, e.g. an encoder's or a muxer's
// context): the options of its own class named in `general`, then every option of its
// private part. Read-only and deprecated options are left out, so are options without a
// meaning for the user (binary blobs, dictionaries).
std::vector<AvOptionRow> ListAvOptions(void* object, const std::vector<std::string>& general);

// Whether `text` is a value the row accepts; if not, says why in words the user can act on.
bool CheckAvOptionValue(const AvOptionRow& row, const std::string& text, std::string* why);

// Sets one option from text; false with the library's reason when it refuses.
bool SetAvOption(void* object, const std::string& name, const std::string& text, std::string* why);

} // namespace options
