#include "checkers/SafetyChecker.h"

#include <gtest/gtest.h>

#include <string>

#include "checkers/ServiceChecker.h"

namespace {

using json = Json;

std::string messageOf(const CheckResult& result) {
    return result.getIsOk() ? std::string() : result.getErrorMessage();
}

json serviceWithUnit(const json& unit) {
    return json{{"subsystem", "S"}, {"deploymentUnit", unit}, {"apiVersions", json::array()}};
}

TEST(SafetyCheckerTest, DeploymentUnitThatCannotNameFilesGivesOneMessage) {
    const std::string rule =
        "\"deploymentUnit\" must not contain \"/\" or control characters, nor be \".\" or "
        "\"..\": ";
    EXPECT_EQ(rule + "\"../x\" in service \"S:../x\"\n",
              messageOf(SafetyChecker(serviceWithUnit("../x")).check()));
    EXPECT_EQ(rule + "\"a/b\" in service \"S:a/b\"\n",
              messageOf(SafetyChecker(serviceWithUnit("a/b")).check()));
    EXPECT_EQ(rule + "\".\" in service \"S:.\"\n",
              messageOf(SafetyChecker(serviceWithUnit(".")).check()));
    EXPECT_EQ(rule + "\"..\" in service \"S:..\"\n",
              messageOf(SafetyChecker(serviceWithUnit("..")).check()));
    // Control characters are shown escaped, so that the message stays on its line; the
    // control-character rule does not repeat the deployment unit.
    EXPECT_EQ(rule + "\"a\\nb\" in service \"S:a\\nb\"\n",
              messageOf(SafetyChecker(serviceWithUnit("a\nb")).check()));
    EXPECT_EQ(rule + "\"a\\u0000\" in service \"S:a\\u0000\"\n",
              messageOf(SafetyChecker(serviceWithUnit(std::string("a\0", 2))).check()));
}

TEST(SafetyCheckerTest, FileNamesThatStayInTheDirectoryAndOtherTypesPass) {
    for (const char* unit : {"...", ".a", "a..b", "pay-gate.main", "", "a\\b"}) {
        EXPECT_TRUE(SafetyChecker(serviceWithUnit(unit)).check().getIsOk()) << unit;
    }
    // A unit that is not a string is the type rules' concern.
    EXPECT_TRUE(SafetyChecker(serviceWithUnit(5)).check().getIsOk());
    EXPECT_TRUE(SafetyChecker(json{{"subsystem", "S"}}).check().getIsOk());
}

TEST(SafetyCheckerTest, ControlCharactersAnywhereAreReportedWithTheirPathInDocumentOrder) {
    const json service = json::parse(R"({
        "subsystem": "S\t",
        "deploymentUnit": "d",
        "apiVersions": [
            {"version": "1", "locations": [
                {"url": "/a/"},
                {"url": "/b/\r", "headers": [{"name": "X", "value": "v\u007f"}]}]}],
        "routing": [{"consumer": {"release": "R\n"}, "routes": [{"groupName": "g"}]}],
        "a\nkey": "\u0001"})");
    EXPECT_EQ(
        "\"a\\nkey\" must not contain control characters in service \"S\\t:d\"\n"
        "\"apiVersions[0].locations[1].headers[0].value\" must not contain control characters in "
        "service \"S\\t:d\"\n"
        "\"apiVersions[0].locations[1].url\" must not contain control characters in service "
        "\"S\\t:d\"\n"
        "\"routing[0].consumer.release\" must not contain control characters in service "
        "\"S\\t:d\"\n"
        "\"subsystem\" must not contain control characters in service \"S\\t:d\"\n",
        messageOf(SafetyChecker(service).checkControlCharacters()));
}

TEST(SafetyCheckerTest, ContainersMustHaveTheTypeTheBuildersWalk) {
    EXPECT_EQ("\"apiVersions\" must be array in service \"S:d\"\n",
              messageOf(SafetyChecker(json::parse(
                            R"({"subsystem":"S","deploymentUnit":"d","apiVersions":{"v":{}}})"))
                            .checkContainers()));
    const json service = json::parse(R"({"subsystem":"S","deploymentUnit":"d","apiVersions":[
        {"locations": {"a": {"url": "/a/"}}, "nodeGroups": []},
        {"locations": [], "nodeGroups": [
            {"groupName": "g", "protocols": {"http": 8080, "https": {"port": 1}}},
            {"groupName": "h", "protocols": "http"},
            {"groupName": "i"}]},
        {"nodeGroups": {"g": {}}}]})");
    EXPECT_EQ(
        "\"apiVersions[0].locations\" must be array in service \"S:d\"\n"
        "\"apiVersions[1].nodeGroups[0].protocols.http\" must be object in service \"S:d\"\n"
        "\"apiVersions[1].nodeGroups[1].protocols\" must be object in service \"S:d\"\n"
        "\"apiVersions[2].nodeGroups\" must be array in service \"S:d\"\n",
        messageOf(SafetyChecker(service).checkContainers()));
}

TEST(SafetyCheckerTest, DeepValuesAreWalkedWithoutRecursion) {
    // Deeper than the loader lets a document be, to show that the walk has no depth limit.
    std::string deep = "\"x\\n\"";
    for (int i = 0; i < 1000; ++i) {
        deep = "[" + deep + "]";
    }
    const json service =
        json::parse(R"({"subsystem":"S","deploymentUnit":"d","extra":)" + deep + "}");
    const std::string message = messageOf(SafetyChecker(service).checkControlCharacters());
    EXPECT_EQ(0u, message.rfind("\"extra[0][0]", 0));
    EXPECT_NE(std::string::npos, message.find("[0]\" must not contain control characters"));
}

TEST(SafetyCheckerTest, ServiceCheckerRunsTheRulesLastAndOnlyAddsFailures) {
    const json valid = json::parse(R"({"subsystem":"S","deploymentUnit":"d","apiVersions":[]})");
    const json unsafe = json::parse(R"({"subsystem":"S","deploymentUnit":"..","apiVersions":[]})");
    const std::string validMessage = ServiceChecker(valid).check().getErrorMessage();
    const CheckResult result = ServiceChecker(unsafe).check();
    EXPECT_FALSE(result.getIsOk());
    // The same entries as for the valid service, then the one message.
    EXPECT_EQ(validMessage +
                  "\"deploymentUnit\" must not contain \"/\" or control characters, nor be \".\" "
                  "or \"..\": \"..\" in service \"S:..\"\n",
              result.getErrorMessage());
}

}  // namespace

namespace {

TEST(SafetyCheckerTest, QuotedValuesWithoutOtherRulesMustNotHoldTheQuote) {
    const Json service = Json::parse(R"({"subsystem":"S","deploymentUnit":"d",
        "healthcheck": {"enabled": true, "handler": "/h\"; return 200; #"},
        "routing": [
            {"apiVersion": "1", "consumer": {"release": "R\"1"}, "routes": [{"groupName": "g"}]},
            {"apiVersion": "1", "consumer": {"release": "R\\"}, "routes": [{"groupName": "g"}]},
            {"apiVersion": "1", "consumer": {"release": "fine"}, "routes": [{"groupName": "g"}]},
            {"apiVersion": "1", "consumer": {"release": "R\"", "deploymentUnit": "x"},
             "routes": [{"groupName": "g"}]},
            {"consumer": {"release": "left to the other rules\""}, "routes": [{"groupName": "g"}]}]})");
    EXPECT_EQ(
        "\"healthcheck.handler\" \"/h\\\"; return 200; #\" must not contain the character \" in "
        "service \"S:d\"\n"
        "\"routing[0].consumer.release\" \"R\\\"1\" must not contain the character \" in service "
        "\"S:d\"\n"
        "\"routing[1].consumer.release\" \"R\\\\\" must not end with a backslash in service "
        "\"S:d\"\n",
        messageOf(SafetyChecker(service).checkQuotedValues()));
}

}  // namespace
