#pragma once

#include <cstdint>
#include <cstddef>
#include <string>
#include <vector>

#include "common/Json.h"

namespace testsupport {

// A large schema-3 inventory made from a seed, the same for the same seed and size on every
// machine (no standard-library distributions, whose results vary between implementations).
// Every kept service has locations of every kind (proxy with headers or a rewrite, fixed
// return, alias), two node groups (data centers with nodes, and an OpenShift route), routing
// with consumer releases and a default, per-consumer and default quotas; the nodes document
// asks for HTTP and HTTPS. Run with "-gw" gatewayName() it writes filesPerService() files per
// kept service.
//
// Besides, it holds what the merge must get right: routing, nodes and limits entries in other
// orders than the services; stale earlier entries that a later entry for the same service
// overrides; entries for services that do not exist; services without "usedGateways" that a
// gateway-bound nodes entry gives a null "usedGateways"; and services of other gateways that the
// gateway filter drops.
class SyntheticInventory {
public:
    SyntheticInventory(int serviceCount, std::uint64_t seed);

    const Json& services() const { return servicesDocument; }
    const Json& nodes() const { return nodesDocument; }
    const Json& routing() const { return routingDocument; }
    const Json& limits() const { return limitsDocument; }

    // Writes services.json, nodes.json, routing.json and limits.json into dir (which must
    // exist), indented as people write them.
    void write(const std::string& dir) const;

    static const char* gatewayName() { return "gw-main"; }
    static int filesPerService() { return 9; }

private:
    std::uint64_t next();
    int number(int low, int high);
    bool chance(int percent);

    void addService(int index, bool foreign);

    Json servicesDocument;
    Json nodesDocument;
    Json routingDocument;
    Json limitsDocument;
    std::vector<std::size_t> limitGroupStarts;  // first limits entry of each service
    std::uint64_t state;
    int count;
};

}  // namespace testsupport
