#pragma once

#include "cli/InputData.h"
#include "common/ResultBase.h"

// Schema-2 generator; base of the legacy and schema-0 generators.
class ConfigGenerator {
public:
    virtual ~ConfigGenerator() = default;
    virtual ResultBase generate(InputData inputData);
};
