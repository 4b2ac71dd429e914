// Every value that the builders copy into the configuration, replaced in turn by texts that
// would end a directive, open or close a block, start a comment or a line, or leave a quote open
// if they were copied unchecked. Each run must either fail with nothing written or write files
// whose statements all keep the one-statement-per-line shape (tests/support/ConfigStructure.h).
// The runs use the valid schema-3 set of the malformed corpus and go through the whole driver.
#include <gtest/gtest.h>

#include "common/Json.h"

#include <string>
#include <utility>
#include <vector>

#include "cli/RunDriver.h"
#include "support/ConfigStructure.h"
#include "support/CoutCapture.h"
#include "support/TestSupport.h"

using json = Json;
using namespace testsupport;

namespace {

const std::string k_valid = std::string(OSTREL_SOURCE_DIR) + "/tests/malformed/valid/v3/";
const char* const k_documents[] = {"services", "nodes", "routing", "limits"};

// A copied value: its document and its place in it.
struct Field {
    const char* document;
    json::json_pointer pointer;
};

std::vector<Field> copiedFields() {
    const std::string proxy = "/services/0/apiVersions/0/locations/0";
    const std::string rewrite = "/services/0/apiVersions/0/locations/1";
    const std::string answer = "/services/0/apiVersions/0/locations/2";
    const std::string alias = "/services/0/apiVersions/0/locations/3";
    const std::string group = "/services/0/apiVersions/0/nodeGroups/0";
    const std::vector<std::pair<const char*, std::string>> places = {
        {"services", proxy + "/url"},
        {"services", proxy + "/proxyPass"},
        {"services", proxy + "/headers/0/name"},
        {"services", proxy + "/headers/0/value"},
        {"services", rewrite + "/url"},
        {"services", rewrite + "/rewrite/regex"},
        {"services", rewrite + "/rewrite/replacement"},
        {"services", rewrite + "/rewrite/flag"},
        {"services", answer + "/return/code"},
        {"services", answer + "/return/body"},
        {"services", alias + "/alias"},
        {"services", alias + "/index"},
        {"services", alias + "/try_files"},
        {"services", alias + "/expires"},
        {"services", alias + "/proxy_cache_bypass"},
        {"services", alias + "/proxy_cache_revalidate"},
        {"services", "/services/0/healthcheck/handler"},
        {"services", "/services/0/stickyOptions/stickyCookie"},
        {"services", "/services/1/stickyCookie"},
        {"nodes", "/protocols/https/cn"},
        {"nodes", group + "/groupName"},
        {"nodes", group + "/dataCenters/0/nodes/0"},
        {"nodes", "/services/0/apiVersions/0/nodeGroups/1/openshiftRoute"},
        {"routing", "/services/0/routing/0/consumer/release"},
        {"routing", "/services/0/routing/1/routes/0/groupName"},
        {"limits", "/services/0/quotas/0/subsystem"},
        {"limits", "/services/0/quotas/0/deploymentUnit"},
    };
    std::vector<Field> fields;
    for (const auto& place : places) {
        fields.push_back({place.first, json::json_pointer(place.second)});
    }
    return fields;
}

const std::vector<std::string>& payloads() {
    static const std::vector<std::string> texts = {
        ";", "{", "}", "#", "\"", "'", "\\", "a;b", "a{b", "a}b", "a #b", "#a", "a\"b", "a'b",
        "a\\", "\"a;b\"", "'a;b'", "\"a\"b", "a\"; return 200; #", "a' ; return 200; #",
        "a\nreturn 200;", "a\rb", "a\tb", "a b", std::string("a\0b", 3), "${x}", "$x;",
        "\"^/v\\d{2}/\"", "~ \"^/a{2}\"", "~ \"a", "= /a;", "\\\"", "a\\\"", "\\;", "x } y {",
    };
    return texts;
}

struct InjectedRun {
    bool ok = false;
    std::vector<std::string> problems;
};

InjectedRun runWith(const Field& field, const std::string& value, bool appended) {
    TempDir dir;
    for (const char* name : k_documents) {
        json document = json::parse(readFile(k_valid + name + ".json"));
        if (std::string(name) == field.document) {
            json& target = document.at(field.pointer);
            target = appended ? target.get<std::string>() + value : value;
        }
        dir.write(std::string(name) + ".json", document.dump(2));
    }
    const std::string out = dir.path() + "/out";
    std::filesystem::create_directory(out);
    ArgumentMap args = {{"-s", dir.path() + "/services.json"},
                        {"-n", dir.path() + "/nodes.json"},
                        {"-r", dir.path() + "/routing.json"},
                        {"-l", dir.path() + "/limits.json"},
                        {"-o", out}};
    InjectedRun run;
    {
        CoutCapture capture;
        run.ok = buildNginxConfFiles(args);
    }
    for (const std::string& file : listFiles(out)) {
        if (!run.ok) {
            run.problems.push_back(file + " written by a failed run");
            continue;
        }
        const std::string problem = configStructureProblem(readFile(out + "/" + file));
        if (!problem.empty()) {
            run.problems.push_back(file + ": " + problem);
        }
    }
    return run;
}

TEST(InjectionTest, CopiedValuesNeverChangeTheStructureOfTheConfiguration) {
    int accepted = 0;
    int runs = 0;
    for (const Field& field : copiedFields()) {
        for (const std::string& payload : payloads()) {
            for (bool appended : {false, true}) {
                const InjectedRun run = runWith(field, payload, appended);
                ++runs;
                accepted += run.ok ? 1 : 0;
                for (const std::string& problem : run.problems) {
                    ADD_FAILURE() << field.document << ".json " << field.pointer.to_string()
                                  << " = " << json(payload).dump() << (appended ? " (appended)" : "")
                                  << ": " << problem;
                }
            }
        }
    }
    // The valid set itself, and some payloads (quoted regular expressions, blanks in quoted
    // values, variables), are accepted: the structure check had files to read.
    EXPECT_GT(accepted, 0);
    EXPECT_EQ(static_cast<int>(copiedFields().size() * payloads().size() * 2), runs);
    EXPECT_TRUE(runWith(copiedFields()[0], "", true).ok);
}

}  // namespace
