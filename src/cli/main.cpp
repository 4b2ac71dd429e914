#include <exception>
#include <iostream>
#include <string>

#include "clean/CleanConfig.h"
#include "cli/CommandLineParser.h"
#include "cli/RunDriver.h"
#include "common/LateRelease.h"
#include "common/Logger.h"

namespace {

int run(int argc, char** argv) {
    CommandLineParser parser;
    if (!parser.parse(argc, argv)) {
        Logger::logError("Problem with parsing input parameters");
        return 1;
    }
    const ArgumentMap argumentMap = parser.getArgs();

    if (hasArgument(argumentMap, "-v")) {
        std::cout << Logger::getVersion() << "\n" << std::flush;
        return 0;
    }
    if (!hasArgument(argumentMap, "-clean")) {
        return buildNginxConfFiles(argumentMap) ? 0 : 1;
    }
    return cleanNginxConfFile(argumentText(argumentMap, "-i"), argumentText(argumentMap, "-o"),
                              argumentText(argumentMap, "-dir"))
               ? 0
               : 1;
}

// Last resort for a fault that no stage turned into a result: report it like any other
// failure instead of letting the process abort.
void reportUnexpected(const std::string& message) {
    try {
        Logger::logError("finished: has ERRORS - unexpected failure: " + message);
        std::cout.flush();
    } catch (...) {
        // Nothing is left to report with.
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The process ends after one run: its documents are left to the operating system.
    LateRelease::leaveToProcessEnd();
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        reportUnexpected(e.what());
    } catch (...) {
        reportUnexpected("unknown exception");
    }
    return 1;
}
