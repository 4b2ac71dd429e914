#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/Json.h"
#include "generator_v2/ConfigHeaderScheme0.h"
#include "generator_v2/ConfigHeaderScheme2.h"
#include "generator_v2/ConfigHeaderScheme2Legacy.h"
#include "generator_v2/LimitsBuilderV2.h"
#include "generator_v2/RoutingBuilderV0.h"
#include "generator_v2/RoutingBuilderV2.h"
#include "generator_v2/RoutingBuilderV2Legacy.h"
#include "generator_v3/ConfigHeaderScheme3.h"
#include "generator_v3/LimitsBuilderV3.h"
#include "generator_v3/RoutingBuilderV3.h"

using json = Json;

namespace {

json payService() {
    return json::parse(R"({"subsystem": "PAY", "deploymentUnit": "pay-gate.main",
        "routing": [
            {"consumer": {"release": "R1"}, "routes": [{"groupName": "Main-A"}]},
            {"apiVersion": "v2", "consumer": {"release": "R2"}, "routes": [{"groupName": "B"}]},
            {"consumer": {"release": "R3", "deploymentUnit": "x"}, "routes": [{"groupName": "B"}]},
            {"default": true, "routes": [{"groupName": "Main-A"}]}]})");
}

template <typename Builder, typename Header>
std::string buildRouting(const json& service) {
    std::string out;
    EXPECT_TRUE(Builder(std::make_shared<Header>()).build(service, false, out));
    return out;
}

}  // namespace

TEST(RoutingBuilderV2Test, SameTextAsSchemaThreeOverHttp) {
    std::string v2 = buildRouting<RoutingBuilderV2, ConfigHeaderScheme2>(payService());
    EXPECT_EQ(v2,
              "# ostrel v2.4.5 \n"
              "# scheme2\n"
              "# by release map\n"
              "map $http_zul_Release $pay_gate_main_by_release {\n"
              "    \"R1\" \"pay_gate_main_main_a\";\n"
              "    default \"pay_gate_main_main_a\";\n"
              "}");
    std::string v3;
    RoutingBuilderV3(false, std::make_shared<ConfigHeaderScheme2>()).build(payService(), false, v3);
    EXPECT_EQ(v2, v3);
    EXPECT_EQ(RoutingBuilderV2(nullptr).genByReleaseMap(json::array(), "d"),
              "# by release map\n"
              "map $http_zul_Release $d_by_release {\n"
              "}");
    std::string untouched = "kept";
    EXPECT_TRUE(RoutingBuilderV2(nullptr).build(json::object(), false, untouched));
    EXPECT_EQ(untouched, "kept");
}

TEST(RoutingBuilderV2LegacyTest, EntriesWithApiVersionCount) {
    EXPECT_EQ((buildRouting<RoutingBuilderV2Legacy, ConfigHeaderScheme2Legacy>(payService())),
              "# ostrel v2.4.5 \n"
              "# scheme2legacy\n"
              "# by release map\n"
              "map $http_zul_Release $pay_gate_main_by_release {\n"
              "    \"R1\" \"pay_gate_main_main_a\";\n"
              "    \"R2\" \"pay_gate_main_b\";\n"
              "    default \"pay_gate_main_main_a\";\n"
              "}");
}

TEST(RoutingBuilderV0Test, OnlyTheLastDefaultConsumer) {
    json service = json::parse(R"({"deploymentUnit": "pay-gate.main", "routing": [
        {"consumer": "default", "routes": [{"groupName": "First"}]},
        {"consumer": "R1", "routes": [{"groupName": "Other"}]},
        {"apiVersion": "v1", "consumer": "default", "routes": [{"groupName": "Second"}]},
        {"consumer": "default", "routes": []},
        {"consumer": {"release": "default"}, "routes": [{"groupName": "Obj"}]}]})");
    EXPECT_EQ((buildRouting<RoutingBuilderV0, ConfigHeaderScheme0>(service)),
              "# ostrel v2.4.5 \n"
              "# scheme0\n"
              "# by release map\n"
              "map $http_zul_Release $pay_gate_main_by_release {\n"
              "    default \"pay_gate_main_second\";\n"
              "}");
    EXPECT_EQ((buildRouting<RoutingBuilderV0, ConfigHeaderScheme0>(payService())),
              "# ostrel v2.4.5 \n"
              "# scheme0\n"
              "# by release map\n"
              "map $http_zul_Release $pay_gate_main_by_release {\n"
              "}");
}

TEST(LimitsBuilderV2Test, SameTextAndResultAsSchemaThree) {
    json service = json::parse(R"({"subsystem": "PAY", "deploymentUnit": "pay-gate.main",
        "quotas": [{"type": "rpsdefault", "rpslimit": 20}]})");
    std::string v2;
    std::string v3;
    EXPECT_TRUE(LimitsBuilderV2(std::make_shared<ConfigHeaderScheme2>()).build(service, false, v2));
    EXPECT_TRUE(LimitsBuilderV3(std::make_shared<ConfigHeaderScheme2>()).build(service, false, v3));
    EXPECT_EQ(v2,
              "# ostrel v2.4.5 \n"
              "# scheme2\n"
              "# default subsystem limit \n"
              "    map $http_zul_subsystemcode$http_zul_deploymentunit"
              " $PAY_pay_gate_main_default_limit_key {\n"
              "        default $http_zul_subsystemcode$http_zul_deploymentunit;\n"
              "        \"\" \"1\";        # unknown subsystem\n"
              "    }\n"
              "    limit_req_zone $PAY_pay_gate_main_default_limit_key"
              " zone=PAY_pay_gate_main_default_req_zone:10m rate=20r/s;\n"
              "\n");
    EXPECT_EQ(v2, v3);
}
