#include "cli/JsonLoader.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <system_error>

LoaderResult JsonLoader::load() const {
    std::ifstream stream;
    if (!openInputFile(jsonFname, stream)) {
        return LoaderResult::failLoaderResult("could not open json - " + jsonFname + "\n",
                                              jsonFname);
    }
    if (isEmptyFile(stream)) {
        // Whether an empty document is acceptable is the caller's decision.
        return LoaderResult::okLoaderResult(nlohmann::json());
    }
    std::ostringstream text;
    text << stream.rdbuf();
    if (nestsDeeperThan(text.str(), k_maxDepth)) {
        return LoaderResult::failLoaderResult(
            "json nests deeper than " + std::to_string(k_maxDepth) + " levels - " + jsonFname +
                "\n",
            jsonFname);
    }
    try {
        return LoaderResult::okLoaderResult(nlohmann::json::parse(text.str()));
    } catch (const nlohmann::json::exception& e) {
        return LoaderResult::failLoaderResult(
            std::string(e.what()) + "\nexception id: " + std::to_string(e.id) + "\n", jsonFname);
    }
}

bool nestsDeeperThan(const std::string& text, int maxDepth) {
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > maxDepth) {
                return true;
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

bool openInputFile(const std::string& path, std::ifstream& stream) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        // Opening a directory succeeds but reading it fails, which would look like an empty file.
        return false;
    }
    stream.open(path, std::ios::in | std::ios::binary);
    return stream.is_open();
}

bool isEmptyFile(std::ifstream& stream) {
    bool empty = stream.peek() == std::ifstream::traits_type::eof();
    stream.clear();
    stream.seekg(0, std::ios::beg);
    return empty;
}

bool checkFileNotEmpty(const std::string& path) {
    std::ifstream stream;
    return openInputFile(path, stream) && !isEmptyFile(stream);
}
