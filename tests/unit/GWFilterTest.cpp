#include "mergers/GWFilter.h"

#include <gtest/gtest.h>

using json = Json;

namespace {

json filtered(const std::string& gateway, const char* document) {
    json value = json::parse(document);
    GWFilter filter(gateway);
    filter.filter(value);
    EXPECT_TRUE(filter.isOk());
    return value;
}

}  // namespace

TEST(GWFilterTest, KeepsServicesOfTheGateway) {
    EXPECT_EQ(filtered("g1", R"({"schema_version":"3","services":[
                  {"n":1,"usedGateways":["g1"]},{"n":2,"usedGateways":["g2"]},
                  {"n":3,"usedGateways":["g2","g1"]},{"n":4},{"n":5,"usedGateways":[]}]})"),
              json::parse(R"({"schema_version":"3","services":[
                  {"n":1,"usedGateways":["g1"]},{"n":3,"usedGateways":["g2","g1"]},{"n":4}]})"));
}

TEST(GWFilterTest, ComparesWholeStrings) {
    EXPECT_EQ(filtered("g1", R"({"services":[{"n":1,"usedGateways":["g1","x","g1"]},
                  {"n":2,"usedGateways":[1,"G1","g10"]},{"n":3,"usedGateways":"g1"},
                  {"n":4,"usedGateways":null},7]})"),
              json::parse(R"({"services":[{"n":1,"usedGateways":["g1","x","g1"]},
                  {"n":1,"usedGateways":["g1","x","g1"]},{"n":3,"usedGateways":"g1"},7]})"));
}

TEST(GWFilterTest, DocumentWithoutServices) {
    EXPECT_EQ(filtered("g1", R"({"protocols":{}})"),
              json::parse(R"({"protocols":{},"services":[]})"));
    EXPECT_EQ(filtered("g1", "null"), json::parse(R"({"services":[]})"));
    EXPECT_EQ(filtered("g1", R"({"services":null})"), json::parse(R"({"services":[]})"));
}

TEST(GWFilterTest, UnfilterableDocumentsFailAndStayUnchanged) {
    GWFilter filter(std::string("g1"));
    json array = json::parse(R"([{"services":[]}])");
    ResultBase result = filter.filterDocument(array, "nodes.json");
    EXPECT_FALSE(filter.isOk());
    EXPECT_FALSE(result.getIsOk());
    EXPECT_EQ(result.getErrorMessage(), "document must be a JSON object");
    EXPECT_EQ(result.getErrorFname(), "nodes.json");
    EXPECT_EQ(array, json::parse(R"([{"services":[]}])"));

    json object = json::parse(R"({"services":{"a":{"usedGateways":["g1"]}}})");
    Filter& base = filter;
    base.filter(object);
    EXPECT_FALSE(filter.isOk());
    EXPECT_EQ(filter.getErrorMessage(), "\"services\" section must be array");
    EXPECT_EQ(object, json::parse(R"({"services":{"a":{"usedGateways":["g1"]}}})"));

    // The next successful call clears the failure; the name was copied from a temporary.
    json fine = json::parse(R"({"services":[{"usedGateways":["g1"]}]})");
    EXPECT_TRUE(filter.filterDocument(fine, "routing.json").getIsOk());
    EXPECT_TRUE(filter.isOk());
    EXPECT_EQ(fine["services"].size(), 1u);
}
