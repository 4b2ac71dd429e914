#pragma once

#include <string>

#include "cli/InputFlags.h"
#include "cli/InputJson.h"

// The whole input of one generator run. A generator receives it by value and may change its copy.
class InputData {
public:
    InputData(const InputFlags& flags, const InputJson& services, const InputJson& nodes,
              const InputJson& routing, const InputJson& limits, const std::string& outputDir)
        : routing(routing), nodes(nodes), limits(limits), services(services), flags(flags),
          outputDir(outputDir) {}
    // Limits absent.
    InputData(const InputFlags& flags, const InputJson& services, const InputJson& nodes,
              const InputJson& routing, const std::string& outputDir)
        : routing(routing), nodes(nodes), services(services), flags(flags), outputDir(outputDir) {}

    InputJson getRouting() const { return routing; }
    InputJson getNodes() const { return nodes; }
    InputJson getLimits() const { return limits; }
    InputJson getServices() const { return services; }
    InputFlags getFlags() const { return flags; }
    std::string getOutputDir() const { return outputDir; }

    // Read access without copies.
    const InputJson& routingRef() const { return routing; }
    const InputJson& nodesRef() const { return nodes; }
    const InputJson& limitsRef() const { return limits; }
    const InputJson& servicesRef() const { return services; }
    const InputFlags& flagsRef() const { return flags; }

    void setRouting(const InputJson& value) { routing = value; }
    void setNodes(const InputJson& value) { nodes = value; }
    void setLimits(const InputJson& value) { limits = value; }
    void setServices(const InputJson& value) { services = value; }

private:
    InputJson routing;
    InputJson nodes;
    InputJson limits;
    InputJson services;
    InputFlags flags;
    std::string outputDir;
};
