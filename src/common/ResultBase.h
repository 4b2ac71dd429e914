#pragma once

#include <string>

// Outcome of a stage: success, or failure with a message and the input file it concerns.
class ResultBase {
public:
    explicit ResultBase(bool isOk);
    ResultBase(bool isOk, const std::string& message);
    ResultBase(bool isOk, const std::string& message, const std::string& fileName);
    ResultBase(const ResultBase&) = default;
    ResultBase& operator=(const ResultBase&) = default;
    virtual ~ResultBase() = default;

    static ResultBase Ok();
    static ResultBase Fail(const std::string& message);
    static ResultBase Fail(const std::string& message, const std::string& fileName);

    virtual bool getIsOk() const;
    virtual std::string getErrorMessage() const;
    std::string getErrorFname() const;

private:
    bool isOk;
    std::string errorMessage;
    std::string errorFname;
};
