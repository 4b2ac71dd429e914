#pragma once

#include <fstream>
#include <string>

#include "common/LoaderResult.h"

// Loads and parses one JSON input file. The only place where the JSON library's exceptions are
// caught: a file that cannot be parsed becomes a failed result.
class JsonLoader {
public:
    explicit JsonLoader(const std::string& path) : jsonFname(path) {}

    // Fails with "could not open json - " + path + "\n" when the file cannot be read, or with
    // the parser's text and exception id when it is not JSON. An empty file loads as null.
    LoaderResult load() const;

    std::string getJsonFname() const { return jsonFname; }

private:
    std::string jsonFname;
};

// Opens path for reading. A directory counts as a file that cannot be opened.
bool openInputFile(const std::string& path, std::ifstream& stream);

// True when the open stream has no bytes; the stream is rewound to its start either way.
bool isEmptyFile(std::ifstream& stream);

// True when the file opens and holds at least one byte.
bool checkFileNotEmpty(const std::string& path);
