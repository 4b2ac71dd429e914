#pragma once

#include <cstring>
#include <map>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

// Orders object keys exactly as std::less<std::string> does (byte by byte, as
// unsigned char, a prefix first), but decides on the first byte inline: most
// keys of one object differ there, so a member lookup rarely calls memcmp.
struct JsonKeyLess {
    using is_transparent = void;

    bool operator()(std::string_view left, std::string_view right) const noexcept {
        if (!left.empty() && !right.empty() && left[0] != right[0]) {
            return static_cast<unsigned char>(left[0]) < static_cast<unsigned char>(right[0]);
        }
        return left < right;
    }
};

template <class Key, class Value, class... Ignored>
using JsonObjectMap =
    std::map<Key, Value, JsonKeyLess, std::allocator<std::pair<const Key, Value>>>;

// The document type of the whole program: nlohmann's JSON value with the key
// order above (the same order, so every output byte stays the same).
using Json = nlohmann::basic_json<JsonObjectMap>;
