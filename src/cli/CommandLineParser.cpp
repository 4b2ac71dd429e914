#include "cli/CommandLineParser.h"

#include "common/Logger.h"

CommandLineParser::CommandLineParser()
    : flagOptions{
          "-v",             // print the version text and stop
          "-verbose",       // log debug lines and the content of every written file
          "-debug",         // kept in the run flags; nothing reads it
          "-ignore_ports",  // server and host lines of schema-3 files carry no port
          "-clean",         // select the cleaning mode
          "-test",          // accepted and stored; nothing reads it
      },
      valueOptions{
          "-s",    // services document
          "-r",    // routing document
          "-n",    // nodes document
          "-l",    // limits document (optional)
          "-o",    // generation: output directory; cleaning: file to write
          "-gw",   // gateway whose services are generated (optional)
          "-i",    // cleaning: nginx configuration file to read
          "-dir",  // cleaning: directory for logs and pid file
      } {}

bool CommandLineParser::parse(int argc, char** argv) {
    return readTokens(argc, argv) && checkMode();
}

bool CommandLineParser::readTokens(int argc, char** argv) {
    std::string pendingKey;
    bool expectingValue = false;
    for (int i = 1; i < argc; ++i) {
        const std::string token = argv[i];
        if (expectingValue) {
            expectingValue = false;
            argumentMap.emplace(pendingKey, token);
        } else if (flagOptions.count(token) != 0 && !hasArgument(argumentMap, token)) {
            argumentMap.emplace(token, true);
        } else if (valueOptions.count(token) != 0 && !hasArgument(argumentMap, token)) {
            expectingValue = true;
            pendingKey = token;
        } else {
            // Unknown tokens and repeated options alike end the parse here.
            Logger::logError("Could not parse command line: unknown argument - " + token);
            return false;
        }
    }
    // A value option given as the last token stays out of the map.
    return true;
}

bool CommandLineParser::checkMode() const {
    if (hasArgument(argumentMap, "-v")) {
        return true;
    }
    // "-clean" selects the cleaning mode whatever else is given, so it needs its own options
    // even when the generation options are complete as well.
    if (hasArgument(argumentMap, "-clean")) {
        if (hasAll({"-o", "-i", "-dir"})) {
            return true;
        }
        if (hasAll({"-s", "-n", "-r", "-o"})) {
            Logger::logError("Bad command line: \"-clean\" needs \"-i\", \"-o\" and \"-dir\"");
            return false;
        }
    } else if (hasAll({"-s", "-n", "-r", "-o"})) {
        return true;
    }
    Logger::logError("Bad command line");
    return false;
}

bool CommandLineParser::hasAll(std::initializer_list<const char*> options) const {
    for (const char* option : options) {
        if (!hasArgument(argumentMap, option)) {
            return false;
        }
    }
    return true;
}
