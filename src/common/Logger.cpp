#include "common/Logger.h"

#include <iostream>
#include <utility>

namespace {
const char* const k_version = "ostrel v2.4.5 ";

thread_local LogSink* t_sink = nullptr;

void emit(std::string lines) {
    if (t_sink != nullptr) {
        t_sink->write(std::move(lines));
    } else {
        std::cout << lines;
    }
}

void writeLine(const std::string& kind, const std::string& message) {
    emit(k_version + kind + message + "\n");
}
}  // namespace

LogRedirect::LogRedirect(LogSink& sink) : previous(t_sink) {
    t_sink = &sink;
}

LogRedirect::~LogRedirect() {
    t_sink = previous;
}

std::string Logger::getVersion() {
    return k_version;
}

void Logger::logError(const std::string& message) {
    writeLine("ERROR: ", message);
}

void Logger::logInfo(const std::string& message) {
    writeLine("INFO: ", message);
}

void Logger::logDebug(const std::string& message) {
    writeLine("DEBUG: ", message);
}

void Logger::logFileContent(const std::string& fileName, const std::string& content) {
    emit(k_version + ("Generated file '" + fileName + "':\n") + k_version + content + "\n");
}

void Logger::logNotValidInputJson(const std::string& fileName, const std::string& message) {
    emit(k_version + ("INPUT FILE ='" + fileName + "' NOT VALID: '" + message + "'\n"));
}

bool ASSERT(bool condition, const std::string& message, const std::string& fileName) {
    if (!condition) {
        Logger::logNotValidInputJson(fileName, message);
    }
    return condition;
}
