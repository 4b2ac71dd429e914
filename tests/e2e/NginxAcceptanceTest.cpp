// nginx must load what ostrel writes: the bundled examples in every protocol choice and schema,
// and the files of every successful whole-run case, checked with scripts/nginx-check.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "common/Json.h"
#include "support/NginxSupport.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace testsupport;
using json = Json;

namespace {

const std::vector<std::string> k_documents = {"services", "nodes", "routing", "limits"};

// The bundled examples, changed by edit, written into dir.
void writeExamples(const std::string& dir, void (*edit)(const std::string&, json&)) {
    for (const auto& name : k_documents) {
        json document =
            json::parse(readFile(std::string(OSTREL_SOURCE_DIR) + "/examples/" + name + ".json"));
        if (edit != nullptr) {
            edit(name, document);
        }
        std::ofstream(dir + "/" + name + ".json") << document.dump(2);
    }
}

// Runs ostrel on the documents in dir into dir/out and checks the files with nginx.
void expectNginxLoads(const std::string& what, const std::string& dir,
                      const std::vector<std::string>& extra = {}) {
    const std::string out = dir + "/out";
    fs::create_directory(out);
    std::vector<std::string> args = {
        "-s", "services.json", "-n", "nodes.json", "-r", "routing.json",
        "-l", "limits.json",   "-o", out};
    args.insert(args.end(), extra.begin(), extra.end());
    const RunOutput run = runOstrel(args, dir);
    ASSERT_EQ(0, run.status) << what << "\n" << run.out;
    ASSERT_FALSE(listFiles(out).empty()) << what;
    const CommandOutput check = runNginxCheck(out);
    EXPECT_EQ(0, check.status) << what << "\n" << check.output;
    EXPECT_NE(std::string::npos, check.output.find("test is successful")) << what;
}

int countAddOnLines(const std::string& dir) {
    int count = 0;
    for (const auto& name : listFiles(dir)) {
        std::istringstream lines(readFile(dir + "/" + name));
        for (std::string line; std::getline(lines, line);) {
            const std::string::size_type start = line.find_first_not_of(' ');
            if (start == std::string::npos) {
                continue;
            }
            for (const char* directive : {"check ", "check_http_send ", "sticky "}) {
                if (line.compare(start, std::string(directive).size(), directive) == 0) {
                    ++count;
                }
            }
        }
    }
    return count;
}

}  // namespace

TEST(NginxAcceptanceTest, ExamplesLoadForEveryProtocolChoiceGatewayAndSchema) {
    OSTREL_REQUIRE_NGINX_OR_SKIP();
    {
        TempDir dir;
        writeExamples(dir.path(), nullptr);
        expectNginxLoads("schema 3, HTTP and HTTPS", dir.path());
    }
    for (const char* gateway : {"gw-public", "gw-internal"}) {
        TempDir dir;
        writeExamples(dir.path(), nullptr);
        expectNginxLoads(std::string("schema 3, gateway ") + gateway, dir.path(), {"-gw", gateway});
    }
    {
        TempDir dir;
        writeExamples(dir.path(), nullptr);
        expectNginxLoads("schema 3, -ignore_ports", dir.path(), {"-ignore_ports"});
    }
    {
        TempDir dir;
        writeExamples(dir.path(), [](const std::string& name, json& document) {
            if (name == "nodes") {
                document["protocols"].erase("https");
            }
        });
        expectNginxLoads("schema 3, HTTP only", dir.path());
    }
    {
        // The openshift host blocks of HTTPS-only files test the HTTPS routing variable.
        TempDir dir;
        writeExamples(dir.path(), [](const std::string& name, json& document) {
            if (name == "nodes") {
                document["protocols"].erase("http");
            }
        });
        expectNginxLoads("schema 3, HTTPS only", dir.path());
        EXPECT_NE(std::string::npos,
                  readFile(dir.path() + "/out/crm-api.location.https.vek.conf")
                      .find("if ($crm_api_https_by_release = \"crm_api_https_openshift\")"));
    }
    {
        TempDir dir;
        writeExamples(dir.path(), [](const std::string&, json& document) {
            document["schema_version"] = "2";
            document.erase("protocols");
        });
        expectNginxLoads("schema 2", dir.path());
    }
}

// Every whole-run case that succeeds and writes routing files: nginx must load its expected
// files. (A run without a routing document writes location files whose routing variable comes
// from elsewhere, so its files are no whole configuration.)
TEST(NginxAcceptanceTest, EverySuccessfulGenerationCaseLoads) {
    OSTREL_REQUIRE_NGINX_OR_SKIP();
    std::vector<std::string> checked;
    std::vector<std::string> options;
    std::vector<fs::path> cases;
    for (const auto& entry : fs::directory_iterator(OSTREL_E2E_DIR)) {
        cases.push_back(entry.path());
    }
    std::sort(cases.begin(), cases.end());
    for (const auto& dir : cases) {
        if (!fs::exists(dir / "status") || !fs::exists(dir / "expected") ||
            std::stoi(readFile((dir / "status").string())) != 0) {
            continue;
        }
        const std::vector<std::string> files = listFiles((dir / "expected").string());
        const bool routed = std::any_of(files.begin(), files.end(), [](const std::string& name) {
            return name.find(".routing.") != std::string::npos;
        });
        if (!routed) {
            continue;  // cleaning runs, and runs without routing files
        }
        const CommandOutput check = runNginxCheck((dir / "expected").string(), options);
        EXPECT_EQ(0, check.status) << dir.filename().string() << "\n" << check.output;
        if (options.empty() &&
            check.output.find("does not know: check check_http_send sticky") != std::string::npos) {
            options.push_back("--comment-addon");
        }
        checked.push_back(dir.filename().string());
    }
    std::cout << "[ nginx -t ] " << checked.size() << " cases:";
    for (const auto& name : checked) {
        std::cout << " " << name;
    }
    std::cout << "\n";
}

// The harness comments out the add-on directives in its own copy only, says how many, and with
// --keep-addon leaves them, which stock nginx then refuses.
TEST(NginxAcceptanceTest, HarnessCommentsOutOnlyTheAddOnDirectives) {
    OSTREL_REQUIRE_NGINX_OR_SKIP();
    TempDir dir;
    writeExamples(dir.path(), nullptr);
    const std::string out = dir.path() + "/out";
    fs::create_directory(out);
    ASSERT_EQ(0, runOstrel({"-s", "services.json", "-n", "nodes.json", "-r", "routing.json", "-l",
                            "limits.json", "-o", out},
                           dir.path())
                     .status);
    const int addOnLines = countAddOnLines(out);
    ASSERT_GT(addOnLines, 0);
    std::vector<std::string> before;
    for (const auto& name : listFiles(out)) {
        before.push_back(readFile(out + "/" + name));
    }

    const std::string prefix = dir.path() + "/prefix";
    const CommandOutput check = runNginxCheck(out, {"--prefix", prefix});
    ASSERT_EQ(0, check.status) << check.output;
    const bool stock = check.output.find("this nginx does not know") != std::string::npos;
    if (stock) {
        EXPECT_NE(std::string::npos,
                  check.output.find("commented out " + std::to_string(addOnLines) + " line(s)"))
            << check.output;
        EXPECT_EQ(0, countAddOnLines(prefix + "/files"));
    }
    // The output directory is untouched; the copy differs only in the commented lines.
    std::vector<std::string> after;
    for (const auto& name : listFiles(out)) {
        after.push_back(readFile(out + "/" + name));
    }
    EXPECT_EQ(before, after);
    EXPECT_EQ(listFiles(out), listFiles(prefix + "/files"));
    for (const auto& name : listFiles(out)) {
        EXPECT_EQ(readFile(out + "/" + name),
                  replaceAll(readFile(prefix + "/files/" + name), "# nginx-check: ", ""))
            << name;
    }

    const CommandOutput kept = runNginxCheck(out, {"--keep-addon"});
    EXPECT_NE(std::string::npos, kept.output.find("nothing commented out")) << kept.output;
    if (stock) {
        EXPECT_EQ(1, kept.status) << kept.output;
        EXPECT_NE(std::string::npos, kept.output.find("unknown directive")) << kept.output;
    }
}
