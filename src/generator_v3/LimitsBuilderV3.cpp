#include "generator_v3/LimitsBuilderV3.h"

#include "common/FileNames.h"
#include "common/Logger.h"
#include "common/TypeConvertor.h"
#include "generator_v3/BuilderJson.h"
#include "generator_v3/NamesGenerator.h"

using json = Json;

namespace {
// Callers are told apart by their subsystem code directly followed by their deployment unit.
const char* const k_callerKey = "$http_zul_subsystemcode$http_zul_deploymentunit";
}  // namespace

const char* const LimitsBuilderV3::k_rateWithoutDefaultQuota = "100";

LimitsBuilderV3::LimitsBuilderV3(std::shared_ptr<ConfigHeaderBase> header)
    : BuilderBase(std::move(header)) {}

bool LimitsBuilderV3::build(const json& service, bool /*verbose*/, std::string& out) const {
    std::string subsystem = BuilderJson::memberText(service, "subsystem");
    std::string unit = BuilderJson::memberText(service, "deploymentUnit");
    // The default zone is named after the service even without an "rpsdefault" quota, as every
    // location of the service limits requests by it.
    std::string defaultZone = generateZoneNameForDefaultMap(subsystem, unit);
    std::string defaultRate = k_rateWithoutDefaultQuota;
    std::vector<std::string> excluded;
    int defaultCount = 0;

    out = getConfigHeader();
    const json& quotas = BuilderJson::member(service, "quotas");
    const json noQuotas = json::array();
    for (const json& quota : quotas.is_array() ? quotas : noQuotas) {
        std::string type = BuilderJson::memberText(quota, "type");
        std::string rate = BuilderJson::int32Text(BuilderJson::member(quota, "rpslimit"));
        if (type == "rpsbyconsumer") {
            std::string consumerSubsystem = BuilderJson::memberText(quota, "subsystem");
            std::string consumerUnit = BuilderJson::memberText(quota, "deploymentUnit");
            out += buildLimitsMap(
                k_callerKey, consumerSubsystem, consumerUnit,
                generateZoneName(subsystem, unit, consumerSubsystem, consumerUnit), rate);
            excluded.push_back(consumerSubsystem + consumerUnit);
        } else if (type == "rpsdefault") {
            defaultRate = rate;
            ++defaultCount;
        }
    }
    out += buildDefaultLimitsMap(k_callerKey, defaultZone, defaultRate, excluded);
    if (defaultCount == 1) {
        return true;
    }
    Logger::logNotValidInputJson(
        LIMITS_JSON,
        "warning: rpsdefault count = " + intToString(defaultCount) + ". rpsdefault must be uniq.");
    return false;
}

std::string LimitsBuilderV3::buildLimitsMap(const std::string& key,
                                            const std::string& consumerSubsystem,
                                            const std::string& consumerDeploymentUnit,
                                            const std::string& zone,
                                            const std::string& rate) const {
    return indent + "# " + consumerSubsystem + "_" + consumerDeploymentUnit + " limit\n" + indent +
           "map " + key + " $" + zone + "_limit_key {\n" + indent + indent + "default \"\";\n" +
           indent + indent + "\"" + consumerSubsystem + consumerDeploymentUnit + "\" \"1\";\n" +
           indent + "}\n" + indent + "limit_req_zone $" + zone + "_limit_key zone=" + zone +
           "_req_zone:10m rate=" + rate + "r/s;\n\n";
}

std::string LimitsBuilderV3::buildDefaultLimitsMap(const std::string& key,
                                                   const std::string& defaultZone,
                                                   const std::string& rate,
                                                   const std::vector<std::string>& excluded) const {
    std::string inner = indent + indent;
    std::string out = "# default subsystem limit \n" + indent + "map " + key + " $" + defaultZone +
                      "_default_limit_key {\n" + inner + "default " + key + ";\n" + inner +
                      "\"\" \"1\";        # unknown subsystem\n";
    for (const std::string& consumer : excluded) {
        out += inner + "\"" + consumer + "\" \"\"; # exclude " + consumer + "\n";
    }
    return out + indent + "}\n" + indent + "limit_req_zone $" + defaultZone +
           "_default_limit_key zone=" + defaultZone + "_default_req_zone:10m rate=" + rate +
           "r/s;\n\n";
}

std::string LimitsBuilderV3::generateZoneName(const std::string& serviceSubsystem,
                                              const std::string& serviceDeploymentUnit,
                                              const std::string& consumerSubsystem,
                                              const std::string& consumerDeploymentUnit) const {
    return NamesGenerator().generateZoneNameForLimits(serviceSubsystem, serviceDeploymentUnit,
                                                      consumerSubsystem, consumerDeploymentUnit);
}

std::string LimitsBuilderV3::generateZoneNameForDefaultMap(
    const std::string& serviceSubsystem, const std::string& serviceDeploymentUnit) const {
    return NamesGenerator().generateZoneNameForDefaultLimits(serviceSubsystem,
                                                             serviceDeploymentUnit);
}

std::string LimitsBuilderV3::intToString(int value) const {
    return TypeConvertor().intToString(value);
}
