#include "generator_v2/ConfigHeaderScheme2Legacy.h"

std::string ConfigHeaderScheme2Legacy::getScheme() const {
    return "scheme2legacy";
}
