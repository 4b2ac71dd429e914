#include "clean/CleanConfig.h"

#include <climits>
#include <fstream>
#include <iostream>
#include <utility>
#include <vector>

#include "common/Logger.h"
#include "common/OutputFile.h"
#include "common/TypeConvertor.h"

namespace {

const char* const k_couldNotOpen = "could not open file";
const char* const k_couldNotWrite = "could not write file";

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// The directive occurrence at start is commented out when a "#" stands before it on its line.
bool isCommentedOut(const std::string& text, std::size_t start) {
    std::size_t hash = text.rfind('#', start);
    if (hash == std::string::npos) {
        return false;
    }
    std::size_t newline = text.rfind('\n', start);
    return newline == std::string::npos || hash > newline;
}

}  // namespace

bool CleanConfig::clean(const std::string& input, const std::string& output,
                        const std::string& directory) const {
    Logger::logInfo("CleanConfig::clean in=" + input + "out=" + output);
    std::string text;
    if (!readFile(input, text)) {
        return false;
    }
    std::string cleaned;
    if (!cleanAll(text, directory, cleaned)) {
        return false;
    }
    return writeToFile(cleaned, output);
}

bool CleanConfig::readFile(const std::string& path, std::string& text) const {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        Logger::logError(path + k_couldNotOpen);
        return false;
    }
    std::string content;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        content.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    // A directory opens like a file on some systems but fails on the first read.
    if (in.bad()) {
        Logger::logError(path + k_couldNotOpen);
        return false;
    }
    text = std::move(content);
    return true;
}

bool CleanConfig::writeToFile(const std::string& text, const std::string& path) const {
    // A failure never leaves a partly written file at path: the text goes to a temporary file
    // next to it, which replaces path only once it is complete.
    switch (writeFileReplacing(path, text)) {
        case WriteOutcome::OpenFailed:
            Logger::logError(path + k_couldNotOpen);
            return false;
        case WriteOutcome::WriteFailed:
            Logger::logError(path + k_couldNotWrite);
            return false;
        case WriteOutcome::Written:
        case WriteOutcome::Unchanged:
            break;
    }
    return true;
}

bool CleanConfig::cleanAll(const std::string& text, const std::string& directory,
                           std::string& cleaned) const {
    std::string moved =
        cleanPid(cleanAccessLog(cleanErrorLog(text, directory), directory), directory);
    return changePorts(moved, cleaned);
}

std::string CleanConfig::replaceFirstActiveDirective(const std::string& text, const Finder& find,
                                                     const std::string& replacement) const {
    // Phase 1: the active occurrences, each from its keyword through its ";". A commented-out
    // occurrence still moves the search past its ";"; a keyword without a later ";" ends it.
    std::vector<std::pair<std::size_t, std::size_t>> occurrences;
    std::size_t searchFrom = 0;
    while (true) {
        std::size_t start = find(text, searchFrom);
        if (start == std::string::npos) {
            break;
        }
        std::size_t end = text.find(';', start);
        if (end == std::string::npos) {
            break;
        }
        if (!isCommentedOut(text, start)) {
            occurrences.emplace_back(start, end);
        }
        searchFrom = end;
    }

    // Phase 2: the first occurrence is replaced, the others are deleted; whatever follows a
    // deleted ";" on its line stays.
    std::string result;
    result.reserve(text.size() + replacement.size());
    std::size_t copied = 0;
    for (std::size_t i = 0; i < occurrences.size(); ++i) {
        result.append(text, copied, occurrences[i].first - copied);
        if (i == 0) {
            result += replacement;
        }
        copied = occurrences[i].second + 1;
    }
    result.append(text, copied, std::string::npos);
    return result;
}

std::string CleanConfig::cleanErrorLog(const std::string& text,
                                       const std::string& directory) const {
    auto find = [](const std::string& t, std::size_t from) { return t.find("error_log", from); };
    return replaceFirstActiveDirective(text, find,
                                       "error_log " + directory + "error_log.log info;");
}

std::string CleanConfig::cleanAccessLog(const std::string& text,
                                        const std::string& directory) const {
    auto find = [](const std::string& t, std::size_t from) { return t.find("access_log", from); };
    return replaceFirstActiveDirective(text, find,
                                       "access_log " + directory + "access_log.log main;");
}

std::string CleanConfig::cleanPid(const std::string& text, const std::string& directory) const {
    auto find = [this](const std::string& t, std::size_t from) { return getPidPos(t, from); };
    return replaceFirstActiveDirective(text, find, "pid " + directory + "nginx_vek.pid;");
}

std::size_t CleanConfig::getPidPos(const std::string& text, std::size_t from) const {
    // clang-format off
    static const char* const k_preceded[] = {" pid ",  " pid\t",  " pid\n",
                                             "\npid ", "\npid\t", "\npid\n",
                                             "\tpid ", "\tpid\t", "\tpid\n"};
    // clang-format on
    static const char* const k_atStart[] = {"pid ", "pid\t", "pid\n"};

    if (from == 0) {
        for (const char* pattern : k_atStart) {
            if (text.compare(0, 4, pattern) == 0) {
                return 0;
            }
        }
    }
    std::size_t best = std::string::npos;
    for (const char* pattern : k_preceded) {
        std::size_t found = text.find(pattern, from);
        if (found != std::string::npos && (best == std::string::npos || found + 1 < best)) {
            best = found + 1;
        }
    }
    return best;
}

bool CleanConfig::changePorts(const std::string& text, std::string& result) const {
    // Phase 1: every "listen" up to its ";", commented out or not.
    std::vector<std::pair<std::size_t, std::size_t>> occurrences;
    std::size_t searchFrom = 0;
    while (true) {
        std::size_t start = text.find("listen", searchFrom);
        if (start == std::string::npos) {
            break;
        }
        std::size_t end = text.find(';', start);
        if (end == std::string::npos) {
            break;
        }
        occurrences.emplace_back(start, end);
        searchFrom = end;
    }

    // Phase 2: rebuild with every directive rewritten; a rejected port fails the whole text.
    std::string rebuilt;
    rebuilt.reserve(text.size() + 16 * occurrences.size());
    std::size_t copied = 0;
    for (const auto& occurrence : occurrences) {
        rebuilt.append(text, copied, occurrence.first - copied);
        std::string directive;
        if (!changePort(text.substr(occurrence.first, occurrence.second - occurrence.first),
                        directive)) {
            return false;
        }
        rebuilt += directive;
        copied = occurrence.second + 1;
    }
    rebuilt.append(text, copied, std::string::npos);
    result = std::move(rebuilt);
    return true;
}

bool CleanConfig::changePort(const std::string& directive, std::string& result) const {
    std::string rewritten;
    bool nextIsPort = false;
    std::size_t pos = 0;
    while (true) {
        while (pos < directive.size() && isBlank(directive[pos])) {
            ++pos;
        }
        if (pos >= directive.size()) {
            break;
        }
        std::size_t wordEnd = pos;
        while (wordEnd < directive.size() && !isBlank(directive[wordEnd])) {
            ++wordEnd;
        }
        std::string word = directive.substr(pos, wordEnd - pos);
        pos = wordEnd;

        if (!nextIsPort) {
            rewritten += " " + word;
            nextIsPort = word == "listen";
            continue;
        }
        nextIsPort = false;
        // Digits only, and small enough for a signed 32-bit value (at most ten digits after
        // leading zeros, and not above INT_MAX).
        long long value = 0;
        bool valid = isNumber(word);
        for (std::size_t i = 0; valid && i < word.size(); ++i) {
            value = value * 10 + (word[i] - '0');
            valid = value <= INT_MAX;
        }
        if (!valid) {
            std::cout << word << "\n";
            Logger::logError("invalid port");
            return false;
        }
        if (value < 1024) {
            rewritten += " " + TypeConvertor().intToString(static_cast<int>(value) + 1024);
        } else {
            rewritten += " " + word;
        }
    }
    result = rewritten + ";";
    return true;
}

bool CleanConfig::isNumber(const std::string& word) const {
    if (word.empty()) {
        return false;
    }
    for (char c : word) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

bool cleanNginxConfFile(const std::string& input, const std::string& output,
                        const std::string& directory) {
    CleanConfig cleaner;
    return cleaner.clean(input, output, directory);
}
