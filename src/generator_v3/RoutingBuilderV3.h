#pragma once

#include <memory>
#include <string>

#include "common/Json.h"
#include "generator_v3/BuilderBase.h"

// Text of the routing file of one service for one protocol: the header and the map that chooses
// the upstream from the release named in the request. Made for one service and protocol.
class RoutingBuilderV3 : public BuilderBase {
public:
    RoutingBuilderV3(bool https, std::shared_ptr<ConfigHeaderBase> header);

    // Always true; out is left as it is when the service has no "routing".
    bool build(const Json& service, bool verbose, std::string& out) const;
    // The whole file text, header included, for the cleaned deployment unit.
    std::string genByReleaseMap(const Json& routing, const std::string& cleanUnit) const;

private:
    bool https;
};
