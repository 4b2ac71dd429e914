#include "common/CompactJson.h"

#include <cstdint>

namespace {

bool isPlain(const std::string& text) {
    for (char c : text) {
        if (c < 0x20 || c > 0x7e || c == '"' || c == '\\') {
            return false;
        }
    }
    return true;
}

// Appends the text of a value that needs neither escaping nor number formatting; false, with
// out unspecified, for any other.
bool appendSimple(const Json& value, std::string& out) {
    switch (value.type()) {
        case Json::value_t::null:
            out += "null";
            return true;
        case Json::value_t::boolean:
            out += value.get<bool>() ? "true" : "false";
            return true;
        case Json::value_t::number_integer:
            out += std::to_string(value.get<std::int64_t>());
            return true;
        case Json::value_t::number_unsigned:
            out += std::to_string(value.get<std::uint64_t>());
            return true;
        case Json::value_t::string: {
            const std::string& text = value.get_ref<const std::string&>();
            if (!isPlain(text)) {
                return false;
            }
            out += '"';
            out += text;
            out += '"';
            return true;
        }
        default:
            return false;
    }
}

// The same for an array of such values.
bool appendSimpleArray(const Json& value, std::string& out) {
    out += '[';
    bool first = true;
    for (const Json& element : value) {
        if (!first) {
            out += ',';
        }
        first = false;
        if (!appendSimple(element, out)) {
            return false;
        }
    }
    out += ']';
    return true;
}

}  // namespace

std::string compactJson(const Json& value) {
    std::string out;
    if (value.is_array() ? appendSimpleArray(value, out) : appendSimple(value, out)) {
        return out;
    }
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}
