#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <utility>

// One input document and its bare file name. An empty file name means the document is absent.
class InputJson {
public:
    InputJson() = default;
    InputJson(const std::string& fileName, nlohmann::json document)
        : document(std::move(document)), fileName(fileName) {}

    std::string getFileName() const { return fileName; }
    nlohmann::json getJson() const { return document; }
    // Read access without a copy, for stages that only look at the document.
    const nlohmann::json& json() const { return document; }
    // Write access for the stages of a generator's own copy that rewrite the document in place
    // or take it over (gateway filter, merge).
    nlohmann::json& editJson() { return document; }
    bool isPresent() const { return !fileName.empty(); }

private:
    nlohmann::json document;
    std::string fileName;
};
