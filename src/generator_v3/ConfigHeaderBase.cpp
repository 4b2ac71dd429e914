#include "generator_v3/ConfigHeaderBase.h"

#include "common/Logger.h"

std::string ConfigHeaderBase::getConfigHeader() const {
    return "# " + Logger::getVersion() + "\n" + "# " + getScheme() + "\n";
}
