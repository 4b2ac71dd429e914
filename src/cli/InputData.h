#pragma once

#include <string>
#include <utility>

#include "cli/InputFlags.h"
#include "cli/InputJson.h"

// The whole input of one generator run. A generator receives it by value and may change its copy.
class InputData {
public:
    // The documents are taken by value, so that a caller that no longer needs them moves them
    // in instead of copying them.
    InputData(const InputFlags& flags, InputJson services, InputJson nodes, InputJson routing,
              InputJson limits, const std::string& outputDir)
        : routing(std::move(routing)), nodes(std::move(nodes)), limits(std::move(limits)),
          services(std::move(services)), flags(flags), outputDir(outputDir) {}
    // Limits absent.
    InputData(const InputFlags& flags, InputJson services, InputJson nodes, InputJson routing,
              const std::string& outputDir)
        : routing(std::move(routing)), nodes(std::move(nodes)), services(std::move(services)),
          flags(flags), outputDir(outputDir) {}

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
    // Write access for a generator's own copy (gateway filter, merge).
    InputJson& routingRef() { return routing; }
    InputJson& nodesRef() { return nodes; }
    InputJson& limitsRef() { return limits; }
    InputJson& servicesRef() { return services; }

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
