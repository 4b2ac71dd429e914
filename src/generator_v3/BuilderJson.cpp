#include "generator_v3/BuilderJson.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "common/CompactJson.h"
#include "common/JsonMembers.h"

const Json& BuilderJson::member(const Json& value, std::string_view key) {
    return json_members::memberOrNull(value, key);
}

std::string BuilderJson::text(const Json& value) {
    if (value.is_string()) {
        return value.get_ref<const std::string&>();
    }
    return dump(value);
}

std::string BuilderJson::memberText(const Json& value, std::string_view key) {
    if (!value.is_object()) {
        return std::string();
    }
    auto it = value.find(key);
    return it == value.end() ? std::string() : text(*it);
}

std::string BuilderJson::dump(const Json& value) {
    return compactJson(value);
}

std::string BuilderJson::int32Text(const Json& value) {
    if (value.is_number_unsigned()) {
        return std::to_string(value.get<std::uint64_t>());
    }
    if (value.is_number_integer()) {
        return std::to_string(value.get<std::int64_t>());
    }
    if (value.is_number_float()) {
        double number = std::trunc(value.get<double>());
        if (std::isnan(number)) {
            return "0";
        }
        const double lowest = std::numeric_limits<std::int32_t>::min();
        const double highest = std::numeric_limits<std::int32_t>::max();
        number = number < lowest ? lowest : (number > highest ? highest : number);
        return std::to_string(static_cast<std::int32_t>(number));
    }
    if (value.is_boolean()) {
        return value.get<bool>() ? "1" : "0";
    }
    return text(value);
}

bool BuilderJson::isTrue(const Json& value) {
    return value.is_boolean() && value.get<bool>();
}
