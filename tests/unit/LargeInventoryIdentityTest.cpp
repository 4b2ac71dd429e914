// A large synthetic inventory through the whole program: the output files and standard output
// must stay byte for byte what they were before the program was tuned for large inventories.
// The reference is a digest of that output, made from the same seeded inventory. When the output
// is meant to change, make it again with `ostrel_bench digest 1000 20240917`.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/Json.h"
#include "support/OutputDigest.h"
#include "support/SyntheticInventory.h"
#include "support/TestSupport.h"

using namespace testsupport;

namespace {

constexpr int k_services = 1000;
constexpr std::uint64_t k_seed = 20240917;
constexpr const char* k_referenceDigest = "c59e5c1a8c2a3626";

RunOutput runInventory(const TempDir& dir, const std::string& out) {
    return runOstrel({"-s", dir.path() + "/services.json", "-n", dir.path() + "/nodes.json", "-r",
                      dir.path() + "/routing.json", "-l", dir.path() + "/limits.json", "-o", out,
                      "-gw", SyntheticInventory::gatewayName()});
}

}  // namespace

TEST(LargeInventoryIdentityTest, OutputMatchesReferenceFreshAndAgain) {
    TempDir dir;
    SyntheticInventory(k_services, k_seed).write(dir.path());
    const std::string out = dir.path() + "/out";
    std::filesystem::create_directory(out);

    RunOutput fresh = runInventory(dir, out);
    ASSERT_EQ(fresh.status, 0) << fresh.out.substr(0, 2000);
    EXPECT_EQ(fresh.err, "");
    EXPECT_EQ(listFiles(out).size(),
              static_cast<std::size_t>(k_services * SyntheticInventory::filesPerService()));
    EXPECT_EQ(OutputDigest::hex(OutputDigest::ofRun(out, fresh.out)), k_referenceDigest);

    // Again into the populated directory: the same files and the same messages.
    RunOutput again = runInventory(dir, out);
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.out, fresh.out);
    EXPECT_EQ(OutputDigest::hex(OutputDigest::ofRun(out, again.out)), k_referenceDigest);
}

// Files are built and compared while the documents are validated. When validation fails late
// (the last service is broken), a directory holding an earlier run's output is left exactly as it
// was and standard output is what the same run prints into an empty directory: the errors only.
TEST(LargeInventoryIdentityTest, AFailedValidationLeavesEarlierOutputUntouched) {
    TempDir dir;
    SyntheticInventory(k_services, k_seed).write(dir.path());
    const std::string out = dir.path() + "/out";
    std::filesystem::create_directory(out);
    ASSERT_EQ(runInventory(dir, out).status, 0);
    const std::string digest = OutputDigest::hex(OutputDigest::ofRun(out, ""));

    const std::string servicesPath = dir.path() + "/services.json";
    Json services = Json::parse(readFile(servicesPath));
    // The last service that the run's gateway publishes.
    Json* last = nullptr;
    for (Json& service : services.at("services")) {
        const Json gateways = service.value("usedGateways", Json::array());
        if (std::find(gateways.begin(), gateways.end(), SyntheticInventory::gatewayName()) !=
            gateways.end()) {
            last = &service;
        }
    }
    ASSERT_NE(last, nullptr);
    // Merging accepts it; only validation rejects it.
    (*last).at("apiVersions").at(0).at("locations").at(0)["proxyPass"] = 5;
    std::ofstream(servicesPath, std::ios::binary | std::ios::trunc) << services.dump(1);

    RunOutput failed = runInventory(dir, out);
    const std::string empty = dir.path() + "/empty";
    std::filesystem::create_directory(empty);
    RunOutput failedEmpty = runInventory(dir, empty);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "");
    EXPECT_EQ(failed.out.find("save file"), std::string::npos) << failed.out.substr(0, 2000);
    EXPECT_EQ(failed.out, replaceAll(failedEmpty.out, empty, out));
    EXPECT_TRUE(listFiles(empty).empty());
    EXPECT_EQ(OutputDigest::hex(OutputDigest::ofRun(out, "")), digest);
}
