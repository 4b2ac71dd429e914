#include "generator_v2/ConfigGeneratorLegacy.h"

ResultBase ConfigGeneratorLegacy::generate(InputData) {
    return ResultBase::Fail("schema 2 legacy generation is not available in this build");
}
