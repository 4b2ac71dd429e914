#include "common/Lexer.h"

std::string Lexer::replaceAllCopy(const std::string& text, const std::string& pattern,
                                  const std::string& replacement) const {
    std::string result = text;
    if (pattern.empty()) {
        return result;
    }
    // Every search restarts at 0, which is what makes the replacements cascade. Since no text
    // before the last replacement can hold the pattern (a match there would have been found
    // first), only the bytes that the replacement may have joined with need a fresh look;
    // restarting there gives the same result in linear time.
    std::size_t from = 0;
    for (;;) {
        std::size_t pos = result.find(pattern, from);
        if (pos == std::string::npos) {
            return result;
        }
        result.replace(pos, pattern.size(), replacement);
        from = pos >= pattern.size() ? pos - pattern.size() + 1 : 0;
    }
}

std::string Lexer::cleanDashes(const std::string& text) const {
    // Replacing every "." and then every "-" by "_": one character for another, so one pass.
    std::string result = text;
    for (char& c : result) {
        if (c == '.' || c == '-') {
            c = '_';
        }
    }
    return result;
}

std::string Lexer::cleanAllNotAlphabeticCharacters(const std::string& text) const {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        result += keep ? c : '_';
    }
    return result;
}

std::string Lexer::toLower(const std::string& text) const {
    std::string result = text;
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}
