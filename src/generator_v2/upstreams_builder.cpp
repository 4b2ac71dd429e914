#include "generator_v2/upstreams_builder.h"

#include "common/Lexer.h"
#include "generator_v3/BuilderJson.h"
#include "generator_v3/NamesGenerator.h"

using json = Json;

upstreams_builder::upstreams_builder(std::shared_ptr<ConfigHeaderBase> header)
    : BuilderBase(std::move(header)) {}

bool upstreams_builder::build(const json& service, const json& nodeGroup, bool /*verbose*/,
                              std::string& out) const {
    return UpstreamText::buildFile(
        getConfigHeader(), service,
        [&](std::string& block) { return build_upstream(nodeGroup, service, block); }, out);
}

bool upstreams_builder::build_upstream(const json& nodeGroup, const json& service,
                                       std::string& out) const {
    if (!UpstreamText::checkGroupName(nodeGroup)) {
        return false;
    }
    std::string upstreamBase = NamesGenerator().upstreamBaseName(
        BuilderJson::memberText(service, "deploymentUnit"), false);
    if (!UpstreamText::buildBlockBody(nodeGroup, service, upstreamBase, std::string(), true, out)) {
        return false;
    }
    out += "}";
    return true;
}

bool upstreams_builder::build_openshift_route(const json& nodeGroup, std::string& out) const {
    UpstreamText::buildOpenshiftRoute(nodeGroup, std::string(), true, out);
    return true;
}

bool upstreams_builder::build_nodes(const json& nodeGroup, std::string& out) const {
    UpstreamText::buildNodes(nodeGroup, std::string(), out);
    return true;
}

std::string upstreams_builder::build_http_cookie_map(const json& service) const {
    return UpstreamText::buildHttpCookieMap(service);
}

bool upstreams_builder::build_sticky(const json& service, const std::string& groupKey,
                                     std::string& out) const {
    return UpstreamText::buildSticky(service, groupKey, out);
}

bool upstreams_builder::build_sticky_type(const json& service, const std::string& groupKey,
                                          std::string& out) const {
    return UpstreamText::buildStickyType(service, groupKey, out);
}

bool upstreams_builder::build_old_version_sticky(const json& service, std::string& out) const {
    return UpstreamText::buildOldVersionSticky(service, out);
}

bool upstreams_builder::build_ip_hash_type(std::string& out) const {
    return UpstreamText::buildIpHashType(out);
}

bool upstreams_builder::build_consistent_hash_type(const json& service, std::string& out) const {
    return UpstreamText::buildConsistentHashType(service, out);
}

bool upstreams_builder::build_healthcheck(const json& service, std::string& out) const {
    return UpstreamText::buildHealthcheck(service, out);
}

bool upstreams_builder::json_has(const json& value, const std::string& key) {
    return BuilderJson::has(value, key);
}

std::string upstreams_builder::replace_all_copy(const std::string& text, const std::string& from,
                                                const std::string& to) {
    return Lexer().replaceAllCopy(text, from, to);
}
