// The openshift host blocks of HTTPS location files in runs with and without HTTP files.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/Json.h"
#include "generator_v3/ConfigHeaderScheme3.h"
#include "generator_v3/LocationsBuilderV3.h"

namespace {

Json routedService() {
    return Json::parse(R"({"deploymentUnit": "crm-api", "subsystem": "CRM",
        "apiVersions": [{"nodeGroups": [{"groupName": "Open.Shift", "openshiftRoute": "crm.local"}],
                         "locations": [{"url": "/crm/"}]}]})");
}

std::string hostBlocksOf(bool httpFilesWritten) {
    LocationsBuilderV3 builder(true, "gw.local", "8443", false,
                               std::make_shared<ConfigHeaderScheme3>());
    builder.setHttpFilesWritten(httpFilesWritten);
    return builder.buildShiftHeaders(routedService().at("apiVersions").at(0), "crm_api");
}

}  // namespace

// Both protocols written: the HTTP variable and upstream names, as the HTTP routing file
// defines them.
TEST(LocationsBuilderV3HttpsOnlyTest, BothProtocolsKeepTheHttpVariable) {
    EXPECT_EQ(std::string("\n") +
                  "    if ($crm_api_by_release = \"crm_api_open_shift\") {\n"
                  "        set $var_host \"crm.local:8443\";\n"
                  "    }\n",
              hostBlocksOf(true));
}

// HTTPS files only: the routing file that exists defines $crm_api_https_by_release, whose values
// are the HTTPS upstream names.
TEST(LocationsBuilderV3HttpsOnlyTest, HttpsOnlyTestsTheHttpsVariable) {
    EXPECT_EQ(std::string("\n") +
                  "    if ($crm_api_https_by_release = \"crm_api_https_open_shift\") {\n"
                  "        set $var_host \"crm.local:8443\";\n"
                  "    }\n",
              hostBlocksOf(false));
}

// The whole HTTPS-only location block: the host block sits between the set and Host lines and
// the proxy line keeps the HTTPS variable.
TEST(LocationsBuilderV3HttpsOnlyTest, HttpsOnlyLocationBlock) {
    LocationsBuilderV3 builder(true, "gw.local", "8443", true,
                               std::make_shared<ConfigHeaderScheme3>());
    builder.setHttpFilesWritten(false);
    EXPECT_EQ(std::string("# ostrel v2.4.5 \n") + "# scheme3\n" + "location /crm/ {\n" +
                  "    set $dst_subsystem \"CRM\";\n" +
                  "    set $dst_deploymentunit \"crm_api\";\n" +
                  "    proxy_pass https://$crm_api_https_by_release;\n" +
                  "    proxy_ssl_name \"gw.local\";\n" +
                  "    proxy_set_header \"zul-rest-id\" $gen_zul_rest_id;\n" +
                  "    set $var_host $http_host;\n" + "\n" +
                  "    if ($crm_api_https_by_release = \"crm_api_https_open_shift\") {\n" +
                  "        set $var_host \"crm.local\";\n" + "    }\n" +
                  "    proxy_set_header Host $var_host;\n" +
                  "    include nginx_common_headers.conf;\n" + "}\n" + "\n",
              builder.build(routedService()));
}
