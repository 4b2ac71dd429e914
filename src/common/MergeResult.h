#pragma once

#include <string>

#include "common/Json.h"
#include "common/ResultBase.h"

// Result of a merge step: the merged document on success, null on failure.
class MergeResult : public ResultBase {
public:
    MergeResult() : ResultBase(true) {}
    explicit MergeResult(Json document) : ResultBase(true), json(std::move(document)) {}
    MergeResult(const std::string& message, const std::string& fileName)
        : ResultBase(false, message, fileName) {}
    explicit MergeResult(const std::string& message) : ResultBase(false, message) {}
    MergeResult(MergeResult&&) = default;
    MergeResult(const MergeResult&) = default;
    MergeResult& operator=(MergeResult&&) = default;
    MergeResult& operator=(const MergeResult&) = default;

    Json getJson() const { return json; }
    // Gives the document away without copying it; the result holds null afterwards.
    Json takeJson() { return std::move(json); }

private:
    Json json;
};
