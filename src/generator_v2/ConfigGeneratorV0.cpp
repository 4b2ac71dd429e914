#include "generator_v2/ConfigGeneratorV0.h"

ResultBase ConfigGeneratorV0::generate(InputData) {
    return ResultBase::Fail("schema 0 generation is not available in this build");
}
