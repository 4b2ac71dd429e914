#include "checkers/CheckerBase.h"

#include <gtest/gtest.h>

namespace {

// Runs the shared rules the way the concern checkers do.
class SharedRulesChecker : public CheckerBase {
public:
    using CheckerBase::CheckerBase;
    CheckResult check() const override {
        CheckResult result;
        result.addResult(checkSubsystem());
        result.addResult(checkDeploymentUnit());
        result.addResult(checkProtocols());
        return result;
    }
};

std::string messageOf(const char* text) {
    return SharedRulesChecker(Json::parse(text)).check().getErrorMessage();
}

}  // namespace

TEST(CheckerBaseTest, PassingSubsystemStillAddsAnEmptyLine) {
    const CheckResult result =
        SharedRulesChecker(Json::parse(R"({"subsystem":"S","deploymentUnit":"D"})")).check();
    EXPECT_TRUE(result.getIsOk());
    EXPECT_EQ(result.getErrorMessage(), "\n");
}

TEST(CheckerBaseTest, SubsystemAndDeploymentUnit) {
    EXPECT_EQ(messageOf(R"({})"),
              "\"subsystem\" not exists in one of the services\n"
              "\"deploymentUnit\" not exists in one of the services\n");
    EXPECT_EQ(messageOf(R"({"subsystem":1,"deploymentUnit":null})"),
              "\"subsystem\" must be string\n"
              "\"deploymentUnit\" must be string\n");
    // A service that is not an object has no keys at all.
    EXPECT_EQ(messageOf(R"("service")"),
              "\"subsystem\" not exists in one of the services\n"
              "\"deploymentUnit\" not exists in one of the services\n");
}

TEST(CheckerBaseTest, ProtocolsRequiredOnlyForSchema3) {
    EXPECT_EQ(messageOf(R"({"subsystem":"S","deploymentUnit":"D","schema_version":"3"})"),
              "\n\"protocols\" not exists\n");
    EXPECT_EQ(messageOf(R"({"subsystem":"S","deploymentUnit":"D","schema_version":3})"), "\n");
    EXPECT_EQ(messageOf(R"({"subsystem":"S","deploymentUnit":"D"})"), "\n");
}

TEST(CheckerBaseTest, ProtocolsMembers) {
    EXPECT_EQ(messageOf(R"({"subsystem":"S","deploymentUnit":"D","protocols":{}})"),
              "\n\"protocols.http\" and \"protocols.https\" not exists\n");
    EXPECT_EQ(messageOf(R"({"subsystem":"S","deploymentUnit":"D","protocols":"http"})"),
              "\n\"protocols.http\" and \"protocols.https\" not exists\n");
    EXPECT_EQ(messageOf(R"({"subsystem":"S","deploymentUnit":"D","protocols":{"https":{"cn":5}}})"),
              "\n\"protocols.https.port\" not exists\n"
              "\"protocols.https.cn\" must be string\n");
    EXPECT_EQ(messageOf(R"({"subsystem":"S","deploymentUnit":"D",
                            "protocols":{"http":{"port":8080},"https":{"port":8443,"cn":"gw"}}})"),
              "\n");
    EXPECT_EQ(messageOf(R"({"subsystem":"S","deploymentUnit":"D",
                            "protocols":{"http":{"port":-1},"https":{"port":80.5}}})"),
              "\n\"protocols.http.port\" must be unsigned number\n"
              "\"protocols.https.port\" must be unsigned number\n"
              "\"protocols.https.cn\" not exists\n");
    EXPECT_EQ(messageOf(R"({"subsystem":"S","deploymentUnit":"D","protocols":{"http":{"port":"80"}}})"),
              "\n\"protocols.http.port\" must be unsigned number\n");
    EXPECT_EQ(messageOf(R"({"subsystem":"S","deploymentUnit":"D","protocols":{"http":[]}})"),
              "\n\"protocols.http.port\" not exists\n");
}
