#include "common/ProcessingJson.h"

bool ProcessingJson::equalsStringField(const Json& a, const Json& b, const std::string& key) const {
    if (!exists(a, key) || !exists(b, key)) {
        return false;
    }
    const auto& left = a.at(key);
    const auto& right = b.at(key);
    return left.is_string() && right.is_string() &&
           left.get_ref<const std::string&>() == right.get_ref<const std::string&>();
}

std::string ProcessingJson::getStringVal(const Json& value, const std::string& key) const {
    if (!exists(value, key) || !value.at(key).is_string()) {
        return std::string();
    }
    return value.at(key).get<std::string>();
}
