#include "support/ConfigStructure.h"

#include <cstddef>

namespace testsupport {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isControl(unsigned char c) {
    return (c < 0x20 && c != '\t') || c == 0x7f;
}

// One line, read with the block depth of the lines before it.
std::string lineProblem(const std::string& line, int& depth) {
    bool lastSpace = true;   // the next character starts a word
    bool needSpace = false;  // a quoted word just closed
    bool escaped = false;    // the previous character was a backslash
    bool variable = false;   // the previous character was "$" inside a word
    char quote = 0;          // the open quote character, if any
    bool ended = false;      // the statement of the line has ended
    int words = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (isControl(static_cast<unsigned char>(c))) {
            return "control character";
        }
        if (ended) {
            if (isBlank(c)) {
                continue;
            }
            if (c == '#') {
                return std::string();
            }
            return "text after the end of the statement";
        }
        if (escaped) {
            escaped = false;
            continue;
        }
        if (needSpace) {
            if (isBlank(c) || c == ')') {
                needSpace = false;
                lastSpace = true;
                continue;
            }
            if (c != ';' && c != '{') {
                return "text right after a quoted word";
            }
            needSpace = false;
            lastSpace = true;
        }
        if (lastSpace) {
            if (isBlank(c)) {
                continue;
            }
            switch (c) {
                case ';':
                case '{':
                    if (words == 0) {
                        return std::string("\"") + c + "\" without a directive";
                    }
                    depth += c == '{' ? 1 : 0;
                    ended = true;
                    continue;
                case '}':
                    if (words != 0) {
                        return "\"}\" inside a statement";
                    }
                    if (--depth < 0) {
                        return "\"}\" closes no block";
                    }
                    ended = true;
                    continue;
                case '#':
                    if (words != 0) {
                        return "comment inside a statement";
                    }
                    return std::string();
                case '"':
                case '\'':
                    quote = c;
                    break;
                case '\\':
                    escaped = true;
                    break;
                case '$':
                    variable = true;
                    break;
                default:
                    break;
            }
            lastSpace = false;
            ++words;
            continue;
        }
        if (c == '{' && variable) {
            continue;
        }
        variable = false;
        if (c == '\\') {
            escaped = true;
            continue;
        }
        if (c == '$') {
            variable = true;
            continue;
        }
        if (quote != 0) {
            if (c == quote) {
                quote = 0;
                needSpace = true;
            }
            continue;
        }
        if (isBlank(c)) {
            lastSpace = true;
        } else if (c == ';' || c == '{') {
            depth += c == '{' ? 1 : 0;
            ended = true;
        }
    }
    if (quote != 0) {
        return "quoted word not closed";
    }
    if (escaped) {
        return "backslash at the end of the line";
    }
    if (words != 0 && !ended) {
        return "statement not ended on its line";
    }
    return std::string();
}

}  // namespace

std::string configStructureProblem(const std::string& text) {
    int depth = 0;
    std::size_t number = 1;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string problem = lineProblem(text.substr(start, end - start), depth);
        if (!problem.empty()) {
            return "line " + std::to_string(number) + ": " + problem;
        }
        start = end + 1;
        ++number;
    }
    if (depth != 0) {
        return "block not closed at the end of the file";
    }
    return std::string();
}

}  // namespace testsupport
