#include "common/ProcessingJson.h"

#include <gtest/gtest.h>

using json = Json;

TEST(ProcessingJsonTest, ExistsOnlyForObjectMembers) {
    ProcessingJson pj;
    EXPECT_TRUE(pj.exists(json::parse(R"({"k":1})"), "k"));
    EXPECT_TRUE(pj.exists(json::parse(R"({"k":null})"), "k"));
    EXPECT_FALSE(pj.exists(json::parse(R"({"K":1})"), "k"));
    EXPECT_FALSE(pj.exists(json::parse(R"([{"k":1}])"), "k"));
    EXPECT_FALSE(pj.exists(json(), "k"));
    EXPECT_FALSE(pj.exists(json("k"), "k"));
    EXPECT_FALSE(pj.exists(json(3), "k"));
}

TEST(ProcessingJsonTest, ExistsNeverInsertsAMember) {
    json value = json::object();
    ProcessingJson().exists(value, "k");
    EXPECT_TRUE(value.empty());
}

TEST(ProcessingJsonTest, EqualsStringFieldComparesBytes) {
    ProcessingJson pj;
    json a = json::parse(R"({"s":"A"})");
    EXPECT_TRUE(pj.equalsStringField(a, json::parse(R"({"s":"A"})"), "s"));
    EXPECT_FALSE(pj.equalsStringField(a, json::parse(R"({"s":"a"})"), "s"));
}

TEST(ProcessingJsonTest, EqualsStringFieldIsFalseForMissingOrNonStringMembers) {
    ProcessingJson pj;
    json a = json::parse(R"({"s":"1"})");
    EXPECT_FALSE(pj.equalsStringField(a, json::parse(R"({})"), "s"));
    EXPECT_FALSE(pj.equalsStringField(json::parse(R"({})"), a, "s"));
    EXPECT_FALSE(pj.equalsStringField(a, json::parse(R"({"s":1})"), "s"));
    EXPECT_FALSE(
        pj.equalsStringField(json::parse(R"({"s":null})"), json::parse(R"({"s":null})"), "s"));
    EXPECT_FALSE(pj.equalsStringField(json::array(), json::array(), "s"));
}

TEST(ProcessingJsonTest, GetStringValGivesTheTextOrNothing) {
    ProcessingJson pj;
    EXPECT_EQ(pj.getStringVal(json::parse(R"({"s":"text \"q\""})"), "s"), "text \"q\"");
    EXPECT_EQ(pj.getStringVal(json::parse(R"({"s":5})"), "s"), "");
    EXPECT_EQ(pj.getStringVal(json::parse(R"({"s":["x"]})"), "s"), "");
    EXPECT_EQ(pj.getStringVal(json::parse(R"({})"), "s"), "");
    EXPECT_EQ(pj.getStringVal(json(), "s"), "");
}
