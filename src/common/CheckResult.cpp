#include "common/CheckResult.h"

#include <iterator>
#include <utility>

CheckResult::CheckResult() : ResultBase(true) {}

void CheckResult::addResult(const ResultBase& r) {
    results.push_back(std::make_shared<ResultBase>(
        r.ResultBase::getIsOk(), r.ResultBase::getErrorMessage(), r.getErrorFname()));
}

void CheckResult::addResult(const CheckResult& other) {
    results.insert(results.end(), other.results.begin(), other.results.end());
}

void CheckResult::addResult(CheckResult&& other) {
    if (results.empty()) {
        results = std::move(other.results);
        return;
    }
    results.insert(results.end(), std::make_move_iterator(other.results.begin()),
                   std::make_move_iterator(other.results.end()));
}

bool CheckResult::getIsOk() const {
    for (const auto& entry : results) {
        if (!entry->getIsOk()) {
            return false;
        }
    }
    return true;
}

std::string CheckResult::getErrorMessage() const {
    std::string text;
    for (const auto& entry : results) {
        text += entry->getErrorMessage();
        text += "\n";
    }
    return text;
}
