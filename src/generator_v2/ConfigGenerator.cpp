#include "generator_v2/ConfigGenerator.h"

ResultBase ConfigGenerator::generate(InputData) {
    return ResultBase::Fail("schema 2 generation is not available in this build");
}
