#pragma once

#include <string>
#include <utility>

#include "common/Json.h"
#include "common/ResultBase.h"

// Result of loading one input file: the parsed document, null on failure or for an empty file.
class LoaderResult : public ResultBase {
public:
    LoaderResult(bool isOk, Json document) : ResultBase(isOk), json(std::move(document)) {}
    LoaderResult(bool isOk, const std::string& message, const std::string& fileName)
        : ResultBase(isOk, message, fileName) {}

    static LoaderResult okLoaderResult(Json document) {
        return LoaderResult(true, std::move(document));
    }
    static LoaderResult failLoaderResult(const std::string& message, const std::string& fileName) {
        return LoaderResult(false, message, fileName);
    }

    Json getJson() const { return json; }
    // The document without a copy.
    const Json& jsonRef() const { return json; }
    // Gives the document away without copying it; the result holds null afterwards.
    Json takeJson() { return std::move(json); }

private:
    Json json;
};
