#include "support/ConfigStructure.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/TestSupport.h"

namespace fs = std::filesystem;
using testsupport::configStructureProblem;

namespace {

TEST(ConfigStructureTest, StatementPerLineShapeIsAccepted) {
    EXPECT_EQ("", configStructureProblem("# ostrel v2.4.5 \n# scheme3\n"
                                         "location ~ \"^/v\\d{2}/\" {\n"
                                         "    set $dst_subsystem \"A;B{}\";\n"
                                         "    proxy_pass http://${a}_x/$1;\n"
                                         "    return 200 'a \"b\" ;';\n"
                                         "    if ($v = \"x\") {\n"
                                         "        set $h \"a\\\"b\";\n"
                                         "    }\n"
                                         "}\n\n"
                                         "map $a $b {\n"
                                         "        \"\" \"1\";        # unknown subsystem\n"
                                         "}"));
}

TEST(ConfigStructureTest, ValuesThatChangeTheStructureAreFound) {
    // A second statement, a block opened or closed, a comment eating the end of a statement.
    EXPECT_EQ("line 1: text after the end of the statement",
              configStructureProblem("proxy_pass http://x; return 200;\n"));
    EXPECT_EQ("line 1: text after the end of the statement",
              configStructureProblem("location /a { return 200; }\n"));
    EXPECT_EQ("line 1: comment inside a statement", configStructureProblem("rewrite a b #x;\n"));
    EXPECT_EQ("line 1: \"}\" closes no block", configStructureProblem("}\n"));
    EXPECT_EQ("block not closed at the end of the file", configStructureProblem("map $a $b {\n"));
    // Quotes left open or closed early, and escapes of the closing quote or the semicolon.
    EXPECT_EQ("line 1: quoted word not closed", configStructureProblem("add_header X \"a;\n"));
    EXPECT_EQ("line 1: text right after a quoted word",
              configStructureProblem("add_header X \"a\"b\";\n"));
    EXPECT_EQ("line 1: quoted word not closed",
              configStructureProblem("add_header X \"a\\\";\n"));
    EXPECT_EQ("line 1: statement not ended on its line",
              configStructureProblem("alias /a\\;\n"));
    // A quote inside a word is an ordinary character, so the ";" after it ends the statement.
    EXPECT_EQ("line 1: text after the end of the statement",
              configStructureProblem("proxy_pass http://$v\"a;b\";\n"));
    EXPECT_EQ("line 2: control character", configStructureProblem("a b;\nc \"\r\";\n"));
    EXPECT_EQ("line 1: \";\" without a directive", configStructureProblem(";\n"));
}

// Every file of every golden generation run has the shape, so the fuzz target can demand it of
// every file it sees written.
TEST(ConfigStructureTest, EveryGoldenOutputFileHasTheShape) {
    int checked = 0;
    for (const auto& entry : fs::directory_iterator(OSTREL_E2E_DIR)) {
        const fs::path expected = entry.path() / "expected";
        const std::string args = testsupport::readFile((entry.path() / "args").string());
        if (!fs::is_directory(expected) || args.find("-clean") != std::string::npos) {
            continue;
        }
        for (const auto& file : fs::directory_iterator(expected)) {
            EXPECT_EQ("", configStructureProblem(testsupport::readFile(file.path().string())))
                << file.path();
            ++checked;
        }
    }
    EXPECT_GT(checked, 50);
}

}  // namespace
