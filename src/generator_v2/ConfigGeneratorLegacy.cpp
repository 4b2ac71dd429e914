#include "generator_v2/ConfigGeneratorLegacy.h"

#include "checkers/ServicesCheckerLegacy.h"
#include "generator_v2/ConfigHeaderScheme2Legacy.h"
#include "generator_v2/RoutingBuilderV2Legacy.h"

using json = Json;

bool ConfigGeneratorLegacy::generateRoutingForOneService(const json& service,
                                                         const std::string& fileName,
                                                         bool verbose) {
    return buildRoutingFile<RoutingBuilderV2Legacy>(service, fileName, verbose);
}

bool ConfigGeneratorLegacy::generateRouting(const json& merged, const std::string& outputDir,
                                            bool verbose) {
    return ConfigGenerator::generateRouting(merged, outputDir, verbose);
}

ResultBase ConfigGeneratorLegacy::generate(InputData inputData) {
    return runPipeline(
        inputData, [this](const InputData& input) { return getMerger(input); },
        [](const json& merged) { return ServicesCheckerLegacy(merged).check(); }, true);
}

std::shared_ptr<ConfigHeaderBase> ConfigGeneratorLegacy::buildConfigHeader() {
    return std::make_shared<ConfigHeaderScheme2Legacy>();
}
