#include "cli/InputFlags.h"

InputFlags::InputFlags(const ArgumentMap& args) {
    setIsVerbose(args);
    setIsIgnorePorts(args);
    setIsDebug(args);
    setGW(args);
}

void InputFlags::setIsVerbose(const ArgumentMap& args) { isVerbose = hasArgument(args, "-verbose"); }

void InputFlags::setIsIgnorePorts(const ArgumentMap& args) {
    isIgnorePorts = hasArgument(args, "-ignore_ports");
}

void InputFlags::setIsDebug(const ArgumentMap& args) { isDebug = hasArgument(args, "-debug"); }

void InputFlags::setGW(const ArgumentMap& args) {
    if (hasArgument(args, "-gw")) {
        gw = argumentText(args, "-gw");
    }
}
