#include "checkers/ServicesCheckerV0.h"

#include <gtest/gtest.h>

#include "support/CoutCapture.h"

TEST(ServicesCheckerV0Test, ServicesUseTheSchema0RoutingRules) {
    const Json document = Json::parse(R"({"services":[
        {"subsystem":"A","deploymentUnit":"u","usedGateways":["g"],
         "routing":[{"consumer":"R1","routes":[{"groupName":"main"}]}],
         "apiVersions":[{"nodeGroups":[{"groupName":"main","openshiftRoute":"r"}],"locations":[]}]},
        {"subsystem":"A","deploymentUnit":"v","usedGateways":["g"],
         "routing":[{"consumer":"default","routes":[{"groupName":"main"}]}],
         "apiVersions":[{"nodeGroups":[{"groupName":"main","openshiftRoute":"r"}],"locations":[]}]}]})");
    testsupport::CoutCapture capture;
    const CheckResult result = ServicesCheckerV0(document).check();
    EXPECT_FALSE(result.getIsOk());
    EXPECT_EQ(result.getErrorMessage(),
              "\ndefault route for VEK not found 1!\n\n\n\n"
              "\n\n\n\n\n\n");
    EXPECT_EQ(capture.text(),
              "ostrel v2.4.5 INPUT FILE ='routing.json' NOT VALID: "
              "'default route for VEK not found 1!'\n");
}
