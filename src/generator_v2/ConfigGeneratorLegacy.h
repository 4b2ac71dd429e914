#pragma once

#include "generator_v2/ConfigGenerator.h"

// Fallback generator for schema-2 input in its legacy form.
class ConfigGeneratorLegacy : public ConfigGenerator {
public:
    ResultBase generate(InputData inputData) override;
};
