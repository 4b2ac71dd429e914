#pragma once

#include <fstream>
#include <string>

#include "common/LoaderResult.h"

// Loads and parses one JSON input file. The only place where the JSON library's exceptions are
// caught: a file that cannot be parsed becomes a failed result.
class JsonLoader {
public:
    explicit JsonLoader(const std::string& path) : jsonFname(path) {}

    // Fails with "could not open json - " + path + "\n" when the file cannot be read, with
    // "json nests deeper than 512 levels - " + path + "\n" when arrays and objects nest deeper
    // than k_maxDepth, or with the parser's text and exception id when it is not JSON. An empty
    // file loads as null.
    LoaderResult load() const;

    // No inventory nests this deep; far deeper documents would exhaust the call stack of the
    // JSON library's recursive copies and comparisons.
    static constexpr int k_maxDepth = 512;

    std::string getJsonFname() const { return jsonFname; }

private:
    std::string jsonFname;
};

// True when the JSON text (valid or not) opens more than maxDepth arrays and objects inside each
// other; brackets inside strings do not count.
bool nestsDeeperThan(const std::string& text, int maxDepth);

// Opens path for reading. A directory counts as a file that cannot be opened.
bool openInputFile(const std::string& path, std::ifstream& stream);

// True when the open stream has no bytes; the stream is rewound to its start either way.
bool isEmptyFile(std::ifstream& stream);

// True when the file opens and holds at least one byte.
bool checkFileNotEmpty(const std::string& path);
