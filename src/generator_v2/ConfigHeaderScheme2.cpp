#include "generator_v2/ConfigHeaderScheme2.h"

std::string ConfigHeaderScheme2::getScheme() const {
    return "scheme2";
}
