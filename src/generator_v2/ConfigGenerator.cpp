#include "generator_v2/ConfigGenerator.h"

#include "checkers/ServicesChecker.h"
#include "common/Logger.h"
#include "common/OutputFile.h"
#include "common/ProcessingJson.h"
#include "generator_v2/ConfigHeaderScheme2.h"
#include "generator_v2/LimitsBuilderV2.h"
#include "generator_v2/RoutingBuilderV2.h"
#include "generator_v2/locations_builder.h"
#include "generator_v2/upstreams_builder.h"
#include "generator_v3/NamesGenerator.h"

using json = Json;
using generation::arrayOrEmpty;
using generation::memberOrNull;

bool ConfigGenerator::generateRoutingForOneService(const json& service,
                                                   const std::string& fileName, bool verbose) {
    return buildRoutingFile<RoutingBuilderV2>(service, fileName, verbose);
}

bool ConfigGenerator::generateRouting(const json& merged, const std::string& outputDir,
                                      bool verbose) {
    NamesGenerator names;
    for (const json& service : arrayOrEmpty(memberOrNull(merged, "services"))) {
        const std::string fileName =
            outputDir + "/" + getCleanDeploymentUnit(service) + names.routingPostfixFname(false);
        if (!generateRoutingForOneService(service, fileName, verbose)) {
            return false;
        }
    }
    return true;
}

ResultBase ConfigGenerator::generate(InputData inputData) {
    return runPipeline(
        inputData, [this](const InputData& input) { return getMerger(input); },
        [](const json& merged) { return ServicesChecker(merged).check(); }, true);
}

std::shared_ptr<ConfigHeaderBase> ConfigGenerator::buildConfigHeader() {
    return std::make_shared<ConfigHeaderScheme2>();
}

Merger ConfigGenerator::getMerger(const InputData& inputData) const {
    return generation::defaultMerger(inputData);
}

bool ConfigGenerator::generateUpstreams(const json& merged, const std::string& outputDir,
                                        bool verbose) {
    NamesGenerator names;
    ProcessingJson processing;
    for (const json& service : arrayOrEmpty(memberOrNull(merged, "services"))) {
        const std::string unit = getCleanDeploymentUnit(service);
        for (const json& apiVersion : arrayOrEmpty(memberOrNull(service, "apiVersions"))) {
            if (!processing.exists(apiVersion, "nodeGroups")) {
                continue;
            }
            for (const json& nodeGroup : arrayOrEmpty(apiVersion.at("nodeGroups"))) {
                const std::string fileName = outputDir + "/" +
                                             names.upstreamPrefixFname(unit, nodeGroup) +
                                             names.upstreamPostfixFname(false);
                upstreams_builder builder(buildConfigHeader());
                std::string content;
                if (!builder.build(service, nodeGroup, verbose, content) ||
                    !saveStringToFile(fileName, content, verbose)) {
                    return false;
                }
            }
        }
    }
    return true;
}

bool ConfigGenerator::generateLocations(const json& merged, const std::string& outputDir,
                                        bool verbose) {
    NamesGenerator names;
    for (const json& service : arrayOrEmpty(memberOrNull(merged, "services"))) {
        locations_builder builder(buildConfigHeader());
        saveStringToFile(outputDir + "/" + getCleanDeploymentUnit(service) +
                             names.locationPostfixFname(false),
                         builder.build(service), verbose);
    }
    return true;
}

bool ConfigGenerator::generateLimits(const json& merged, const std::string& outputDir,
                                     bool verbose) {
    ProcessingJson processing;
    for (const json& service : arrayOrEmpty(memberOrNull(merged, "services"))) {
        if (!processing.exists(service, "quotas")) {
            continue;
        }
        LimitsBuilderV2 builder(buildConfigHeader());
        std::string content;
        // The result only reports a warning already logged; the text is complete either way.
        builder.build(service, verbose, content);
        if (!saveStringToFile(outputDir + "/" + getCleanDeploymentUnit(service) +
                                  ".limits.vek.conf",
                              content, verbose)) {
            return false;
        }
    }
    return true;
}

bool ConfigGenerator::saveStringToFile(const std::string& fileName, const std::string& content,
                                       bool verbose) {
    return saveGeneratedFile(fileName, content, verbose);
}

std::string ConfigGenerator::getCleanDeploymentUnit(const json& service) const {
    return generation::cleanDeploymentUnit(service);
}

ResultBase ConfigGenerator::runPipeline(InputData& inputData,
                                        const generation::MergerFactory& getMergerFor,
                                        const generation::Validator& validate, bool writeLimits) {
    json merged;
    ResultBase prepared = generation::prepareServices(inputData, getMergerFor, validate, merged);
    if (!prepared.getIsOk()) {
        return prepared;
    }
    const bool verbose = inputData.flagsRef().getIsVerbose();
    const std::string outputDir = inputData.getOutputDir();
    generateLocations(merged, outputDir, verbose);
    if (inputData.nodesRef().isPresent()) {
        generateUpstreams(merged, outputDir, verbose);
    }
    if (inputData.routingRef().isPresent()) {
        generateRouting(merged, outputDir, verbose);
    }
    if (writeLimits && inputData.limitsRef().isPresent()) {
        generateLimits(merged, outputDir, verbose);
    }
    return ResultBase::Ok();
}
