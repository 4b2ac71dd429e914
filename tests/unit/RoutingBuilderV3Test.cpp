#include "generator_v3/RoutingBuilderV3.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/Json.h"
#include "generator_v3/ConfigHeaderScheme3.h"

using json = Json;

namespace {

const std::string k_header =
    "# ostrel v2.4.5 \n"
    "# scheme3\n";

std::string buildRouting(bool https, const json& service) {
    std::string out;
    EXPECT_TRUE(RoutingBuilderV3(https, std::make_shared<ConfigHeaderScheme3>())
                    .build(service, false, out));
    return out;
}

json payService(const json& routing) {
    return json{{"deploymentUnit", "pay-gate.main"}, {"routing", routing}};
}

}  // namespace

TEST(RoutingBuilderV3Test, ReleasesAndDefaultForBothProtocols) {
    json service = payService(json::parse(R"([
        {"consumer": {"release": "R1", "version": "1"}, "routes": [{"groupName": "Main-A"}]},
        {"consumer": {"release": "R2", "deploymentUnit": "shop-front"},
         "routes": [{"groupName": "Beta"}]},
        {"default": true, "routes": [{"groupName": "Main-A"}]}])"));
    EXPECT_EQ(buildRouting(false, service),
              k_header +
                  "# by release map\n"
                  "map $http_zul_Release $pay_gate_main_by_release {\n"
                  "    \"R1\" \"pay_gate_main_main_a\";\n"
                  "    default \"pay_gate_main_main_a\";\n"
                  "}");
    EXPECT_EQ(buildRouting(true, service),
              k_header +
                  "# by release map\n"
                  "map $http_zul_Release $pay_gate_main_https_by_release {\n"
                  "    \"R1\" \"pay_gate_main_https_main_a\";\n"
                  "    default \"pay_gate_main_https_main_a\";\n"
                  "}");
}

TEST(RoutingBuilderV3Test, WithoutRoutingTheTextStaysAsItWas) {
    std::string out = "kept";
    EXPECT_TRUE(RoutingBuilderV3(false, std::make_shared<ConfigHeaderScheme3>())
                    .build(json{{"deploymentUnit", "d"}}, false, out));
    EXPECT_EQ(out, "kept");
    EXPECT_EQ(buildRouting(false, json{{"deploymentUnit", "d"}}), "");
}

TEST(RoutingBuilderV3Test, EntriesThatGiveNoLine) {
    json service = payService(json::parse(R"([
        {"apiVersion": "v1", "consumer": {"release": "A"}, "routes": [{"groupName": "g"}]},
        {"apiVersion": "v1", "default": true, "routes": [{"groupName": "g"}]},
        {"default": false, "consumer": {"release": "B"}, "routes": [{"groupName": "g"}]},
        {"consumer": {"release": "C"}, "routes": [{"name": "x"}, {"groupName": "g"}]},
        {"consumer": {"release": "D"}, "routes": []},
        {"consumer": {"release": "E"}}])"));
    EXPECT_EQ(buildRouting(false, service),
              k_header +
                  "# by release map\n"
                  "map $http_zul_Release $pay_gate_main_by_release {\n"
                  "}");
}

TEST(RoutingBuilderV3Test, LastDefaultWinsAndFollowsTheConsumers) {
    json service = payService(json::parse(R"([
        {"default": true, "routes": [{"groupName": "First"}]},
        {"consumer": {"release": "R.1"}, "routes": [{"groupName": "Grü"}]},
        {"consumer": {"release": "R.1"}, "routes": [{"groupName": "Grü"}]},
        {"default": true, "routes": [{"groupName": "Second Group"}]}])"));
    EXPECT_EQ(buildRouting(false, service),
              k_header +
                  "# by release map\n"
                  "map $http_zul_Release $pay_gate_main_by_release {\n"
                  "    \"R.1\" \"pay_gate_main_gr__\";\n"
                  "    \"R.1\" \"pay_gate_main_gr__\";\n"
                  "    default \"pay_gate_main_second_group\";\n"
                  "}");
}

TEST(RoutingBuilderV3Test, UncheckedValuesNeverThrow) {
    EXPECT_EQ(buildRouting(false, payService("not a list")),
              k_header +
                  "# by release map\n"
                  "map $http_zul_Release $pay_gate_main_by_release {\n"
                  "}");
    EXPECT_NO_THROW(buildRouting(false, payService(json::parse(R"([3, {"default": 1,
        "routes": [7]}, {"consumer": "x", "routes": {"groupName": "g"}},
        {"consumer": {"release": 5}, "routes": [{"groupName": null}]}])"))));
}
