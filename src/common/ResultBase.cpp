#include "common/ResultBase.h"

ResultBase::ResultBase(bool ok) : isOk(ok) {}

ResultBase::ResultBase(bool ok, const std::string& message) : isOk(ok), errorMessage(message) {}

ResultBase::ResultBase(bool ok, const std::string& message, const std::string& fileName)
    : isOk(ok), errorMessage(message), errorFname(fileName) {}

ResultBase ResultBase::Ok() { return ResultBase(true); }

ResultBase ResultBase::Fail(const std::string& message) { return ResultBase(false, message); }

ResultBase ResultBase::Fail(const std::string& message, const std::string& fileName) {
    return ResultBase(false, message, fileName);
}

bool ResultBase::getIsOk() const { return isOk; }

std::string ResultBase::getErrorMessage() const { return errorMessage; }

std::string ResultBase::getErrorFname() const { return errorFname; }
