#include "generator_v3/UpstreamsBuilderV3.h"

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

UpstreamsBuilderV3 httpBuilder(bool ignorePorts = false) {
    return UpstreamsBuilderV3(false, "8080", ignorePorts, std::make_shared<ConfigHeaderScheme3>());
}

UpstreamsBuilderV3 httpsBuilder() {
    return UpstreamsBuilderV3(true, "8443", false, std::make_shared<ConfigHeaderScheme3>());
}

json mainGroup() {
    return json::parse(R"({"groupName": "Main Group",
        "dataCenters": [{"name": "dc1", "nodes": ["10.0.0.1", "10.0.0.2"]}],
        "keepalive": 32})");
}

json ordersService() {
    return json::parse(R"({"deploymentUnit": "orders-api.prod"})");
}

std::string invalid(const std::string& message) {
    return "ostrel v2.4.5 INPUT FILE ='nodes.json' NOT VALID: '" + message + "'\n";
}

// Runs build and returns the text, or "FAILED" followed by what was logged.
std::string buildText(UpstreamsBuilderV3 builder, const json& service, const json& nodeGroup) {
    std::string out;
    testing::internal::CaptureStdout();
    bool ok = builder.build(service, nodeGroup, false, out);
    std::string log = testing::internal::GetCapturedStdout();
    return ok ? out + log : "FAILED\n" + log + out;
}

}  // namespace

TEST(UpstreamsBuilderV3Test, DataCenterNodesWithPortAndKeepalive) {
    EXPECT_EQ(buildText(httpBuilder(), ordersService(), mainGroup()),
              k_header +
                  "# upstream for balancing group Main Group\n"
                  "upstream orders_api_prod_main_group {\n"
                  "    server 10.0.0.1:8080;\n"
                  "    server 10.0.0.2:8080;\n"
                  "\n"
                  "    keepalive 32;\n"
                  "}");
}

TEST(UpstreamsBuilderV3Test, RouteReplacesNodesAndHasNoEmptyLine) {
    json group = mainGroup();
    group["openshiftRoute"] = "orders-route";
    EXPECT_EQ(buildText(httpBuilder(), ordersService(), group),
              k_header +
                  "# upstream for balancing group Main Group\n"
                  "upstream orders_api_prod_main_group {\n"
                  "    server orders-route:8080;\n"
                  "    keepalive 32;\n"
                  "}");
}

TEST(UpstreamsBuilderV3Test, HttpsWithCookieMapHashAndHealthcheck) {
    json service = json::parse(R"({"deploymentUnit": "orders-api.prod",
        "stickyOptions": {"type": "consistent_hash", "stickyCookie": "route-id"},
        "healthcheck": {"enabled": true, "handler": "/health/", "interval": 3000, "rise": 2,
                        "fall": 3, "timeout": 1000}})");
    json group = mainGroup();
    group.erase("keepalive");
    EXPECT_EQ(buildText(httpsBuilder(), service, group),
              k_header +
                  "    map $http_cookie $route_id {\n"
                  "        \"~*route-id=(?<session_cookie>(?U).*)(;|$)\" $session_cookie;\n"
                  "        default 'empty';\n"
                  "    }\n"
                  "\n"
                  "# upstream for balancing group Main Group\n"
                  "upstream orders_api_prod_https_main_group {\n"
                  "    hash $route_id consistent;\n"
                  "\n"
                  "    check type=kiv_hc_agent interval=3000 rise=2 fall=3 timeout=1000;\n"
                  "    check_http_send \"POST /health/orders-api.prod HTTP/1.0\\r\\n\\r\\n\";\n"
                  "\n"
                  "    server 10.0.0.1:8443;\n"
                  "    server 10.0.0.2:8443;\n"
                  "\n"
                  "}");
}

TEST(UpstreamsBuilderV3Test, NodeGroupPortOverridesOnlyItsProtocol) {
    json group = json::parse(R"({"groupName": "g", "openshiftRoute": "r",
        "protocols": {"http": {"port": 9090}}})");
    std::string http = buildText(httpBuilder(), ordersService(), group);
    std::string https = buildText(httpsBuilder(), ordersService(), group);
    EXPECT_NE(http.find("    server r:9090;\n}"), std::string::npos) << http;
    EXPECT_NE(https.find("    server r:8443;\n}"), std::string::npos) << https;

    group["protocols"] = json::parse(R"({"https": {"port": 9443.7}})");
    EXPECT_NE(buildText(httpBuilder(), ordersService(), group).find("server r:8080;"),
              std::string::npos);
    EXPECT_NE(buildText(httpsBuilder(), ordersService(), group).find("server r:9443;"),
              std::string::npos);
}

TEST(UpstreamsBuilderV3Test, IgnorePortsAndSkippedDataCenters) {
    json group = json::parse(R"({"groupName": "g",
        "dataCenters": [{"name": "a"}, {"name": "b", "nodes": ["h1", "h1"]}]})");
    EXPECT_EQ(buildText(httpBuilder(true), ordersService(), group),
              k_header +
                  "# upstream for balancing group g\n"
                  "upstream orders_api_prod_g {\n"
                  "    server h1;\n"
                  "    server h1;\n"
                  "\n"
                  "}");
    group["dataCenters"] = json::parse(R"([{"name": "a"}])");
    EXPECT_EQ(buildText(httpBuilder(true), ordersService(), group),
              k_header +
                  "# upstream for balancing group g\n"
                  "upstream orders_api_prod_g {\n"
                  "\n"
                  "}");
}

TEST(UpstreamsBuilderV3Test, NamesKeepUnitCaseAndCleanGroups) {
    json service = json::parse(R"({"deploymentUnit": "Pay-Gate.Main"})");
    json group = json::parse(R"({"groupName": "A.b-C 9", "openshiftRoute": "r"})");
    std::string text = buildText(httpBuilder(), service, group);
    EXPECT_NE(text.find("# upstream for balancing group A.b-C 9\n"
                        "upstream Pay_Gate_Main_a_b_c_9 {\n"),
              std::string::npos)
        << text;
    // Two bytes of an UTF-8 letter give two underscores.
    group["groupName"] = "Grüppe";
    text = buildText(httpsBuilder(), service, group);
    EXPECT_NE(text.find("upstream Pay_Gate_Main_https_gr__ppe {\n"), std::string::npos) << text;
}

TEST(UpstreamsBuilderV3Test, BalancingDecisionTable) {
    struct Row {
        const char* service;
        const char* cookieMap;
        const char* line;
        const char* failure;
    };
    const std::string idMap =
        "    map $http_cookie $sid_x_y {\n"
        "        \"~*sid.x-y=(?<session_cookie>(?U).*)(;|$)\" $session_cookie;\n"
        "        default 'empty';\n"
        "    }\n"
        "\n";
    const Row rows[] = {
        {R"({})", "", "", nullptr},
        {R"({"sticky": false, "stickyCookie": "sid.x-y"})", "", "", nullptr},
        {R"({"sticky": true})", "", "    hash $zul_session consistent;\n\n", nullptr},
        {R"({"sticky": true, "stickyCookie": "sid.x-y"})", idMap.c_str(),
         "    hash $sid_x_y consistent;\n\n", nullptr},
        {R"({"stickyOptions": {"stickyCookie": "sid"}})", "", "",
         "stickyOptions does not contained a child field type"},
        {R"({"sticky": true, "stickyCookie": "old", "stickyOptions": {"type": "ip_hash",
            "stickyCookie": "sid", "stickyHash": "sha1"}})",
         "", "    ip_hash;\n\n", nullptr},
        {R"({"stickyOptions": {"type": "consistent_hash", "stickyCookie": "sid.x-y",
            "stickyHash": "sha1"}})",
         idMap.c_str(), "    hash $sid_x_y consistent;\n\n", nullptr},
        {R"({"stickyOptions": {"type": "consistent_hash"}})", "", "",
         "stickyOptions does not contained a child field stickyCookie"},
        {R"({"stickyOptions": {"type": "sticky", "stickyCookie": "sid.x-y"}})", "",
         "    sticky name=sid_x_y hash=md5;\n\n", nullptr},
        {R"({"stickyOptions": {"type": "sticky", "stickyCookie": "sid.x-y", "stickyHash": "sha1"}})",
         "", "    sticky name=sid_x_y hash=sha1;\n\n", nullptr},
        {R"({"stickyOptions": {"type": "sticky"}})", "",
         "    sticky name=pay_gate_main_main_a hash=md5;\n\n", nullptr},
        {R"({"stickyOptions": {"type": "sticky", "stickyHash": "sha1"}})", "",
         "    sticky name=pay_gate_main_main_a hash=sha1;\n\n", nullptr},
        {R"({"stickyOptions": {"type": "Sticky", "stickyCookie": "sid"}})", "", "", nullptr},
        {R"({"stickyOptions": {"type": "IP_HASH"}})", "", "", nullptr},
    };
    UpstreamsBuilderV3 builder = httpsBuilder();
    for (const Row& row : rows) {
        json service = json::parse(row.service);
        service["deploymentUnit"] = "pay-gate.main";
        std::string line;
        testing::internal::CaptureStdout();
        bool ok = builder.buildSticky(service, "main_a", line);
        std::string log = testing::internal::GetCapturedStdout();
        EXPECT_EQ(builder.buildHttpCookieMap(service), row.cookieMap) << row.service;
        EXPECT_EQ(line, row.line) << row.service;
        EXPECT_EQ(ok, row.failure == nullptr) << row.service;
        EXPECT_EQ(log, row.failure ? invalid(row.failure) : "") << row.service;
    }
}

TEST(UpstreamsBuilderV3Test, StickyCookieNamedAfterHttpUpstreamInBothFiles) {
    json service = json::parse(R"({"deploymentUnit": "pay-gate.main",
        "stickyOptions": {"type": "sticky"}})");
    json group = json::parse(R"({"groupName": "Main-A", "openshiftRoute": "r"})");
    EXPECT_EQ(buildText(httpsBuilder(), service, group),
              k_header +
                  "# upstream for balancing group Main-A\n"
                  "upstream pay_gate_main_https_main_a {\n"
                  "    sticky name=pay_gate_main_main_a hash=md5;\n"
                  "\n"
                  "    server r:8443;\n"
                  "}");
}

TEST(UpstreamsBuilderV3Test, EmptyCookieNameGivesNoMap) {
    json service = json::parse(R"({"stickyOptions": {"type": "consistent_hash",
        "stickyCookie": ""}})");
    std::string line;
    UpstreamsBuilderV3 builder = httpBuilder();
    EXPECT_EQ(builder.buildHttpCookieMap(service), "");
    EXPECT_TRUE(builder.buildSticky(service, "g", line));
    EXPECT_EQ(line, "    hash $ consistent;\n\n");
}

TEST(UpstreamsBuilderV3Test, HealthcheckOptionalMembersInFixedOrder) {
    json service = json::parse(R"({"deploymentUnit": "orders",
        "healthcheck": {"defaultDown": true, "port": 81, "disableFallCount": false,
                        "timeout": 500, "fall": 1, "rise": 1, "interval": 1000,
                        "handler": "/health", "enabled": true}})");
    std::string out;
    EXPECT_TRUE(httpBuilder().buildHealthcheck(service, out));
    EXPECT_EQ(out,
              "    check type=kiv_hc_agent interval=1000 rise=1 fall=1 timeout=500 port=81"
              " disable_fall_count=false default_down=true;\n"
              "    check_http_send \"POST /healthorders HTTP/1.0\\r\\n\\r\\n\";\n"
              "\n");

    json defaultDownFalse = json::parse(R"({"deploymentUnit": "orders-api.prod",
        "healthcheck": {"enabled": true, "handler": "/health/", "interval": 3000, "rise": 2,
                        "fall": 3, "timeout": 1000, "defaultDown": false}})");
    EXPECT_TRUE(httpBuilder().buildHealthcheck(defaultDownFalse, out));
    EXPECT_EQ(out,
              "    check type=kiv_hc_agent interval=3000 rise=2 fall=3 timeout=1000"
              " default_down=false;\n"
              "    check_http_send \"POST /health/orders-api.prod HTTP/1.0\\r\\n\\r\\n\";\n"
              "\n");
}

TEST(UpstreamsBuilderV3Test, HealthcheckOnlyWhenEnabledAndNotRouted) {
    json service = json::parse(R"({"deploymentUnit": "orders",
        "healthcheck": {"enabled": false, "handler": "/h"}})");
    json group = json::parse(R"({"groupName": "g", "dataCenters": [{"nodes": ["n"]}]})");
    std::string disabled = buildText(httpBuilder(), service, group);
    EXPECT_EQ(disabled.find("check"), std::string::npos) << disabled;

    service["healthcheck"]["enabled"] = true;
    group["openshiftRoute"] = "r";
    std::string routed = buildText(httpBuilder(), service, group);
    EXPECT_EQ(routed.find("check"), std::string::npos) << routed;
    EXPECT_EQ(routed.find("FAILED"), std::string::npos) << routed;
}

TEST(UpstreamsBuilderV3Test, FailuresLogAndLeaveTheTextUnchanged) {
    struct Case {
        json service;
        json group;
        std::string message;
    };
    json healthy = json::parse(R"({"deploymentUnit": "d",
        "healthcheck": {"enabled": true, "handler": "/h", "interval": 1000, "rise": 1,
                        "fall": 1, "timeout": 500}})");
    auto without = [&](const char* member) {
        json service = healthy;
        service["healthcheck"].erase(member);
        return service;
    };
    json noHandlerNoTimeout = without("handler");
    noHandlerNoTimeout["healthcheck"].erase("timeout");
    json group = json::parse(R"({"groupName": "g", "dataCenters": [{"nodes": ["n"]}]})");
    auto withKeepalive = [&](const json& value) {
        json g = group;
        g["keepalive"] = value;
        return g;
    };
    const Case cases[] = {
        {healthy, json::parse(R"({"dataCenters": []})"),
         "expected type 'string' for field 'groupName'"},
        {healthy, json::parse(R"({"groupName": ""})"),
         "expected type 'string' for field 'groupName'"},
        {healthy, json::parse(R"({"groupName": 7})"),
         "expected type 'string' for field 'groupName'"},
        {noHandlerNoTimeout, group, "expected parameter 'handler' for field 'healthcheck'"},
        {without("timeout"), group, "expected parameter 'timeout' for field 'healthcheck'"},
        {without("fall"), group, "expected parameter 'fall' for field 'healthcheck'"},
        {without("rise"), group, "expected parameter 'rise' for field 'healthcheck'"},
        {without("interval"), group, "expected parameter 'interval' for field 'healthcheck'"},
        {healthy, withKeepalive(-1), "keepalive value needed number_unsigned type"},
        {healthy, withKeepalive(1.5), "keepalive value needed number_unsigned type"},
        {healthy, withKeepalive(16.0), "keepalive value needed number_unsigned type"},
        {healthy, withKeepalive("16"), "keepalive value needed number_unsigned type"},
        {healthy, withKeepalive(true), "keepalive value needed number_unsigned type"},
    };
    for (const Case& c : cases) {
        std::string out = "untouched";
        testing::internal::CaptureStdout();
        bool ok = httpBuilder().build(c.service, c.group, false, out);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), invalid(c.message)) << c.message;
        EXPECT_FALSE(ok) << c.message;
        EXPECT_EQ(out, "untouched") << c.message;
    }

    std::string out;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(httpBuilder().buildKeepalive(group, out));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), invalid("keepalive not exists"));
}

TEST(UpstreamsBuilderV3Test, KeepaliveIsWrittenExactly) {
    json group = json::parse(R"({"groupName": "g", "keepalive": 0})");
    std::string out;
    EXPECT_TRUE(httpBuilder().buildKeepalive(group, out));
    EXPECT_EQ(out, "    keepalive 0;\n");
    group["keepalive"] = 4294967296ULL;
    EXPECT_TRUE(httpBuilder().buildKeepalive(group, out));
    EXPECT_EQ(out, "    keepalive 4294967296;\n");
}

TEST(UpstreamsBuilderV3Test, UncheckedValuesNeverThrow) {
    // Values that validation rejects must still not throw when the builder sees them.
    json service = json::parse(R"({"deploymentUnit": 12, "sticky": "yes",
        "healthcheck": {"enabled": true, "handler": 5, "interval": 1e20, "rise": true,
                        "fall": -3.9, "timeout": 99999999999}})");
    json group = json::parse(R"({"groupName": "g", "dataCenters": [7, {"nodes": [1, null]}],
        "protocols": {"http": {"port": 3000000000}}})");
    std::string text = buildText(httpBuilder(), service, group);
    EXPECT_EQ(text, k_header +
                        "# upstream for balancing group g\n"
                        "upstream 12_g {\n"
                        "    check type=kiv_hc_agent interval=2147483647 rise=1 fall=-3"
                        " timeout=99999999999;\n"
                        "    check_http_send \"POST 512 HTTP/1.0\\r\\n\\r\\n\";\n"
                        "\n"
                        "    server 1:3000000000;\n"
                        "    server null:3000000000;\n"
                        "\n"
                        "}");

    service["healthcheck"]["port"] = "81; evil";
    EXPECT_EQ(buildText(httpBuilder(), service, group),
              "FAILED\n" + invalid("expected type 'number' for field 'healthcheck.port'"));
    json notObjects = json::array();
    EXPECT_NO_THROW(buildText(httpBuilder(), notObjects, notObjects));
}
