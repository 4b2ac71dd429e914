#pragma once

#include <string>

// Byte-level rewrites used to derive file names, upstream names, map variables and zone names.
// No encoding is interpreted; letters and digits are the ASCII ranges only.
class Lexer {
public:
    // Replaces pattern by replacement, searching again from the start after every replacement,
    // so replacements cascade. pattern must be non-empty and not occur in replacement.
    std::string replaceAllCopy(const std::string& text, const std::string& pattern,
                               const std::string& replacement) const;
    // Every "." and then every "-" becomes "_"; case is kept.
    std::string cleanDashes(const std::string& text) const;
    // Every byte that is not an ASCII letter or digit becomes "_" (one per byte).
    std::string cleanAllNotAlphabeticCharacters(const std::string& text) const;
    // "A" to "Z" become "a" to "z"; every other byte stays.
    std::string toLower(const std::string& text) const;
};
