#pragma once

#include <string>

// All program output other than generated files goes to standard output through Logger.
// Every line starts with the version text; nothing is written to standard error.
class Logger {
public:
    // The version text, with its trailing blank.
    static std::string getVersion();

    static void logError(const std::string& message);
    static void logInfo(const std::string& message);
    static void logDebug(const std::string& message);
    // Two lines: the announcement, then the content as it is (only its first line is prefixed).
    static void logFileContent(const std::string& fileName, const std::string& content);
    static void logNotValidInputJson(const std::string& fileName, const std::string& message);
};

// Returns condition; when it is false, reports message as invalid input of fileName.
bool ASSERT(bool condition, const std::string& message, const std::string& fileName);
