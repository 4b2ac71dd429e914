#include "cli/JsonLoader.h"

#include <cstring>
#include <filesystem>
#include <sstream>
#include <system_error>
#include <utility>

#include "cli/PlainJsonParser.h"
#include "common/Json.h"

namespace {

// The whole rest of the stream, read in one piece when its size is known.
std::string readAll(std::ifstream& stream) {
    const std::streampos start = stream.tellg();
    stream.seekg(0, std::ios::end);
    const std::streampos end = stream.tellg();
    stream.seekg(start);
    std::string text;
    if (start != std::streampos(-1) && end != std::streampos(-1) && end >= start) {
        text.resize(static_cast<std::size_t>(end - start));
        stream.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(stream.gcount()));
        if (!stream.eof()) {
            // Whatever came after the size was taken.
            std::ostringstream rest;
            rest << stream.rdbuf();
            text += rest.str();
        }
        return text;
    }
    stream.clear();
    std::ostringstream whole;
    whole << stream.rdbuf();
    return whole.str();
}

}  // namespace

LoaderResult JsonLoader::load() const {
    std::ifstream stream;
    if (!openInputFile(jsonFname, stream)) {
        return LoaderResult::failLoaderResult("could not open json - " + jsonFname + "\n",
                                              jsonFname);
    }
    if (isEmptyFile(stream)) {
        // Whether an empty document is acceptable is the caller's decision.
        return LoaderResult::okLoaderResult(Json());
    }
    const std::string text = readAll(stream);
    Json value;
    if (parsePlainJson(text, k_maxDepth, value)) {
        return LoaderResult::okLoaderResult(std::move(value));
    }
    // Not plain well-formed JSON: the library's parser decides, and words what is wrong.
    if (nestsDeeperThan(text, k_maxDepth)) {
        return LoaderResult::failLoaderResult("json nests deeper than " +
                                                  std::to_string(k_maxDepth) + " levels - " +
                                                  jsonFname + "\n",
                                              jsonFname);
    }
    try {
        return LoaderResult::okLoaderResult(Json::parse(text));
    } catch (const Json::exception& e) {
        return LoaderResult::failLoaderResult(
            std::string(e.what()) + "\nexception id: " + std::to_string(e.id) + "\n", jsonFname);
    }
}

bool nestsDeeperThan(const std::string& text, int maxDepth) {
    // Most of a document is the text of its strings: each string is skipped with memchr from
    // one double quote to the next that no odd run of backslashes escapes.
    int depth = 0;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char c = *p++;
        if (c == '"') {
            const char* const stringStart = p;
            for (;;) {
                const void* found = std::memchr(p, '"', static_cast<std::size_t>(end - p));
                if (found == nullptr) {
                    return false;  // an unterminated string: nothing nests inside it
                }
                const char* quote = static_cast<const char*>(found);
                std::size_t backslashes = 0;
                while (quote - backslashes > stringStart &&
                       quote[-1 - static_cast<long>(backslashes)] == '\\') {
                    ++backslashes;
                }
                p = quote + 1;
                if (backslashes % 2 == 0) {
                    break;
                }
            }
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
