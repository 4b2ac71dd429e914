#include "generator_v2/ConfigGeneratorV0.h"

#include "checkers/ServicesCheckerV0.h"
#include "generator_v2/ConfigHeaderScheme0.h"
#include "generator_v2/RoutingBuilderV0.h"
#include "mergers/MergerV0.h"

using json = Json;

bool ConfigGeneratorV0::generateRoutingForOneService(const json& service,
                                                     const std::string& fileName, bool verbose) {
    return buildRoutingFile<RoutingBuilderV0>(service, fileName, verbose);
}

bool ConfigGeneratorV0::generateRouting(const json& merged, const std::string& outputDir,
                                        bool verbose) {
    return ConfigGenerator::generateRouting(merged, outputDir, verbose);
}

ResultBase ConfigGeneratorV0::generate(InputData inputData) {
    return runPipeline(
        inputData, [this](const InputData& input) { return getMerger(input); },
        [](const json& merged) { return ServicesCheckerV0(merged).check(); }, false);
}

std::shared_ptr<ConfigHeaderBase> ConfigGeneratorV0::buildConfigHeader() {
    return std::make_shared<ConfigHeaderScheme0>();
}

ResultBase ConfigGeneratorV0::filterByGetway(const std::string& gw, InputData& inputData, bool,
                                             bool, bool) {
    // The presence of each document is read from its file name, as everywhere else.
    return generation::filterByGateway(gw, inputData);
}

Merger ConfigGeneratorV0::getMerger(const InputData& inputData) const {
    if (!inputData.nodesRef().isPresent() && !inputData.routingRef().isPresent()) {
        return MergerV0();
    }
    return MergerV0(inputData.nodesRef().json(), inputData.routingRef().json());
}
