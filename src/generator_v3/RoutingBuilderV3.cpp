#include "generator_v3/RoutingBuilderV3.h"

#include "common/ProcessingJson.h"
#include "generator_v3/BuilderJson.h"
#include "generator_v3/ByReleaseMapText.h"
#include "generator_v3/NamesGenerator.h"

using json = Json;

RoutingBuilderV3::RoutingBuilderV3(bool https, std::shared_ptr<ConfigHeaderBase> header)
    : BuilderBase(std::move(header)), https(https) {}

bool RoutingBuilderV3::build(const json& service, bool /*verbose*/, std::string& out) const {
    if (!ProcessingJson().exists(service, "routing")) {
        return true;
    }
    std::string cleanUnit =
        NamesGenerator().cleanName(BuilderJson::memberText(service, "deploymentUnit"));
    out = genByReleaseMap(service.at("routing"), cleanUnit);
    return true;
}

std::string RoutingBuilderV3::genByReleaseMap(const json& routing,
                                              const std::string& cleanUnit) const {
    std::string upstreamBase = NamesGenerator().genUpstreamHttpsName(cleanUnit, https);
    return getConfigHeader() +
           ByReleaseMapText().build(routing, upstreamBase, ByReleaseMapText::Entries::ByRelease);
}
