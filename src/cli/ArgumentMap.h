#pragma once

#include <string>
#include <unordered_map>
#include <variant>

// Option text (with its leading "-") to value: true for flag options, the text for value options.
// A key is present only when the option was given.
using ArgumentValue = std::variant<bool, std::string>;
using ArgumentMap = std::unordered_map<std::string, ArgumentValue>;

// The string value of a value option, or an empty text when it is absent or a flag.
inline std::string argumentText(const ArgumentMap& args, const std::string& option) {
    auto it = args.find(option);
    if (it == args.end() || !std::holds_alternative<std::string>(it->second)) {
        return std::string();
    }
    return std::get<std::string>(it->second);
}

inline bool hasArgument(const ArgumentMap& args, const std::string& option) {
    return args.find(option) != args.end();
}
