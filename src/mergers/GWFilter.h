#pragma once

#include <string>

#include "common/Json.h"
#include "common/ResultBase.h"
#include "mergers/Filter.h"

// Reduces a document to the services of one gateway: a service stays once for every element of
// its "usedGateways" that is the gateway name (a string with the same characters), and once
// when it has no "usedGateways" at all. Other top-level members stay as they are.
class GWFilter : public Filter {
public:
    // Keeps its own copy of the name.
    explicit GWFilter(const std::string& gw);

    // A null document, or one without "services", ends up with an empty "services" array. A
    // document that is not an object (nor null), or whose "services" is neither an array nor
    // null, is left unchanged and isOk() turns false: the caller must then end the run.
    void filter(Json& document) override;
    // False when the last call of filter could not filter its document.
    bool isOk() const { return errorMessage.empty(); }
    // The reason of the last failure; empty after a successful filter.
    const std::string& getErrorMessage() const { return errorMessage; }
    // filter, with its outcome as a result: ok, or the failure message naming fileName.
    ResultBase filterDocument(Json& document, const std::string& fileName);

private:
    std::string gw;
    std::string errorMessage;
};
