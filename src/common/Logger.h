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

// Where the lines the calling thread logs go instead of standard output while it is installed
// (see LogRedirect). Each call receives whole lines, newline included.
class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void write(std::string lines) = 0;
};

// Sends the calling thread's log lines to sink for the lifetime of this object; other threads
// keep writing to standard output.
class LogRedirect {
public:
    explicit LogRedirect(LogSink& sink);
    ~LogRedirect();
    LogRedirect(const LogRedirect&) = delete;
    LogRedirect& operator=(const LogRedirect&) = delete;

private:
    LogSink* previous;
};

// Returns condition; when it is false, reports message as invalid input of fileName.
bool ASSERT(bool condition, const std::string& message, const std::string& fileName);
