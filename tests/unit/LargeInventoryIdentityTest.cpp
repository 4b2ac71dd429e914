// A large synthetic inventory through the whole program: the output files and standard output
// must stay byte for byte what they were before the program was tuned for large inventories.
// The reference is a digest of that output, made from the same seeded inventory. When the output
// is meant to change, make it again with `ostrel_bench digest 1000 20240917`.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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
