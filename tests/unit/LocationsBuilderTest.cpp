#include "generator_v2/locations_builder.h"

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

const std::string k_open =
    "    set $dst_subsystem \"PAY\";\n"
    "    set $dst_deploymentunit \"pay_gate_main\";\n"
    "    limit_req zone=PAY_pay_gate_main_default_req_zone burst=10 nodelay;\n";

json payService(const json& locations) {
    json service = json::parse(R"({"deploymentUnit": "pay-gate.main", "subsystem": "PAY",
        "quotas": [],
        "apiVersions": [{"nodeGroups": [{"groupName": "Main-A", "openshiftRoute": "pay.apps",
                                         "protocols": {"http": {"port": 9000}}}]}]})");
    service["apiVersions"][0]["locations"] = locations;
    return service;
}

std::string build(const json& service) {
    return locations_builder(std::make_shared<ConfigHeaderScheme2>()).build(service);
}

std::string proxied(const std::string& scheme) {
    return "location /api {\n" + k_open + "    proxy_pass " + scheme +
           "://$pay_gate_main_by_release/pay;\n"
           "    proxy_set_header \"zul-rest-id\" $gen_zul_rest_id;\n"
           "    set $var_host $http_host;\n"
           "\n"
           "    if ($pay_gate_main_by_release = \"pay_gate_main_main_a\") {\n"
           "        set $var_host \"pay.apps\";\n"
           "    }\n"
           "    proxy_set_header Host $var_host;\n"
           "    include nginx_common_headers.conf;\n"
           "}\n"
           "\n";
}

}  // namespace

TEST(LocationsBuilderTest, SslFlagChoosesTheSchemeOnly) {
    json service = payService(json::parse(R"([{"url": "/api", "proxyPass": "/pay"}])"));
    EXPECT_EQ(build(service), k_header + proxied("http"));
    service["ssl"] = true;
    EXPECT_EQ(build(service), k_header + proxied("https"));
    service["ssl"] = false;
    EXPECT_EQ(build(service), k_header + proxied("http"));
}

TEST(LocationsBuilderTest, IndexAndAliasLocations) {
    json service = payService(json::parse(R"([
        {"url": "/i", "index": "index.html", "proxyPass": "/ignored",
         "headers": [{"name": "X-A", "value": "1"}]},
        {"url": "/a", "alias": "/srv/", "index": "i.html", "try_files": "$uri",
         "expires": "1h", "headers": [{"name": "X-B", "value": "2"}]},
        {"url": "/r", "return": {"code": "301", "body": "/new"}}])"));
    EXPECT_EQ(build(service), k_header + "location /i {\n" + k_open +
                                  "    index index.html;\n"
                                  "    add_header X-A \"1\";\n"
                                  "}\n"
                                  "\n"
                                  "location /a {\n" +
                                  k_open +
                                  "    alias /srv/;\n"
                                  "    index i.html;\n"
                                  "    add_header X-B \"2\";\n"
                                  "}\n"
                                  "\n"
                                  "location /r {\n" +
                                  k_open +
                                  "    return 301 '/new';\n"
                                  "}\n"
                                  "\n");
}
