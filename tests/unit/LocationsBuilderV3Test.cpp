#include "generator_v3/LocationsBuilderV3.h"

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

LocationsBuilderV3 httpBuilder(bool ignorePorts = false) {
    return LocationsBuilderV3("8080", ignorePorts, std::make_shared<ConfigHeaderScheme3>());
}

LocationsBuilderV3 httpsBuilder() {
    return LocationsBuilderV3(true, "pay.example.org", "8443", false,
                              std::make_shared<ConfigHeaderScheme3>());
}

json payService() {
    return json::parse(R"({"deploymentUnit": "pay-gate.main", "subsystem": "PAY",
        "quotas": [{"type": "rpsbyconsumer", "subsystem": "SHOP", "deploymentUnit": "shop-front",
                    "rpslimit": 50}],
        "apiVersions": [{"version": "v1",
            "nodeGroups": [{"groupName": "Main-A", "openshiftRoute": "pay.apps.local"}],
            "locations": [{"url": "/api/pay", "proxyPass": "/pay"}]}]})");
}

// A service with one API version holding the given locations and no quotas.
json serviceWith(const json& locations) {
    json service = json::parse(R"({"deploymentUnit": "d", "subsystem": "S",
        "apiVersions": [{}]})");
    service["apiVersions"][0]["locations"] = locations;
    return service;
}

const std::string k_openLocation =
    "    set $dst_subsystem \"S\";\n"
    "    set $dst_deploymentunit \"d\";\n";

const std::string k_plainProxyHeaders =
    "    proxy_set_header \"zul-rest-id\" $gen_zul_rest_id;\n"
    "    set $var_host $http_host;\n"
    "    proxy_set_header Host $var_host;\n"
    "    include nginx_common_headers.conf;\n";

}  // namespace

TEST(LocationsBuilderV3Test, ProxyLocationOverHttp) {
    EXPECT_EQ(
        httpBuilder().build(payService()),
        k_header +
            "location /api/pay {\n"
            "    set $dst_subsystem \"PAY\";\n"
            "    set $dst_deploymentunit \"pay_gate_main\";\n"
            "    limit_req zone=PAY_pay_gate_main_SHOP_shop_front_req_zone burst=10 nodelay;\n"
            "    limit_req zone=PAY_pay_gate_main_default_req_zone burst=10 nodelay;\n"
            "    proxy_pass http://$pay_gate_main_by_release/pay;\n"
            "    proxy_set_header \"zul-rest-id\" $gen_zul_rest_id;\n"
            "    set $var_host $http_host;\n"
            "\n"
            "    if ($pay_gate_main_by_release = \"pay_gate_main_main_a\") {\n"
            "        set $var_host \"pay.apps.local:8080\";\n"
            "    }\n"
            "    proxy_set_header Host $var_host;\n"
            "    include nginx_common_headers.conf;\n"
            "}\n"
            "\n");
}

TEST(LocationsBuilderV3Test, ProxyLocationOverHttps) {
    EXPECT_EQ(
        httpsBuilder().build(payService()),
        k_header +
            "location /api/pay {\n"
            "    set $dst_subsystem \"PAY\";\n"
            "    set $dst_deploymentunit \"pay_gate_main\";\n"
            "    limit_req zone=PAY_pay_gate_main_SHOP_shop_front_req_zone burst=10 nodelay;\n"
            "    limit_req zone=PAY_pay_gate_main_default_req_zone burst=10 nodelay;\n"
            "    proxy_pass https://$pay_gate_main_https_by_release/pay;\n"
            "    proxy_ssl_name \"pay.example.org\";\n"
            "    proxy_set_header \"zul-rest-id\" $gen_zul_rest_id;\n"
            "    set $var_host $http_host;\n"
            "\n"
            "    if ($pay_gate_main_by_release = \"pay_gate_main_main_a\") {\n"
            "        set $var_host \"pay.apps.local:8443\";\n"
            "    }\n"
            "    proxy_set_header Host $var_host;\n"
            "    include nginx_common_headers.conf;\n"
            "}\n"
            "\n");
}

TEST(LocationsBuilderV3Test, ReturnAndAliasLocations) {
    json locations = json::parse(R"([
        {"url": "/r", "return": {"code": "200", "body": "ok"}, "index": "i.html",
         "headers": [{"name": "X-A", "value": "1"}, {"name": "X-B"}, {"value": "2"},
                     {"name": "X-C", "value": "3"}]},
        {"url": "/half", "return": {"code": "204"}, "headers": [{"name": "X", "value": "1"}]},
        {"url": "/files", "expires": "1h", "proxy_cache_revalidate": "on",
         "proxy_cache_bypass": "$c", "try_files": "$uri =404", "index": "index.html",
         "alias": "/srv/files/", "proxyPass": "/ignored",
         "headers": [{"name": "X-D", "value": "4"}]}])");
    EXPECT_EQ(httpBuilder().build(serviceWith(locations)), k_header + "location /r {\n" +
                                                               k_openLocation +
                                                               "    return 200 'ok';\n"
                                                               "    add_header X-A \"1\";\n"
                                                               "    add_header X-C \"3\";\n"
                                                               "}\n"
                                                               "\n"
                                                               "location /half {\n" +
                                                               k_openLocation +
                                                               "}\n"
                                                               "\n"
                                                               "location /files {\n" +
                                                               k_openLocation +
                                                               "    alias /srv/files/;\n"
                                                               "    index index.html;\n"
                                                               "    try_files $uri =404;\n"
                                                               "    proxy_cache_bypass $c;\n"
                                                               "    proxy_cache_revalidate on;\n"
                                                               "    expires 1h;\n"
                                                               "    add_header X-D \"4\";\n"
                                                               "}\n"
                                                               "\n");
}

TEST(LocationsBuilderV3Test, RewriteComesBeforeTheProxyLine) {
    json locations = json::parse(R"([
        {"url": "/a", "rewrite": {"regex": "^/a/(.*)$", "replacement": "/$1", "flag": "break"},
         "index": "ignored"},
        {"url": "/b", "rewrite": {"regex": "^/b", "replacement": "/"}, "proxyPass": "/b"}])");
    EXPECT_EQ(httpBuilder().build(serviceWith(locations)),
              k_header + "location /a {\n" + k_openLocation +
                  "    rewrite ^/a/(.*)$ /$1 break;\n"
                  "    proxy_pass http://$d_by_release;\n" +
                  k_plainProxyHeaders +
                  "}\n"
                  "\n"
                  "location /b {\n" +
                  k_openLocation + "    proxy_pass http://$d_by_release/b;\n" +
                  k_plainProxyHeaders +
                  "}\n"
                  "\n");
}

TEST(LocationsBuilderV3Test, LimitLinesFollowTheQuotas) {
    json service = serviceWith(json::parse(R"([{"url": "/x", "return": {}}])"));
    EXPECT_EQ(httpBuilder().build(service), k_header + "location /x {\n" + k_openLocation +
                                                "}\n"
                                                "\n");
    service["quotas"] = json::parse(R"([{"type": "rpsdefault", "rpslimit": 5},
        {"type": "other", "subsystem": "A", "deploymentUnit": "b"}])");
    EXPECT_EQ(httpBuilder().build(service),
              k_header + "location /x {\n" + k_openLocation +
                  "    limit_req zone=S_d_default_req_zone burst=10 nodelay;\n"
                  "}\n"
                  "\n");
    service["quotas"] = json::array();
    EXPECT_EQ(httpBuilder().buildLimits(service),
              "    limit_req zone=S_d_default_req_zone burst=10 nodelay;\n");
}

TEST(LocationsBuilderV3Test, NodeGroupPortPersistsAcrossGroupsAndVersions) {
    json service = json::parse(R"({"deploymentUnit": "d", "subsystem": "S", "apiVersions": [
        {"nodeGroups": [{"groupName": "A", "openshiftRoute": "a",
                         "protocols": {"http": {"port": 9000}}},
                        {"groupName": "B", "openshiftRoute": "b"},
                        {"groupName": "N", "dataCenters": []}],
         "locations": [{"url": "/1"}]},
        {"nodeGroups": [{"groupName": "C", "openshiftRoute": "c"}],
         "locations": [{"url": "/2"}]}]})");
    auto hostBlock = [](const std::string& group, const std::string& host) {
        return "\n"
               "    if ($d_by_release = \"d_" +
               group +
               "\") {\n"
               "        set $var_host \"" +
               host +
               "\";\n"
               "    }\n";
    };
    auto proxied = [&](const std::string& url, const std::string& scheme,
                       const std::string& hostBlocks) {
        return "location " + url + " {\n" + k_openLocation + "    proxy_pass " + scheme +
               "_by_release;\n"
               "    proxy_set_header \"zul-rest-id\" $gen_zul_rest_id;\n"
               "    set $var_host $http_host;\n" +
               hostBlocks +
               "    proxy_set_header Host $var_host;\n"
               "    include nginx_common_headers.conf;\n"
               "}\n"
               "\n";
    };
    EXPECT_EQ(httpBuilder().build(service),
              k_header +
                  proxied("/1", "http://$d", hostBlock("a", "a:9000") + hostBlock("b", "b:9000")) +
                  proxied("/2", "http://$d", hostBlock("c", "c:9000")));
    // The HTTPS builder reads only the "https" port: the hosts keep its own.
    std::string https =
        LocationsBuilderV3(true, "cn", "8443", false, std::make_shared<ConfigHeaderScheme3>())
            .build(service);
    EXPECT_NE(https.find("set $var_host \"c:8443\""), std::string::npos) << https;
    EXPECT_EQ(https.find("9000"), std::string::npos) << https;
    // Without ports the hosts are the routes alone.
    std::string noPorts = httpBuilder(true).build(service);
    EXPECT_NE(noPorts.find("set $var_host \"a\";"), std::string::npos) << noPorts;
    EXPECT_EQ(noPorts.find(":9000"), std::string::npos) << noPorts;
}

TEST(LocationsBuilderV3Test, EmptyAndIncompleteServices) {
    json noLocations = json::parse(R"({"deploymentUnit": "d", "subsystem": "S",
        "apiVersions": [{"nodeGroups": []}]})");
    EXPECT_EQ(httpBuilder().build(noLocations), k_header);
    // A location without "url" opens with two blanks before the brace.
    EXPECT_EQ(httpBuilder().build(serviceWith(json::parse(R"([{"return": {}}])"))),
              k_header + "location  {\n" + k_openLocation +
                  "}\n"
                  "\n");
    EXPECT_NO_THROW(httpBuilder().build(json::parse(R"({"apiVersions": [7, {"locations": [3,
        {"url": 4, "headers": [5], "rewrite": 6, "proxyPass": null}]}]})")));
    EXPECT_EQ(httpBuilder().build(json::array()), k_header);
}
