#include "checkers/UpstreamsChecker.h"

#include <gtest/gtest.h>

namespace {

// Message of the whole check for a valid service with the members of extra added or replaced.
// It starts with the empty line of the passing subsystem rule.
std::string upstreamsMessage(const char* extra) {
    Json service = Json::parse(R"({"subsystem":"S","deploymentUnit":"D",
        "apiVersions":[{"nodeGroups":[{"groupName":"g","dataCenters":[{"name":"dc","nodes":["n1"]}]}]}]})");
    service.update(Json::parse(extra));
    return UpstreamsChecker(service).check().getErrorMessage();
}

std::string nodeGroupsMessage(const char* nodeGroups) {
    return upstreamsMessage(
        (std::string(R"({"apiVersions":[{},{"nodeGroups":)") + nodeGroups + "}]}").c_str());
}

}  // namespace

TEST(UpstreamsCheckerTest, ValidServicePasses) {
    EXPECT_EQ(upstreamsMessage("{}"), "\n");
    EXPECT_EQ(upstreamsMessage(R"({"healthcheck":{"handler":"/h","enabled":true,"interval":1000,
        "rise":true,"fall":1,"timeout":500,"defaultDown":false,"disableFallCount":true,"port":8081}})"),
              "\n");
    EXPECT_EQ(upstreamsMessage(R"({"healthcheck":{"handler":"/h","enabled":false,"interval":1000.5}})"),
              "\n");
}

TEST(UpstreamsCheckerTest, HealthcheckShape) {
    EXPECT_EQ(upstreamsMessage(R"({"healthcheck":[]})"), "\n\"healthcheck\" must be object\n");
    EXPECT_EQ(upstreamsMessage(R"({"healthcheck":{}})"),
              "\n\"healthcheck.handler\" not exists\n\"healthcheck.enabled\" not exists\n");
}

TEST(UpstreamsCheckerTest, HealthcheckLimitsAreInclusive) {
    EXPECT_EQ(upstreamsMessage(R"({"healthcheck":{"handler":"","enabled":1,"interval":999,
        "rise":0,"fall":false,"timeout":499,"defaultDown":"no","disableFallCount":0}})"),
              "\n"
              "\"healthcheck.handler\" must be not empty string\n"
              "\"healthcheck.enabled\" must be boolean\n"
              "\"healthcheck.interval\" must be >= 1000\n"
              "\"healthcheck.rise\" must be >= 1\n"
              "\"healthcheck.fall\" must be >= 1\n"
              "\"healthcheck.timeout\" must be >= 500\n"
              "\"healthcheck.defaultDown\" must be boolean\n"
              "\"healthcheck.disableFallCount\" must be boolean\n");
    EXPECT_EQ(upstreamsMessage(R"({"healthcheck":{"handler":5,"enabled":true,"interval":999.9,
        "rise":0.99,"fall":-1}})"),
              "\n"
              "\"healthcheck.handler\" must be string\n"
              "\"healthcheck.interval\" must be >= 1000\n"
              "\"healthcheck.rise\" must be >= 1\n"
              "\"healthcheck.fall\" must be >= 1\n");
}

TEST(UpstreamsCheckerTest, HealthcheckValuesTheBuilderCannotRead) {
    EXPECT_EQ(upstreamsMessage(R"({"healthcheck":{"handler":"/h","enabled":true,
        "interval":"3000","rise":null,"fall":2147483648,"timeout":1e300,"port":-1}})"),
              "\n"
              "\"healthcheck.interval\" must be number\n"
              "\"healthcheck.rise\" must be number\n"
              "\"healthcheck.fall\" must be <= 2147483647\n"
              "\"healthcheck.timeout\" must be <= 2147483647\n"
              "\"healthcheck.port\" must be unsigned number\n");
    EXPECT_EQ(upstreamsMessage(R"({"healthcheck":{"handler":"/h","enabled":true,
        "interval":-4294966296,"fall":2147483647,"port":4294967296}})"),
              "\n"
              "\"healthcheck.interval\" must be >= 1000\n"
              "\"healthcheck.port\" must be <= 2147483647\n");
    EXPECT_EQ(upstreamsMessage(R"({"healthcheck":{"handler":"/h","enabled":true,"port":80.0}})"),
              "\n\"healthcheck.port\" must be unsigned number\n");
}

TEST(UpstreamsCheckerTest, NodeGroups) {
    EXPECT_EQ(upstreamsMessage(R"({"apiVersions":null})"), "\n");
    Json noApiVersions = Json::parse(R"({"subsystem":"S","deploymentUnit":"D"})");
    EXPECT_EQ(UpstreamsChecker(noApiVersions).check().getErrorMessage(),
              "\none of \"services\" not exists \"apiVersions\" field\n");
    EXPECT_EQ(nodeGroupsMessage(R"([{}, 5])"),
              "\n"
              "\"dataCenters\" or \"openshiftRoute\" fields not exists in one of "
              "apiVersions[i].nodeGroups[j]\n"
              "\"groupName\" not exists\n"
              "\"dataCenters\" or \"openshiftRoute\" fields not exists in one of "
              "apiVersions[i].nodeGroups[j]\n"
              "\"groupName\" not exists\n");
    // The route wins over the data centers, which are then not looked at.
    EXPECT_EQ(nodeGroupsMessage(R"([{"groupName":"g","openshiftRoute":"","dataCenters":"x"},
                                   {"groupName":7,"openshiftRoute":1},{"groupName":""}])"),
              "\n"
              "\"openshiftRoute\" must be not empty string\n"
              "\"openshiftRoute\" must be string\n"
              "\"groupName\" must be string\n"
              "\"dataCenters\" or \"openshiftRoute\" fields not exists in one of "
              "apiVersions[i].nodeGroups[j]\n"
              "\"groupName\" must be not empty string\n");
}

TEST(UpstreamsCheckerTest, DataCenters) {
    EXPECT_EQ(nodeGroupsMessage(R"([{"groupName":"g","dataCenters":"x"},
                                   {"groupName":"g","dataCenters":[{},{"name":5,"nodes":[]}]},
                                   {"groupName":"g","dataCenters":[{"name":"","nodes":"a"}]}])"),
              "\n"
              "\"dataCenters\" must be array\n"
              "element in \"dataCenters\" must be object\n"
              "\"name\" in \"dataCenters\"[i] not exists\n"
              "\"nodes\" in \"dataCenters\"[i] not exists\n"
              "\"name\" in \"dataCenters\"[i] must be string\n"
              "\"nodes\" in \"dataCenters\"[i] must be not empty array\n"
              "\"name\" in \"dataCenters\"[i] must be not empty string\n"
              "\"nodes\" in \"dataCenters\"[i] must be array\n");
    // An object is walked through its member values; null has no elements.
    EXPECT_EQ(nodeGroupsMessage(R"([{"groupName":"g","dataCenters":
                                      {"a":{"name":"a","nodes":["n",1,null]},"b":3}},
                                   {"groupName":"g","dataCenters":null}])"),
              "\n"
              "\"dataCenters\" must be array\n"
              "element in \"nodes\" must be string\n"
              "element in \"nodes\" must be string\n"
              "element in \"dataCenters\" must be object\n"
              "\"dataCenters\" must be array\n");
}

TEST(UpstreamsCheckerTest, NodeGroupPorts) {
    EXPECT_EQ(nodeGroupsMessage(R"([{"openshiftRoute":"r","protocols":{"http":{"port":"80"},
                                      "https":{"port":3000000000}}},
                                   {"groupName":"g","openshiftRoute":"r","protocols":{"http":{"port":-3000000000},"https":{"port":true}}},
                                   {"groupName":"g","openshiftRoute":"r","protocols":{"http":{"port":8080.5},"https":{}}},
                                   {"groupName":"g","openshiftRoute":"r","protocols":"http"}])"),
              "\n"
              "\"groupName\" not exists\n"
              "\"protocols.http.port\" in \"nodeGroups\"[j] must be number\n"
              "\"protocols.https.port\" in \"nodeGroups\"[j] must be <= 2147483647\n"
              "\"protocols.http.port\" in \"nodeGroups\"[j] must be >= -2147483648\n"
              "\"protocols.https.port\" in \"nodeGroups\"[j] must be number\n");
}

TEST(UpstreamsCheckerTest, Balancing) {
    EXPECT_EQ(upstreamsMessage(R"({"ssl":"yes","sticky":1,"stickyCookie":5})"),
              "\n\"ssl\" must be boolean\n\"sticky\" must be boolean\n");
    EXPECT_EQ(upstreamsMessage(R"({"sticky":true,"stickyCookie":5})"),
              "\n\"stickyCookie\" must be string\n");
    EXPECT_EQ(upstreamsMessage(R"({"sticky":false,"stickyCookie":5})"), "\n");
    EXPECT_EQ(upstreamsMessage(R"({"sticky":1,"stickyOptions":{"type":"ip_hash","stickyCookie":1}})"),
              "\n");
    EXPECT_EQ(upstreamsMessage(R"({"stickyOptions":{"type":"Sticky","stickyCookie":1}})"),
              "\n\"stickyOptions.type\" must be sticky or consistent_hash or ip_hash\n");
    EXPECT_EQ(upstreamsMessage(R"({"stickyOptions":{"type":5}})"),
              "\n\"stickyOptions.type\" must be string\n");
    EXPECT_EQ(upstreamsMessage(R"({"stickyOptions":{"type":"sticky","stickyCookie":1,"stickyHash":"MD5"}})"),
              "\n\"stickyOptions.stickyCookie\" must be string\n"
              "\"stickyOptions.stickyHash\" must be md5 or sha1\n");
    EXPECT_EQ(upstreamsMessage(R"({"stickyOptions":{"type":"sticky","stickyHash":1}})"),
              "\n\"stickyOptions.stickyHash\" must be string\n");
    EXPECT_EQ(upstreamsMessage(R"({"stickyOptions":{"type":"sticky","stickyHash":"sha1"}})"), "\n");
    EXPECT_EQ(upstreamsMessage(R"({"stickyOptions":{"type":"consistent_hash","stickyCookie":[],
                                   "stickyHash":1}})"),
              "\n\"stickyOptions.stickyCookie\" must be string\n");
    EXPECT_EQ(upstreamsMessage(R"({"stickyOptions":{"type":"consistent_hash"}})"), "\n");
    EXPECT_EQ(upstreamsMessage(R"({"ssl":1,"stickyOptions":"ip_hash"})"),
              "\n\"ssl\" must be boolean\n\"stickyOptions\" must be object\n");
    EXPECT_EQ(upstreamsMessage(R"({"stickyOptions":{"stickyCookie":"c"}})"),
              "\n\"stickyOptions.type\" not exists\n");
}

TEST(UpstreamsCheckerTest, RuleGroupsRunInOrder) {
    EXPECT_EQ(upstreamsMessage(R"({"deploymentUnit":1,"protocols":{},"healthcheck":5,
                                   "apiVersions":[{"nodeGroups":[{}]}],"ssl":0})"),
              "\n"
              "\"deploymentUnit\" must be string\n"
              "\"protocols.http\" and \"protocols.https\" not exists\n"
              "\"healthcheck\" must be object\n"
              "\"dataCenters\" or \"openshiftRoute\" fields not exists in one of "
              "apiVersions[i].nodeGroups[j]\n"
              "\"groupName\" not exists\n"
              "\"ssl\" must be boolean\n");
}
