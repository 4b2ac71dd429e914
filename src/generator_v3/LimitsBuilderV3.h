#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/Json.h"
#include "generator_v3/BuilderBase.h"

// Text of the limits file of one service: a map and a limit_req_zone per consumer quota, then
// the default map and zone that limit every other caller at the service's default rate. The
// zones are the ones that the location blocks of the service name.
class LimitsBuilderV3 : public BuilderBase {
public:
    // Rate of the default zone of a service that has no "rpsdefault" quota, in requests per
    // second. Such a service is reported, and its file still defines the zone that its
    // locations use.
    static const char* const k_rateWithoutDefaultQuota;

    explicit LimitsBuilderV3(std::shared_ptr<ConfigHeaderBase> header);

    // The text is always complete; true only when the service has exactly one "rpsdefault"
    // quota (otherwise a warning is logged for limits.json).
    bool build(const Json& service, bool verbose, std::string& out) const;
    // The map and zone of one consumer; rate is the decimal rate in requests per second.
    std::string buildLimitsMap(const std::string& key, const std::string& consumerSubsystem,
                               const std::string& consumerDeploymentUnit, const std::string& zone,
                               const std::string& rate) const;
    // The default map, exempting the keys of consumers with their own quota, and its zone.
    std::string buildDefaultLimitsMap(const std::string& key, const std::string& defaultZone,
                                      const std::string& rate,
                                      const std::vector<std::string>& excluded) const;
    std::string generateZoneName(const std::string& serviceSubsystem,
                                 const std::string& serviceDeploymentUnit,
                                 const std::string& consumerSubsystem,
                                 const std::string& consumerDeploymentUnit) const;
    std::string generateZoneNameForDefaultMap(const std::string& serviceSubsystem,
                                              const std::string& serviceDeploymentUnit) const;
    std::string intToString(int value) const;

private:
    std::string indent = "    ";
};
