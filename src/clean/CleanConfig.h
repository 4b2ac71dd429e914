#pragma once

#include <cstddef>
#include <functional>
#include <string>

// Rewrites an nginx configuration file for a separate test instance that runs from a given
// directory: error_log, access_log and pid move into that directory, and every listen port
// below 1024 moves up by 1024. This is a plain text rewrite, not an nginx parser: directives are
// found by substring search and end at the next ";".
//
// The directory is a text prefix joined to the file names without a separator, so it is
// expected to end with "/".
class CleanConfig {
public:
    // Reads input, cleans it and writes the result to output. The output path is only ever
    // replaced by a complete cleaned file: on any failure it is left as it was.
    bool clean(const std::string& input, const std::string& output,
               const std::string& directory) const;

    bool readFile(const std::string& path, std::string& text) const;
    // Replaces path by text through a temporary file in the same directory and a rename.
    bool writeToFile(const std::string& text, const std::string& path) const;

    // error_log, access_log, pid, then the listen ports, each applied to the previous result.
    // Returns false (after its messages) when a listen port cannot be rewritten; cleaned is
    // then unspecified.
    bool cleanAll(const std::string& text, const std::string& directory,
                  std::string& cleaned) const;

    std::string cleanErrorLog(const std::string& text, const std::string& directory) const;
    std::string cleanAccessLog(const std::string& text, const std::string& directory) const;
    std::string cleanPid(const std::string& text, const std::string& directory) const;

    // Position of the earliest pid keyword at or after from: "pid" followed by a blank, tab or
    // newline, and preceded by a blank, tab or newline lying at or after from, or standing at
    // the very start of the text (only when from is 0). std::string::npos when there is none.
    std::size_t getPidPos(const std::string& text, std::size_t from) const;

    // Rewrites every listen directive through changePort. Returns false when a port word is
    // rejected; result is then unspecified.
    bool changePorts(const std::string& text, std::string& result) const;
    // directive runs from "listen" up to, not including, its ";". result receives the rewritten
    // directive: every word with a leading blank, the port moved up by 1024 when below 1024,
    // and a closing ";".
    bool changePort(const std::string& directive, std::string& result) const;
    bool isNumber(const std::string& word) const;

private:
    using Finder = std::function<std::size_t(const std::string& text, std::size_t from)>;

    // The common rewrite of error_log, access_log and pid: find every occurrence with find
    // (from the keyword to the first ";" at or after it), skip those commented out by a "#"
    // earlier on their line, replace the first remaining one by replacement and delete the
    // others.
    std::string replaceFirstActiveDirective(const std::string& text, const Finder& find,
                                            const std::string& replacement) const;
};

// The cleaning mode of the program: CleanConfig::clean with the values of "-i", "-o" and "-dir".
bool cleanNginxConfFile(const std::string& input, const std::string& output,
                        const std::string& directory);
