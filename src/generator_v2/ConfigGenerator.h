#pragma once

#include <memory>
#include <string>

#include "cli/InputData.h"
#include "common/Json.h"
#include "common/Logger.h"
#include "common/ResultBase.h"
#include "generator_v3/ConfigHeaderBase.h"
#include "generator_v3/GenerationSteps.h"
#include "mergers/Merger.h"

// Schema-2 generator: presence rules, gateway filter, merge and validation, then one location,
// upstream, routing and limits file per service in the schema-2 layout (HTTP only, no ports).
// Base of the legacy and schema-0 generators, which replace its virtual operations.
class ConfigGenerator {
public:
    virtual ~ConfigGenerator() = default;

    virtual bool generateRoutingForOneService(const Json& service, const std::string& fileName,
                                              bool verbose);
    // One routing file per service; stops at the first that cannot be built or written.
    virtual bool generateRouting(const Json& merged, const std::string& outputDir, bool verbose);
    virtual ResultBase generate(InputData inputData);
    virtual std::shared_ptr<ConfigHeaderBase> buildConfigHeader();

    Merger getMerger(const InputData& inputData) const;
    // Stops at the first node group whose file cannot be built or written.
    bool generateUpstreams(const Json& merged, const std::string& outputDir, bool verbose);
    // Walks every service; save failures are logged and do not stop the walk. Always true.
    bool generateLocations(const Json& merged, const std::string& outputDir, bool verbose);
    // One limits file per service with "quotas"; stops at the first that cannot be written.
    bool generateLimits(const Json& merged, const std::string& outputDir, bool verbose);
    bool saveStringToFile(const std::string& fileName, const std::string& content, bool verbose);
    std::string getCleanDeploymentUnit(const Json& service) const;

protected:
    // Builds one service's routing file with Builder and saves it: the common body of every
    // generator's generateRoutingForOneService.
    template <class Builder>
    bool buildRoutingFile(const Json& service, const std::string& fileName, bool verbose) {
        if (verbose) {
            Logger::logDebug("routing: out file = " + fileName);
        }
        Builder builder(buildConfigHeader());
        std::string content;
        if (!builder.build(service, verbose, content)) {
            return false;
        }
        return saveStringToFile(fileName, content, verbose);
    }

    // The pipeline shared by the schema-2, legacy and schema-0 generators: the front stages with
    // the given merger and validation, then the files. Limits files only when writeLimits.
    ResultBase runPipeline(InputData& inputData, const generation::MergerFactory& getMergerFor,
                           const generation::Validator& validate, bool writeLimits);
};
