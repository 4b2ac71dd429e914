#include "common/Logger.h"

#include <iostream>

namespace {
const char* const k_version = "ostrel v2.4.5 ";

void writeLine(const std::string& kind, const std::string& message) {
    std::cout << k_version << kind << message << "\n";
}
}  // namespace

std::string Logger::getVersion() { return k_version; }

void Logger::logError(const std::string& message) { writeLine("ERROR: ", message); }

void Logger::logInfo(const std::string& message) { writeLine("INFO: ", message); }

void Logger::logDebug(const std::string& message) { writeLine("DEBUG: ", message); }

void Logger::logFileContent(const std::string& fileName, const std::string& content) {
    std::cout << k_version << "Generated file '" << fileName << "':\n";
    std::cout << k_version << content << "\n";
}

void Logger::logNotValidInputJson(const std::string& fileName, const std::string& message) {
    std::cout << k_version << "INPUT FILE ='" << fileName << "' NOT VALID: '" << message << "'\n";
}

bool ASSERT(bool condition, const std::string& message, const std::string& fileName) {
    if (!condition) {
        Logger::logNotValidInputJson(fileName, message);
    }
    return condition;
}
