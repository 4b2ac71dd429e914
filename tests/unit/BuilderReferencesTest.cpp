// The four files of a service refer to each other only by generated names; this checks that
// every name used in one file is defined in another.
#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <set>
#include <string>

#include "common/Json.h"
#include "generator_v3/ConfigHeaderScheme3.h"
#include "generator_v3/LimitsBuilderV3.h"
#include "generator_v3/LocationsBuilderV3.h"
#include "generator_v3/RoutingBuilderV3.h"
#include "generator_v3/UpstreamsBuilderV3.h"

using json = Json;

namespace {

// Every name that directly follows prefix in text; a name is made of letters, digits, "_" and "$".
std::set<std::string> namesAfter(const std::string& text, const std::string& prefix) {
    std::set<std::string> found;
    for (std::size_t at = text.find(prefix); at != std::string::npos;
         at = text.find(prefix, at + 1)) {
        std::size_t begin = at + prefix.size();
        std::size_t end = begin;
        while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) ||
                                     text[end] == '_' || text[end] == '$')) {
            ++end;
        }
        found.insert(text.substr(begin, end - begin));
    }
    return found;
}

std::set<std::string> join(std::set<std::string> a, const std::set<std::string>& b) {
    a.insert(b.begin(), b.end());
    return a;
}

void expectSubset(const std::set<std::string>& used, const std::set<std::string>& defined,
                  const std::string& what) {
    EXPECT_FALSE(used.empty()) << what;
    for (const std::string& name : used) {
        EXPECT_EQ(defined.count(name), 1u) << what << ": " << name << " is not defined";
    }
}

json service() {
    return json::parse(R"({"subsystem": "PAY.core", "deploymentUnit": "pay-gate.Main",
        "stickyOptions": {"type": "consistent_hash", "stickyCookie": "route-id"},
        "quotas": [
            {"type": "rpsbyconsumer", "subsystem": "SHOP-1", "deploymentUnit": "shop.front",
             "rpslimit": 50},
            {"type": "rpsdefault", "rpslimit": 20},
            {"type": "rpsbyconsumer", "subsystem": "CRM", "deploymentUnit": "crm-api",
             "rpslimit": 5}],
        "routing": [
            {"consumer": {"release": "R1"}, "routes": [{"groupName": "Main-A"}]},
            {"consumer": {"release": "R2"}, "routes": [{"groupName": "Grüne Gruppe"}]},
            {"default": true, "routes": [{"groupName": "Edge.1"}]}],
        "apiVersions": [
            {"version": "v1",
             "nodeGroups": [
                {"groupName": "Main-A", "dataCenters": [{"name": "a", "nodes": ["h1"]}]},
                {"groupName": "Grüne Gruppe", "openshiftRoute": "gr.apps"}],
             "locations": [{"url": "/v1", "proxyPass": "/v1"},
                           {"url": "/v1/static", "alias": "/srv/"}]},
            {"version": "v2",
             "nodeGroups": [{"groupName": "Edge.1", "openshiftRoute": "edge.apps",
                             "protocols": {"https": {"port": 9443}}}],
             "locations": [{"url": "/v2"}]}]})");
}

void checkReferences(bool https) {
    const json svc = service();
    auto header = [] { return std::make_shared<ConfigHeaderScheme3>(); };
    std::string port = https ? "8443" : "8080";

    std::string upstreams;
    for (const json& apiVersion : svc["apiVersions"]) {
        for (const json& nodeGroup : apiVersion["nodeGroups"]) {
            std::string text;
            ASSERT_TRUE(UpstreamsBuilderV3(https, port, false, header())
                            .build(svc, nodeGroup, false, text));
            upstreams += text;
        }
    }
    std::string locations = https ? LocationsBuilderV3(true, "cn", port, false, header()).build(svc)
                                  : LocationsBuilderV3(port, false, header()).build(svc);
    std::string routing;
    ASSERT_TRUE(RoutingBuilderV3(https, header()).build(svc, false, routing));
    std::string limits;
    ASSERT_TRUE(LimitsBuilderV3(header()).build(svc, false, limits));

    std::set<std::string> upstreamNames = namesAfter(upstreams, "\nupstream ");
    EXPECT_EQ(upstreamNames.size(), 3u);
    expectSubset(join(namesAfter(locations, "proxy_pass http://"),
                      namesAfter(locations, "proxy_pass https://")),
                 namesAfter(routing, "map $http_zul_Release "), "routing variable");
    expectSubset(join(namesAfter(routing, "\" \""), namesAfter(routing, "default \"")),
                 upstreamNames, "routing value");
    expectSubset(namesAfter(locations, "limit_req zone="), namesAfter(limits, "_key zone="),
                 "limit zone");
    expectSubset(namesAfter(upstreams, "hash $"), namesAfter(upstreams, "map $http_cookie $"),
                 "cookie variable");

    // Host blocks compare the HTTP variable against HTTP upstream names.
    std::string httpRouting;
    RoutingBuilderV3(false, header()).build(svc, false, httpRouting);
    expectSubset(namesAfter(locations, "if ("), namesAfter(httpRouting, "map $http_zul_Release "),
                 "host variable");
}

}  // namespace

TEST(BuilderReferencesTest, HttpFilesAgreeOnNames) {
    checkReferences(false);
}

TEST(BuilderReferencesTest, HttpsFilesAgreeOnNames) {
    checkReferences(true);
}
