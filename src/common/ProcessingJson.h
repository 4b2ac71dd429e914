#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

// The questions that merges, checkers and builders ask of JSON values, answered in one place.
class ProcessingJson {
public:
    // True when value is an object with a member named key (whatever its value, null included).
    // Never inserts a member.
    bool exists(const nlohmann::json& value, std::string_view key) const;
    // True when both members are strings with the same bytes. A missing or non-string member on
    // either side gives false instead of an exception.
    bool equalsStringField(const nlohmann::json& a, const nlohmann::json& b,
                           const std::string& key) const;
    // The member's text when it is a string; an empty text when it is missing or not a string.
    std::string getStringVal(const nlohmann::json& value, const std::string& key) const;
};
