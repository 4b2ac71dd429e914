#pragma once

#include <string>
#include <utility>

#include "common/Json.h"

// One input document and its bare file name. An empty file name means the document is absent.
class InputJson {
public:
    InputJson() = default;
    InputJson(const std::string& fileName, Json document)
        : document(std::move(document)), fileName(fileName) {}

    std::string getFileName() const { return fileName; }
    Json getJson() const { return document; }
    // Read access without a copy, for stages that only look at the document.
    const Json& json() const { return document; }
    // Write access for the stages of a generator's own copy that rewrite the document in place
    // or take it over (gateway filter, merge).
    Json& editJson() { return document; }
    bool isPresent() const { return !fileName.empty(); }

private:
    Json document;
    std::string fileName;
};
