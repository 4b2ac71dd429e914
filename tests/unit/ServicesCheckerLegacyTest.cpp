#include "checkers/ServicesCheckerLegacy.h"

#include <gtest/gtest.h>

#include "support/CoutCapture.h"

TEST(ServicesCheckerLegacyTest, ServicesUseTheLegacyRoutingRules) {
    const Json document = Json::parse(R"({"services":[
        {"subsystem":"A","deploymentUnit":"u","routing":[{"apiVersion":"v1","routes":[{"groupName":"main"}]}],
         "apiVersions":[{"nodeGroups":[{"groupName":"main","openshiftRoute":"r"}],"locations":[]}]},
        {"subsystem":"A","deploymentUnit":"u","routing":[{"apiVersion":"v1","routes":[{"groupName":"main"}]}],
         "apiVersions":[{"nodeGroups":[{"groupName":"main","openshiftRoute":"r"}],"locations":[]}]}]})");
    testsupport::CoutCapture capture;
    const CheckResult result = ServicesCheckerLegacy(document).check();
    EXPECT_FALSE(result.getIsOk());
    EXPECT_EQ(result.getErrorMessage(),
              "A:u:null - fp not uniq into input json\n"
              "\ndefault route for VEK not found !\n\n\n\n"
              "\ndefault route for VEK not found !\n\n\n\n");
    const std::string line =
        "ostrel v2.4.5 INPUT FILE ='routing.json' NOT VALID: 'default route for VEK not found !'\n";
    EXPECT_EQ(capture.text(), line + line);
}
