#include <gtest/gtest.h>

#include "checkers/UpstreamsChecker.h"

namespace {

std::string keepaliveMessage(const char* keepalive) {
    const Json nodeGroup = Json::parse(
        std::string(R"({"groupName":"g","openshiftRoute":"r","keepalive":)") + keepalive + "}");
    return UpstreamsChecker(Json::object()).checkKeepalive(nodeGroup).getErrorMessage();
}

TEST(UpstreamsCheckerTest, KeepaliveMustBeAnUnsignedInteger) {
    EXPECT_EQ("", keepaliveMessage("0"));
    EXPECT_EQ("", keepaliveMessage("32"));
    EXPECT_EQ("", keepaliveMessage("18446744073709551615"));
    for (const char* wrong : {"-1", "16.0", "\"16\"", "true", "null", "[16]", "{}"}) {
        EXPECT_EQ("\"keepalive\" must be unsigned number\n", keepaliveMessage(wrong)) << wrong;
    }
}

TEST(UpstreamsCheckerTest, KeepaliveRuleRunsForEveryNodeGroup) {
    const Json service = Json::parse(R"({"subsystem":"S","deploymentUnit":"D",
        "apiVersions":[{"nodeGroups":[{"groupName":"g","openshiftRoute":"r","keepalive":"8"},
                                      {"groupName":"h","openshiftRoute":"r","keepalive":8}]}]})");
    EXPECT_EQ("\n\"keepalive\" must be unsigned number\n",
              UpstreamsChecker(service).check().getErrorMessage());
}

}  // namespace
