#pragma once

#include <initializer_list>
#include <string>
#include <unordered_set>

#include "cli/ArgumentMap.h"

// Turns the process arguments into the argument map and decides whether they name one of the
// program's three modes: print the version, generate configuration, or clean an nginx
// configuration file. There is no usage text and no help option.
class CommandLineParser {
public:
    // Fills the option table; the argument map starts empty.
    CommandLineParser();

    // Reads argv[1] to argv[argc-1]. Returns false, after logging why, when a token is unknown,
    // an option is repeated, or the options form no complete mode.
    bool parse(int argc, char** argv);

    const ArgumentMap& getArgs() const { return argumentMap; }

private:
    // Phase 1: tokens to map entries. A value option takes the next token whatever it is.
    bool readTokens(int argc, char** argv);
    // Phase 2: the options present must form one complete mode.
    bool checkMode() const;
    bool hasAll(std::initializer_list<const char*> options) const;

    std::unordered_set<std::string> flagOptions;
    std::unordered_set<std::string> valueOptions;
    ArgumentMap argumentMap;
};
