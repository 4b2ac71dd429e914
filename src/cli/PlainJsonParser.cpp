#include "cli/PlainJsonParser.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace {

// A recursive descent over the text. Every method returns false at the first byte it does
// not take; nothing is reported, the caller falls back to the library's parser.
class PlainParser {
public:
    PlainParser(const std::string& text, int maxDepth)
        : p(text.data()), end(text.data() + text.size()), depthLeft(maxDepth) {}

    bool parseDocument(Json& value) {
        skipWhitespace();
        if (!parseValue(value)) {
            return false;
        }
        skipWhitespace();
        return p == end;
    }

private:
    const char* p;
    const char* const end;
    int depthLeft;
    std::string number;  // the text of a number handed to strtod or strtoull

    // The library skips these four and nothing else.
    void skipWhitespace() {
        while (p < end && (*p == ' ' || *p == '\n' || *p == '\r' || *p == '\t')) {
            ++p;
        }
    }

    // True when the next byte is c.
    bool at(char c) const { return p < end && *p == c; }

    bool literal(const char* word, std::size_t length) {
        if (static_cast<std::size_t>(end - p) < length || std::memcmp(p, word, length) != 0) {
            return false;
        }
        p += length;
        return true;
    }

    bool parseValue(Json& value) {
        if (p == end) {
            return false;
        }
        switch (*p) {
            case '{':
                return parseObject(value);
            case '[':
                return parseArray(value);
            case '"': {
                std::string text;
                if (!parseString(text)) {
                    return false;
                }
                value = std::move(text);
                return true;
            }
            case 't':
                value = true;
                return literal("true", 4);
            case 'f':
                value = false;
                return literal("false", 5);
            case 'n':
                value = nullptr;
                return literal("null", 4);
            default:
                return parseNumber(value);
        }
    }

    // p at an opening bracket: steps into the container; false beyond the depth limit.
    bool enter() {
        if (--depthLeft < 0) {
            return false;
        }
        ++p;
        skipWhitespace();
        return true;
    }

    // True, stepping out of the container, when its closing bracket is next.
    bool leave(char close) {
        if (!at(close)) {
            return false;
        }
        ++p;
        ++depthLeft;
        return true;
    }

    enum class Next { Element, Closed, Bad };

    // After an element: a comma (skipped, with the blanks after it), the closing bracket (the
    // container is left) or anything else.
    Next afterElement(char close) {
        skipWhitespace();
        if (at(',')) {
            ++p;
            skipWhitespace();
            return Next::Element;
        }
        return leave(close) ? Next::Closed : Next::Bad;
    }

    bool parseObject(Json& value) {
        if (!enter()) {
            return false;
        }
        value = Json::object();
        auto& members = value.get_ref<Json::object_t&>();
        if (leave('}')) {
            return true;
        }
        for (;;) {
            if (!at('"')) {
                return false;
            }
            std::string key;
            if (!parseString(key)) {
                return false;
            }
            skipWhitespace();
            if (!at(':')) {
                return false;
            }
            ++p;
            skipWhitespace();
            // A repeated key keeps its place and takes the later value, as in the library.
            if (!parseValue(members[std::move(key)])) {
                return false;
            }
            const Next next = afterElement('}');
            if (next != Next::Element) {
                return next == Next::Closed;
            }
        }
    }

    bool parseArray(Json& value) {
        if (!enter()) {
            return false;
        }
        value = Json::array();
        auto& elements = value.get_ref<Json::array_t&>();
        if (leave(']')) {
            return true;
        }
        for (;;) {
            elements.emplace_back();
            if (!parseValue(elements.back())) {
                return false;
            }
            const Next next = afterElement(']');
            if (next != Next::Element) {
                return next == Next::Closed;
            }
        }
    }

    static bool isContinuation(unsigned char c, unsigned char low = 0x80,
                               unsigned char high = 0xBF) {
        return c >= low && c <= high;
    }

    // The length of the well-formed UTF-8 sequence at p (lead byte at least 0x80), or 0.
    std::size_t utf8Length() const {
        const auto* u = reinterpret_cast<const unsigned char*>(p);
        const std::size_t left = static_cast<std::size_t>(end - p);
        const unsigned char lead = u[0];
        if (lead >= 0xC2 && lead <= 0xDF) {
            return left >= 2 && isContinuation(u[1]) ? 2 : 0;
        }
        if (lead >= 0xE0 && lead <= 0xEF) {
            const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
            const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
            return left >= 3 && isContinuation(u[1], low, high) && isContinuation(u[2]) ? 3 : 0;
        }
        if (lead >= 0xF0 && lead <= 0xF4) {
            const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
            const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
            return left >= 4 && isContinuation(u[1], low, high) && isContinuation(u[2]) &&
                           isContinuation(u[3])
                       ? 4
                       : 0;
        }
        return 0;
    }

    // Four hexadecimal digits after "\u"; -1 when they are not.
    long hexQuad() {
        if (end - p < 4) {
            return -1;
        }
        long code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = *p++;
            code <<= 4;
            if (c >= '0' && c <= '9') {
                code |= c - '0';
            } else if (c >= 'a' && c <= 'f') {
                code |= c - 'a' + 10;
            } else if (c >= 'A' && c <= 'F') {
                code |= c - 'A' + 10;
            } else {
                return -1;
            }
        }
        return code;
    }

    static void appendUtf8(std::string& text, long code) {
        if (code < 0x80) {
            text += static_cast<char>(code);
        } else if (code < 0x800) {
            text += static_cast<char>(0xC0 | (code >> 6));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            text += static_cast<char>(0xE0 | (code >> 12));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (code >> 18));
            text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    // After a backslash: one escape, decoded onto text.
    bool parseEscape(std::string& text) {
        if (p == end) {
            return false;
        }
        switch (*p++) {
            case '"':
                text += '"';
                return true;
            case '\\':
                text += '\\';
                return true;
            case '/':
                text += '/';
                return true;
            case 'b':
                text += '\b';
                return true;
            case 'f':
                text += '\f';
                return true;
            case 'n':
                text += '\n';
                return true;
            case 'r':
                text += '\r';
                return true;
            case 't':
                text += '\t';
                return true;
            case 'u':
                break;
            default:
                return false;
        }
        long code = hexQuad();
        if (code < 0 || (code >= 0xDC00 && code <= 0xDFFF)) {
            return false;  // a low surrogate must follow a high one
        }
        if (code >= 0xD800 && code <= 0xDBFF) {
            if (end - p < 2 || p[0] != '\\' || p[1] != 'u') {
                return false;
            }
            p += 2;
            const long low = hexQuad();
            if (low < 0xDC00 || low > 0xDFFF) {
                return false;
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        appendUtf8(text, code);
        return true;
    }

    // p at the opening quote; text receives the decoded string.
    bool parseString(std::string& text) {
        ++p;  // '"'
        const char* run = p;
        for (;;) {
            // Plain bytes are taken in runs; only quotes, backslashes, control characters and
            // bytes beyond ASCII stop the scan.
            while (p < end) {
                const auto c = static_cast<unsigned char>(*p);
                if (c == '"' || c == '\\' || c < 0x20 || c >= 0x80) {
                    break;
                }
                ++p;
            }
            if (p == end) {
                return false;
            }
            const auto c = static_cast<unsigned char>(*p);
            if (c == '"') {
                text.append(run, p);
                ++p;
                return true;
            }
            if (c < 0x20) {
                return false;
            }
            if (c >= 0x80) {
                const std::size_t length = utf8Length();
                if (length == 0) {
                    return false;
                }
                p += length;
                continue;
            }
            text.append(run, p);
            ++p;  // '\\'
            if (!parseEscape(text)) {
                return false;
            }
            run = p;
        }
    }

    // Skips one or more decimal digits; false when there is none.
    bool skipDigits() {
        const char* const first = p;
        while (p < end && *p >= '0' && *p <= '9') {
            ++p;
        }
        return p != first;
    }

    bool parseNumber(Json& value) {
        const char* const start = p;
        const bool negative = *p == '-';
        if (negative) {
            ++p;
        }
        // An integer part without leading zeros, then an optional fraction and exponent.
        if (at('0')) {
            ++p;
        } else if (!skipDigits()) {
            return false;
        }
        bool integer = true;
        if (at('.')) {
            integer = false;
            ++p;
            if (!skipDigits()) {
                return false;
            }
        }
        if (at('e') || at('E')) {
            integer = false;
            ++p;
            if (at('+') || at('-')) {
                ++p;
            }
            if (!skipDigits()) {
                return false;
            }
        }
        const char* const digits = negative ? start + 1 : start;
        if (integer && p - digits <= 18) {
            // At most 18 digits fit either integer type: no overflow to tell apart.
            std::uint64_t magnitude = 0;
            for (const char* d = digits; d < p; ++d) {
                magnitude = magnitude * 10 + static_cast<std::uint64_t>(*d - '0');
            }
            if (negative) {
                value = -static_cast<std::int64_t>(magnitude);
            } else {
                value = magnitude;
            }
            return true;
        }
        // The library's way: strtoull or strtoll for an integer, strtod when that overflows
        // and for every number with a fraction or an exponent.
        number.assign(start, p);
        char* stop = nullptr;
        if (integer) {
            errno = 0;
            if (negative) {
                const long long x = std::strtoll(number.c_str(), &stop, 10);
                if (errno == 0) {
                    value = static_cast<std::int64_t>(x);
                    return true;
                }
            } else {
                const unsigned long long x = std::strtoull(number.c_str(), &stop, 10);
                if (errno == 0) {
                    value = static_cast<std::uint64_t>(x);
                    return true;
                }
            }
        }
        const double x = std::strtod(number.c_str(), &stop);
        if (!std::isfinite(x)) {
            return false;  // the library rejects a number beyond the range of a double
        }
        value = x;
        return true;
    }
};

}  // namespace

bool parsePlainJson(const std::string& text, int maxDepth, Json& value) {
    return PlainParser(text, maxDepth).parseDocument(value);
}
