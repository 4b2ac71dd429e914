#include "generator_v3/ConfigHeaderScheme3.h"

std::string ConfigHeaderScheme3::getScheme() const {
    return "scheme3";
}
