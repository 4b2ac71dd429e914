#include "generator_v3/GenerationSteps.h"
#include "generator_v3/NamesGenerator.h"

#include <gtest/gtest.h>

#include "common/Json.h"

using json = Json;

TEST(NamesGeneratorTest, FileSuffixes) {
    NamesGenerator names;
    EXPECT_EQ(names.upstreamPostfixFname(false), ".upstream.vek.conf");
    EXPECT_EQ(names.upstreamPostfixFname(true), ".upstream.https.vek.conf");
    EXPECT_EQ(names.locationPostfixFname(false), ".location.vek.conf");
    EXPECT_EQ(names.locationPostfixFname(true), ".location.https.vek.conf");
    EXPECT_EQ(names.routingPostfixFname(false), ".routing.vek.conf");
    EXPECT_EQ(names.routingPostfixFname(true), ".routing.https.vek.conf");
    EXPECT_EQ(names.limitsPostfixFname(), ".limits.vek.conf");
}

TEST(NamesGeneratorTest, UpstreamFilePrefixCleansTheGroupOnly) {
    NamesGenerator names;
    EXPECT_EQ(names.upstreamPrefixFname("pay-gate.main", json{{"groupName", "Main-A"}}),
              "pay-gate.main.main_a");
    // Each byte of a two-byte letter becomes one underscore.
    EXPECT_EQ(names.upstreamPrefixFname("p", json{{"groupName", "Grü N"}}), "p.gr___n");
    // The serialised form is cleaned: an escaped quote leaves the backslash's underscore.
    EXPECT_EQ(names.upstreamPrefixFname("p", json{{"groupName", "a\"b"}}), "p.a_b");
    EXPECT_EQ(names.upstreamPrefixFname("p", json{{"groupName", 12}}), "p.12");
}

TEST(NamesGeneratorTest, UpstreamAndVariableNames) {
    NamesGenerator names;
    EXPECT_EQ(names.genUpstreamHttpsName("pay_gate", true), "pay_gate_https");
    EXPECT_EQ(names.genUpstreamHttpsName("pay_gate", false), "pay_gate");
    EXPECT_EQ(names.upstreamBaseName("Pay-Gate.Main", true), "Pay_Gate_Main_https");
    EXPECT_EQ(names.upstreamName("Pay_Gate_Main", "Main Group.1"), "Pay_Gate_Main_main_group_1");
    EXPECT_EQ(names.byReleaseVariable("pay_gate_main_https"), "$pay_gate_main_https_by_release");
}

TEST(NamesGeneratorTest, ZoneNames) {
    NamesGenerator names;
    EXPECT_EQ(names.generateZoneNameForLimits("PAY", "pay-gate.main", "SHOP", "shop-front"),
              "PAY_pay_gate_main_SHOP_shop_front");
    EXPECT_EQ(names.generateZoneNameForDefaultLimits("a.-b", "c"), "a__b_c");
    EXPECT_EQ(names.generateZoneNameForDefaultLimits("PAY", ""), "PAY_");
    EXPECT_EQ(names.consumerZone("PAY", "pay-gate.main", "SHOP", "shop-front"),
              "PAY_pay_gate_main_SHOP_shop_front_req_zone");
    EXPECT_EQ(names.defaultZone("PAY", "pay-gate.main"), "PAY_pay_gate_main_default_req_zone");
}

// The file-name prefix of a service is its "deploymentUnit" as compact JSON without double
// quotes: a plain name as it stands, anything that JSON escapes with its escapes kept.
TEST(NamesGeneratorTest, DeploymentUnitPrefixIsTheUnitsJsonTextWithoutQuotes) {
    auto prefix = [](const json& unit) {
        return generation::cleanDeploymentUnit(json{{"deploymentUnit", unit}});
    };
    EXPECT_EQ(prefix("svc-1.orders_A~z"), "svc-1.orders_A~z");
    EXPECT_EQ(prefix("a\"b"), "a\\b");
    EXPECT_EQ(prefix("a\\b"), "a\\\\b");
    EXPECT_EQ(prefix("tab\t"), "tab\\t");
    EXPECT_EQ(prefix("\x7f"), "\x7f");
    EXPECT_EQ(prefix("caf\xc3\xa9"), "caf\xc3\xa9");
    EXPECT_EQ(prefix("bad\xff"), "bad\xef\xbf\xbd");
    EXPECT_EQ(prefix(12), "12");
    EXPECT_EQ(prefix(json::array({"x", 1})), "[x,1]");
    EXPECT_EQ(generation::cleanDeploymentUnit(json::object()), "null");
}
