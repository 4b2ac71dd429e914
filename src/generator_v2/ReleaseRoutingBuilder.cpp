#include "generator_v2/ReleaseRoutingBuilder.h"

#include "generator_v3/BuilderJson.h"
#include "generator_v3/NamesGenerator.h"

using json = Json;

ReleaseRoutingBuilder::ReleaseRoutingBuilder(std::shared_ptr<ConfigHeaderBase> header,
                                             ByReleaseMapText::Entries entries)
    : BuilderBase(std::move(header)), entries(entries) {}

bool ReleaseRoutingBuilder::build(const json& service, bool /*verbose*/, std::string& out) const {
    if (!BuilderJson::has(service, "routing")) {
        return true;
    }
    std::string cleanUnit =
        NamesGenerator().cleanName(BuilderJson::memberText(service, "deploymentUnit"));
    out = getConfigHeader() + genByReleaseMap(service.at("routing"), cleanUnit);
    return true;
}

std::string ReleaseRoutingBuilder::genByReleaseMap(const json& routing,
                                                   const std::string& cleanUnit) const {
    return ByReleaseMapText().build(
        routing, NamesGenerator().genUpstreamHttpsName(cleanUnit, https), entries);
}
