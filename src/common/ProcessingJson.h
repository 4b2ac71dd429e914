#pragma once

#include <string>
#include <string_view>

#include "common/Json.h"

// The questions that merges, checkers and builders ask of JSON values, answered in one place.
class ProcessingJson {
public:
    // True when value is an object with a member named key (whatever its value, null included).
    // Never inserts a member.
    bool exists(const Json& value, std::string_view key) const {
        // Inline: the most frequent question of the whole run.
        return value.is_object() && value.find(key) != value.end();
    }
    // True when both members are strings with the same bytes. A missing or non-string member on
    // either side gives false instead of an exception.
    bool equalsStringField(const Json& a, const Json& b, const std::string& key) const;
    // The member's text when it is a string; an empty text when it is missing or not a string.
    std::string getStringVal(const Json& value, const std::string& key) const;
};
