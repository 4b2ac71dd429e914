// The four files of a service refer to each other only by generated names; this checks that
// every name used in one file is defined in another.
#include <gtest/gtest.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <string>

#include "generator_v3/ConfigHeaderScheme3.h"
#include "generator_v3/LimitsBuilderV3.h"
#include "generator_v3/LocationsBuilderV3.h"
#include "generator_v3/RoutingBuilderV3.h"
#include "generator_v3/UpstreamsBuilderV3.h"

using nlohmann::json;

namespace {

std::set<std::string> matches(const std::string& text, const std::string& pattern) {
    std::set<std::string> found;
    std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
         ++it) {
        found.insert((*it)[1].str());
    }
    return found;
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

    std::set<std::string> upstreamNames = matches(upstreams, R"(\nupstream (\S+) \{\n)");
    EXPECT_EQ(upstreamNames.size(), 3u);
    expectSubset(matches(locations, R"(proxy_pass https?://(\$\w+_by_release))"),
                 matches(routing, R"(map \$http_zul_Release (\$\w+) \{)"), "routing variable");
    expectSubset(matches(routing, R"(\"(\w+)\";\n)"), upstreamNames, "routing value");
    expectSubset(matches(locations, R"(limit_req zone=(\w+) )"),
                 matches(limits, R"(limit_req_zone \$\w+ zone=(\w+):10m)"), "limit zone");
    expectSubset(matches(upstreams, R"(hash \$(\w+) consistent;)"),
                 matches(upstreams, R"(map \$http_cookie \$(\w+) \{)"), "cookie variable");

    // Host blocks compare the HTTP variable against HTTP upstream names.
    std::string httpRouting;
    RoutingBuilderV3(false, header()).build(svc, false, httpRouting);
    expectSubset(matches(locations, R"(if \((\$\w+) = )"),
                 matches(httpRouting, R"(map \$http_zul_Release (\$\w+) \{)"), "host variable");
}

}  // namespace

TEST(BuilderReferencesTest, HttpFilesAgreeOnNames) {
    checkReferences(false);
}

TEST(BuilderReferencesTest, HttpsFilesAgreeOnNames) {
    checkReferences(true);
}
