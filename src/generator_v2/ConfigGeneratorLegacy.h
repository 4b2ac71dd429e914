#pragma once

#include "generator_v2/ConfigGenerator.h"

// Fallback for schema-2 input in its legacy form: validated with the legacy checkers (routing
// entries carrying "apiVersion" are ordinary entries), routing files from the legacy builder,
// and every header naming "scheme2legacy".
class ConfigGeneratorLegacy : public ConfigGenerator {
public:
    bool generateRoutingForOneService(const Json& service, const std::string& fileName,
                                      bool verbose) override;
    bool generateRouting(const Json& merged, const std::string& outputDir, bool verbose) override;
    ResultBase generate(InputData inputData) override;
    std::shared_ptr<ConfigHeaderBase> buildConfigHeader() override;
};
