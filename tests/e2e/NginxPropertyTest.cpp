// Property: every inventory that passes validation gives configuration that nginx loads.
// A seeded generator makes random valid inventories; each must pass validation, and nginx -t
// (through scripts/nginx-check) must accept what ostrel wrote. A failure names its seed, and
//   OSTREL_NGINX_PROPERTY_SEED=<seed> OSTREL_NGINX_PROPERTY_COUNT=1
// runs that one inventory again. OSTREL_NGINX_PROPERTY_COUNT sets how many inventories run.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "support/InventoryGenerator.h"
#include "support/NginxSupport.h"
#include "support/TestSupport.h"

using namespace testsupport;

namespace {

unsigned long envNumber(const char* name, unsigned long fallback) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        return fallback;
    }
    return std::strtoul(value, nullptr, 10);
}

void writeJson(const std::string& path, const Json& document) {
    std::ofstream(path) << document.dump(2);
}

// Upstream names that the routing maps name must exist: a map value without its upstream block
// would send requests nowhere.
std::vector<std::string> missingUpstreams(const std::string& dir) {
    std::string upstreams;
    std::string maps;
    for (const auto& name : listFiles(dir)) {
        const std::string text = readFile(dir + "/" + name);
        if (name.find(".upstream.") != std::string::npos) {
            upstreams += text;
        } else if (name.find(".routing.") != std::string::npos) {
            maps += text;
        }
    }
    std::vector<std::string> missing;
    std::istringstream lines(maps);
    for (std::string line; std::getline(lines, line);) {
        // "    \"RELEASE\" \"NAME\";" and "    default \"NAME\";": NAME is between the last two
        // quotes.
        if (line.size() < 3 || line.compare(line.size() - 2, 2, "\";") != 0) {
            continue;
        }
        const std::string::size_type close = line.size() - 2;
        const std::string::size_type open = line.rfind('"', close - 1);
        const std::string name = line.substr(open + 1, close - open - 1);
        if (upstreams.find("upstream " + name + " {") == std::string::npos) {
            missing.push_back(name);
        }
    }
    return missing;
}

// The run's messages without the empty lines that passed rules leave.
std::string withoutBlankLines(const std::string& text) {
    std::istringstream lines(text);
    std::string kept;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty()) {
            kept += line + "\n";
        }
    }
    return kept;
}

}  // namespace

TEST(NginxPropertyTest, RandomValidInventoriesGiveConfigurationThatNginxLoads) {
    OSTREL_REQUIRE_NGINX_OR_SKIP();
    const unsigned long count = envNumber("OSTREL_NGINX_PROPERTY_COUNT", 300);
    const unsigned long firstSeed = envNumber("OSTREL_NGINX_PROPERTY_SEED", 20261207);
    const auto started = std::chrono::steady_clock::now();
    unsigned long services = 0;
    std::vector<std::string> harnessOptions;
    for (unsigned long k = 0; k < count; ++k) {
        const auto seed = static_cast<std::uint32_t>(firstSeed + k);
        InventoryGenerator generator(seed);
        // Every hundredth inventory is a large one; the others have up to 15 services.
        const int size = (k % 100 == 0) ? 200 : static_cast<int>(1 + (seed * 7919u) % 15);
        const Inventory inventory = generator.make(size);
        services += static_cast<unsigned long>(size);

        TempDir dir;
        writeJson(dir.path() + "/services.json", inventory.services);
        writeJson(dir.path() + "/nodes.json", inventory.nodes);
        writeJson(dir.path() + "/routing.json", inventory.routing);
        writeJson(dir.path() + "/limits.json", inventory.limits);
        const std::string out = dir.path() + "/out";
        ASSERT_EQ(0, system(("mkdir -p " + shellQuoted(out)).c_str()));
        std::vector<std::string> args = {
            "-s", "services.json", "-n", "nodes.json", "-r", "routing.json",
            "-l", "limits.json",   "-o", out};
        args.insert(args.end(), inventory.options.begin(), inventory.options.end());
        const RunOutput run = runOstrel(args, dir.path());
        ASSERT_EQ(0, run.status) << "seed " << seed << ": the generated inventory did not pass\n"
                                 << withoutBlankLines(run.out).substr(0, 4000);
        ASSERT_NE(std::string::npos, run.out.find("INFO: SUCCESS")) << "seed " << seed;

        // The first run asks nginx which add-on directives it knows; later runs reuse the answer.
        const CommandOutput check = runNginxCheck(out, harnessOptions);
        if (k == 0 &&
            check.output.find("does not know: check check_http_send sticky") != std::string::npos) {
            harnessOptions.push_back("--comment-addon");
        }
        ASSERT_EQ(0, check.status) << "seed " << seed << ": nginx refuses the configuration\n"
                                   << check.output;
        const std::vector<std::string> missing = missingUpstreams(out);
        ASSERT_TRUE(missing.empty()) << "seed " << seed << ": routing names the upstream "
                                     << missing.front() << ", which no file defines";
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << "[ property ] " << count << " inventories, " << services << " services, seeds "
              << firstSeed << ".." << firstSeed + count - 1 << ", " << seconds << " s\n";
}
