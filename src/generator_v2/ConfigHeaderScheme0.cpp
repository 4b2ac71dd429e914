#include "generator_v2/ConfigHeaderScheme0.h"

std::string ConfigHeaderScheme0::getScheme() const {
    return "scheme0";
}
