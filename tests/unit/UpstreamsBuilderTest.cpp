#include "generator_v2/upstreams_builder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/Json.h"
#include "generator_v2/ConfigHeaderScheme2.h"

using json = Json;

namespace {

const std::string k_header =
    "# ostrel v2.4.5 \n"
    "# scheme2\n";

upstreams_builder builder() {
    return upstreams_builder(std::make_shared<ConfigHeaderScheme2>());
}

}  // namespace

TEST(UpstreamsBuilderTest, NodesWithoutPortsOrKeepalive) {
    json service = json::parse(R"({"deploymentUnit": "orders-api.prod"})");
    json group = json::parse(R"({"groupName": "Main Group", "keepalive": 32,
        "protocols": {"http": {"port": 9090}},
        "dataCenters": [{"name": "dc1", "nodes": ["10.0.0.1", "10.0.0.2"]}]})");
    std::string out;
    EXPECT_TRUE(builder().build(service, group, false, out));
    EXPECT_EQ(out, k_header +
                       "# upstream for balancing group Main Group\n"
                       "upstream orders_api_prod_main_group {\n"
                       "    server 10.0.0.1;\n"
                       "    server 10.0.0.2;\n"
                       "\n"
                       "}");
}

TEST(UpstreamsBuilderTest, RouteLineIsFollowedByAnEmptyLine) {
    json service = json::parse(R"({"deploymentUnit": "orders-api.prod",
        "healthcheck": {"enabled": true}})");
    json group = json::parse(R"({"groupName": "Main Group", "openshiftRoute": "orders-route",
        "dataCenters": [{"nodes": ["n"]}]})");
    std::string out;
    EXPECT_TRUE(builder().build(service, group, false, out));
    EXPECT_EQ(out, k_header +
                       "# upstream for balancing group Main Group\n"
                       "upstream orders_api_prod_main_group {\n"
                       "    server orders-route;\n"
                       "\n"
                       "}");
}

TEST(UpstreamsBuilderTest, BalancingAndHealthcheckAsInSchemaThree) {
    json service = json::parse(R"({"deploymentUnit": "orders-api.prod",
        "sticky": true, "stickyCookie": "sid.x",
        "healthcheck": {"enabled": true, "handler": "/health/", "interval": 3000, "rise": 2,
                        "fall": 3, "timeout": 1000, "disableFallCount": true}})");
    json group = json::parse(R"({"groupName": "G", "dataCenters": [{"nodes": ["h"]}]})");
    std::string out;
    EXPECT_TRUE(builder().build(service, group, false, out));
    EXPECT_EQ(out,
              k_header +
                  "    map $http_cookie $sid_x {\n"
                  "        \"~*sid.x=(?<session_cookie>(?U).*)(;|$)\" $session_cookie;\n"
                  "        default 'empty';\n"
                  "    }\n"
                  "\n"
                  "# upstream for balancing group G\n"
                  "upstream orders_api_prod_g {\n"
                  "    hash $sid_x consistent;\n"
                  "\n"
                  "    check type=kiv_hc_agent interval=3000 rise=2 fall=3 timeout=1000"
                  " disable_fall_count=true;\n"
                  "    check_http_send \"POST /health/orders-api.prod HTTP/1.0\\r\\n\\r\\n\";\n"
                  "\n"
                  "    server h;\n"
                  "\n"
                  "}");
}

TEST(UpstreamsBuilderTest, FailuresAreReportedForNodesJson) {
    json service = json::parse(R"({"deploymentUnit": "d",
        "stickyOptions": {"type": "consistent_hash"}})");
    std::string out = "untouched";
    testing::internal::CaptureStdout();
    EXPECT_FALSE(builder().build(service, json::parse(R"({"groupName": "g"})"), false, out));
    EXPECT_FALSE(builder().build(service, json::parse(R"({"name": "g"})"), false, out));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ostrel v2.4.5 INPUT FILE ='nodes.json' NOT VALID: 'stickyOptions does not "
              "contained a child field stickyCookie'\n"
              "ostrel v2.4.5 INPUT FILE ='nodes.json' NOT VALID: 'expected type 'string' for "
              "field 'groupName''\n");
    EXPECT_EQ(out, "untouched");
    EXPECT_EQ(upstreams_builder::replace_all_copy("a..b", ".", "_"), "a__b");
}
