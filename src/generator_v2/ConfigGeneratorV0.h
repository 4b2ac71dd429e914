#pragma once

#include "generator_v2/ConfigGenerator.h"

// Generator for schema-0 input.
class ConfigGeneratorV0 : public ConfigGenerator {
public:
    ResultBase generate(InputData inputData) override;
};
