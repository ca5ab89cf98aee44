#include "options/av_option_rows.h"

extern "C" {
#include <libavutil/error.h>
#include <libavutil/eval.h>
#include <libavutil/mem.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>

namespace options {

const std::vector<std::string> kEncoderGeneralOptions = {
    "b",       "g",     "bf",    "qmin", "qmax", "global_quality", "compression_level",
    "profile", "level", "cutoff"};
const std::vector<std::string> kMuxerGeneralOptions = {"max_interleave_delta", "flush_packets"};

namespace {

bool Offered(const AVOption* option) {
    if (option->flags & (AV_OPT_FLAG_READONLY | AV_OPT_FLAG_DEPRECATED))
        return false;
    switch (option->type) {
    case AV_OPT_TYPE_CONST:
    case AV_OPT_TYPE_BINARY:
    case AV_OPT_TYPE_DICT:
        return false;
    default:
        return true;
    }
}

std::string GetText(void* object, const AVOption* option) {
    std::uint8_t* text = nullptr;
    if (av_opt_get(object, option->name, 0, &text) < 0 || !text)
        return {};
    std::string value(reinterpret_cast<const char*>(text));
    av_free(text);
    return value;
}

// The named values of an option's unit, and the name of the current value among them.
void AddChoices(void* object, const AVOption* option, AvOptionRow& row) {
    std::int64_t current = 0;
    const bool known = av_opt_get_int(object, option->name, 0, &current) >= 0;
    for (const AVOption* named = nullptr; (named = av_opt_next(object, named));) {
        if (named->type != AV_OPT_TYPE_CONST || !named->unit ||
            std::strcmp(named->unit, option->unit) != 0)
            continue;
        row.choices.push_back(named->name);
        if (known && named->default_val.i64 == current)
            row.value = named->name;
    }
}

AvOptionRow RowOf(void* object, const AVOption* option) {
    AvOptionRow row;
    row.name = option->name;
    row.help = option->help ? option->help : "";
    row.minimum = option->min;
    row.maximum = option->max;
    row.value = GetText(object, option);
    switch (option->type) {
    case AV_OPT_TYPE_INT:
    case AV_OPT_TYPE_INT64:
    case AV_OPT_TYPE_UINT64:
        row.kind = AvOptionRow::Kind::Integer;
        if (option->unit) {
            row.kind = AvOptionRow::Kind::Choice;
            AddChoices(object, option, row);
        }
        break;
    case AV_OPT_TYPE_DOUBLE:
    case AV_OPT_TYPE_FLOAT:
        row.kind = AvOptionRow::Kind::Real;
        break;
    case AV_OPT_TYPE_BOOL:
        // A boolean that may be left to the library has a third value.
        if (option->min < 0) {
            row.kind = AvOptionRow::Kind::Choice;
            row.choices = {"auto", "false", "true"};
        } else {
            row.kind = AvOptionRow::Kind::Boolean;
        }
        break;
    default:
        row.kind = AvOptionRow::Kind::Text;
        break;
    }
    return row;
}

std::string Number(double value, bool whole) {
    char text[64];
    std::snprintf(text, sizeof text, whole ? "%.0f" : "%g", value);
    return text;
}

// Numbers as the options read them: decimal, with an SI suffix allowed ("2M", "128k").
bool ParseNumber(const std::string& text, double* value) {
    if (text.empty())
        return false;
    char* tail = nullptr;
    *value = av_strtod(text.c_str(), &tail);
    return tail && *tail == '\0' && std::isfinite(*value);
}

} // namespace

std::vector<AvOptionRow> ListAvOptions(void* object, const std::vector<std::string>& general) {
    std::vector<AvOptionRow> rows;
    if (!object)
        return rows;
    for (const std::string& name : general) {
        const AVOption* option = av_opt_find(object, name.c_str(), nullptr, 0, 0);
        if (option && Offered(option))
            rows.push_back(RowOf(object, option));
    }
    for (void* child = nullptr; (child = av_opt_child_next(object, child));) {
        for (const AVOption* option = nullptr; (option = av_opt_next(child, option));) {
            if (Offered(option))
                rows.push_back(RowOf(child, option));
        }
    }
    return rows;
}

bool CheckAvOptionValue(const AvOptionRow& row, const std::string& text, std::string* why) {
    const auto range = [&](bool whole) {
        *why = "Enter a number between " + Number(row.minimum, whole) + " and " +
               Number(row.maximum, whole) + " for \"" + row.name + "\".";
        return false;
    };
    double number = 0;
    switch (row.kind) {
    case AvOptionRow::Kind::Integer:
        if (!ParseNumber(text, &number) || number != std::floor(number) || number < row.minimum ||
            number > row.maximum)
            return range(true);
        return true;
    case AvOptionRow::Kind::Real:
        if (!ParseNumber(text, &number) || number < row.minimum || number > row.maximum)
            return range(false);
        return true;
    case AvOptionRow::Kind::Choice:
        if (std::find(row.choices.begin(), row.choices.end(), text) != row.choices.end())
            return true;
        if (ParseNumber(text, &number) && number >= row.minimum && number <= row.maximum)
            return true;
        *why = "\"" + text + "\" is not one of the values of \"" + row.name + "\".";
        return false;
    case AvOptionRow::Kind::Boolean:
    case AvOptionRow::Kind::Text:
        return true;
    }
    return true;
}

bool SetAvOption(void* object, const std::string& name, const std::string& text, std::string* why) {
    const int error = av_opt_set(object, name.c_str(), text.c_str(), AV_OPT_SEARCH_CHILDREN);
    if (error >= 0)
        return true;
    char reason[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, reason, sizeof reason);
    *why = "\"" + text + "\" cannot be set for \"" + name + "\": " + reason + ".";
    return false;
}

} // namespace options
