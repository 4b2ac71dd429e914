#pragma once

#include <string>

#include "cli/ArgumentMap.h"

// The run flags taken from the command line.
class InputFlags {
public:
    explicit InputFlags(const ArgumentMap& args);

    void setIsVerbose(const ArgumentMap& args);
    void setIsIgnorePorts(const ArgumentMap& args);
    void setIsDebug(const ArgumentMap& args);
    // Leaves the gateway unchanged when "-gw" is absent.
    void setGW(const ArgumentMap& args);

    bool getIsVerbose() const { return isVerbose; }
    bool getIsIgnorePorts() const { return isIgnorePorts; }
    bool getIsDebug() const { return isDebug; }
    std::string getGW() const { return gw; }

private:
    bool isVerbose = false;
    bool isIgnorePorts = false;
    bool isDebug = false;
    std::string gw;
};
