#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/ResultBase.h"

// Collects the results of many rules. Ok when every entry is ok; the message is every entry's
// message followed by a newline, ok entries included (they give empty lines).
class CheckResult : public ResultBase {
public:
    CheckResult();

    // Appends a copy of the ResultBase part of r.
    void addResult(const ResultBase& r);
    // Appends the entries of other (flattening); other's own base part is not added.
    void addResult(const CheckResult& other);
    // The same for a result that is not used afterwards: its entries are moved, not shared.
    void addResult(CheckResult&& other);

    bool getIsOk() const override;
    std::string getErrorMessage() const override;

private:
    std::vector<std::shared_ptr<ResultBase>> results;
};
