#pragma once

#include "generator_v2/ConfigGenerator.h"

// Generator for schema-0 input: the routing table of a service sits in the first element of
// "apiVersions" of its routing entry, the caller selector is a plain string, and no limits
// files are written.
class ConfigGeneratorV0 : public ConfigGenerator {
public:
    bool generateRoutingForOneService(const Json& service, const std::string& fileName,
                                      bool verbose) override;
    bool generateRouting(const Json& merged, const std::string& outputDir, bool verbose) override;
    ResultBase generate(InputData inputData) override;
    std::shared_ptr<ConfigHeaderBase> buildConfigHeader() override;

    // Reduces the services document and every present routing, limits and nodes document to
    // the services of gateway gw. Fails when a document cannot be filtered.
    ResultBase filterByGetway(const std::string& gw, InputData& inputData, bool limitsPresent,
                              bool nodesPresent, bool routingPresent);
    // MergerV0() without nodes and routing, else the nodes and schema-0 routing steps; the
    // limits document never takes part.
    Merger getMerger(const InputData& inputData) const;
};
