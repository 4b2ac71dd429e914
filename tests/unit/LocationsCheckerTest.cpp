#include "checkers/LocationsChecker.h"

#include <gtest/gtest.h>

namespace {

// Message of the whole check for a service whose API versions are given; it starts with the
// empty line of the passing subsystem rule.
std::string locationsMessage(const std::string& apiVersions) {
    const Json service =
        Json::parse(R"({"subsystem":"S","deploymentUnit":"D","apiVersions":)" + apiVersions + "}");
    return LocationsChecker(service).check().getErrorMessage();
}

}  // namespace

TEST(LocationsCheckerTest, ValidLocationsPass) {
    EXPECT_EQ(locationsMessage(R"([{"locations":[]},{"locations":[
        {"url":"/a","proxyPass":"/b","rewrite":{"regex":"^","replacement":"/c","flag":"last"},
         "headers":[{"name":"X"},{"name":"Y","value":""}]},
        {"url":"/f","alias":"/srv","index":"i.html","try_files":"$uri","proxy_cache_bypass":"1",
         "proxy_cache_revalidate":"on","expires":"1d"},
        {"url":"/r","return":{"code":"","body":""}},{"url":"/s","return":{"code":"301"}}]}])"),
              "\n");
}

TEST(LocationsCheckerTest, MissingApiVersionsAndLocations) {
    const Json service = Json::parse(R"({"deploymentUnit":"D","protocols":{}})");
    EXPECT_EQ(LocationsChecker(service).check().getErrorMessage(),
              "\"subsystem\" not exists in one of the services\n"
              "\"protocols.http\" and \"protocols.https\" not exists\n"
              "\"services[i].apiVersions\" not exists\n");
    EXPECT_EQ(locationsMessage(R"([{"nodeGroups":[]},"v1"])"),
              "\n"
              "\"services[i].apiVersions[j].locations\" not exists\n"
              "\"services[i].apiVersions[j].locations\" not exists\n");
}

TEST(LocationsCheckerTest, EveryRuleOfALocationInOrder) {
    EXPECT_EQ(locationsMessage(R"([{"locations":[
        "/plain",
        {"url":""},
        {"url":5,"proxyPass":1,"alias":[],"index":{},"return":{"code":301,"body":2},
         "rewrite":{},"headers":[{"value":3},{"name":""},{"name":4,"value":null},7]},
        {"return":"301","rewrite":"x","headers":{},"try_files":1,"proxy_cache_bypass":true,
         "proxy_cache_revalidate":null,"expires":30},
        {"url":"/r","rewrite":{"regex":1,"replacement":"","flag":null}}]}])"),
              "\n"
              "\"locations[i].url\" not exists\n"
              "\"locations[i].url\" must be not empty string\n"
              "\"locations[i].url\" must be string\n"
              "\"location[i].proxyPass\" must be string\n"
              "\"location[i].alias\" must be string\n"
              "\"location[i].index\" must be string\n"
              "\"location[i].return.code\" must be string\n"
              "\"location[i].return.body\" must be string\n"
              "\"location[i].rewrite.regex\" not exists\n"
              "\"location[i].rewrite.replacement\" not exists\n"
              "\"location[i].rewrite.flag\" not exists\n"
              "\"location[i].headers[j].name\" not exists\n"
              "\"location[i]..headers[j].value\" must be string\n"
              "\"location[i].headers[j].name\" must be not empty string\n"
              "\"location[i].headers[j].name\" must be string\n"
              "\"location[i]..headers[j].value\" must be string\n"
              "\"location[i].headers[j].name\" not exists\n"
              "\"locations[i].url\" not exists\n"
              "\"locations[i].return\" must be object\n"
              "\"locations[i].rewrite\" must be object\n"
              "\"locations[i].headers\" must be array\n"
              "\"location[i].try_files\" must be string\n"
              "\"location[i].proxy_cache_bypass\" must be string\n"
              "\"location[i].proxy_cache_revalidate\" must be string\n"
              "\"location[i].expires\" must be string\n"
              "\"location[i].rewrite.regex\" must be string\n"
              "\"location[i].rewrite.replacement\" must be not empty string\n"
              "\"location[i].rewrite.flag\" must be string\n");
}

TEST(LocationsCheckerTest, ReturnWithoutCode) {
    EXPECT_EQ(locationsMessage(R"([{"locations":[{"url":"/a","return":{}},{"url":"/b"},
                                                 {"url":"/c","return":{}}]}])"),
              "\n"
              "\"location[i].return.code\" not exists\n"
              "\"location[i].return.code\" not exists\n");
}
