#pragma once

#include <string>
#include <string_view>

#include "common/Json.h"
#include "common/ProcessingJson.h"

// Reads of JSON values for the builders that never throw. Validation guarantees the types before
// the builders run; these fallbacks only keep a builder that is called on unchecked input from
// failing: a value read as a string that is not a string gives its compact JSON text, a value
// read as a number that is not a number gives its text.
class BuilderJson {
public:
    // True when value is an object with a member named key, whatever its value.
    static bool has(const Json& value, std::string_view key) {
        return ProcessingJson().exists(value, key);
    }
    // The member named key, or a null value when value is not an object or has no such member.
    static const Json& member(const Json& value, std::string_view key);
    // A string's own text; any other value's compact JSON text.
    static std::string text(const Json& value);
    // The text of the member named key; empty when the member is missing.
    static std::string memberText(const Json& value, std::string_view key);
    // Compact JSON text, non-ASCII characters unchanged; invalid UTF-8 is replaced, not thrown.
    static std::string dump(const Json& value);
    // Decimal text of a number read as a signed 32-bit integer. Integers are written exactly,
    // also when they do not fit 32 bits; a floating-point number loses its fraction and is
    // clamped to the 32-bit range (not-a-number gives 0); a boolean gives 1 or 0.
    static std::string int32Text(const Json& value);
    // True only for the JSON boolean true.
    static bool isTrue(const Json& value);
};
