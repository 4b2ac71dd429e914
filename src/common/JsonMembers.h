#pragma once

#include <string>
#include <string_view>

#include "common/Json.h"

// Tolerant reads of one member of a value that may not be an object: each is one lookup, and a
// missing member or one of another type reads as absent (other rules report those).
namespace json_members {

// The member key of an object, or nullptr.
inline const Json* memberOf(const Json& value, std::string_view key) {
    if (!value.is_object()) {
        return nullptr;
    }
    auto it = value.find(key);
    return it == value.end() ? nullptr : &*it;
}

// The member key of an object, or null.
inline const Json& memberOrNull(const Json& value, std::string_view key) {
    static const Json null;
    const Json* member = memberOf(value, key);
    return member != nullptr ? *member : null;
}

// The string member key, or an empty text.
inline std::string textOf(const Json& value, std::string_view key) {
    const Json* member = memberOf(value, key);
    if (member != nullptr && member->is_string()) {
        return member->get_ref<const std::string&>();
    }
    return std::string();
}

inline bool isString(const Json& value, std::string_view key) {
    const Json* member = memberOf(value, key);
    return member != nullptr && member->is_string();
}

// The array member key, or an empty array.
inline const Json& arrayOrEmpty(const Json& value, std::string_view key) {
    static const Json empty = Json::array();
    const Json* member = memberOf(value, key);
    return member != nullptr && member->is_array() ? *member : empty;
}

}  // namespace json_members
