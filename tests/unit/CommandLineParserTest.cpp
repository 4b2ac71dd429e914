#include "cli/CommandLineParser.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/CoutCapture.h"

using testsupport::CoutCapture;

namespace {

struct Parsed {
    bool ok;
    ArgumentMap args;
    std::string log;
};

Parsed parse(std::vector<std::string> tokens) {
    tokens.insert(tokens.begin(), "ostrel");
    std::vector<char*> argv;
    for (auto& token : tokens) {
        argv.push_back(token.data());
    }
    argv.push_back(nullptr);
    CoutCapture capture;
    CommandLineParser parser;
    bool ok = parser.parse(static_cast<int>(tokens.size()), argv.data());
    return {ok, parser.getArgs(), capture.text()};
}

const char* const k_badCommandLine = "ostrel v2.4.5 ERROR: Bad command line\n";

}  // namespace

TEST(CommandLineParserTest, GenerationFillsFlagsAndValues) {
    Parsed p = parse({"-s", "s.json", "-n", "n.json", "-r", "r.json", "-o", "out", "-l", "l.json",
                      "-gw", "g1", "-verbose", "-ignore_ports", "-debug", "-test"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.log, "");
    EXPECT_EQ(p.args.size(), 10u);
    EXPECT_EQ(std::get<std::string>(p.args.at("-s")), "s.json");
    EXPECT_EQ(std::get<std::string>(p.args.at("-gw")), "g1");
    EXPECT_TRUE(std::get<bool>(p.args.at("-verbose")));
    EXPECT_TRUE(std::get<bool>(p.args.at("-test")));
}

TEST(CommandLineParserTest, ValueOptionTakesTheNextTokenWhateverItIs) {
    Parsed p = parse({"-o", "-v", "-s", "-r", "-r", "x", "-n", "n"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(std::get<std::string>(p.args.at("-o")), "-v");
    EXPECT_EQ(std::get<std::string>(p.args.at("-s")), "-r");
    EXPECT_EQ(std::get<std::string>(p.args.at("-r")), "x");
    EXPECT_EQ(p.args.count("-v"), 0u);
}

TEST(CommandLineParserTest, ValueOptionAsLastTokenIsLeftOut) {
    Parsed p = parse({"-s", "s", "-n", "n", "-r", "r", "-o", "o", "-l"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.args.count("-l"), 0u);

    Parsed noOutput = parse({"-s", "s", "-n", "n", "-r", "r", "-o"});
    EXPECT_FALSE(noOutput.ok);
    EXPECT_EQ(noOutput.log, k_badCommandLine);
}

TEST(CommandLineParserTest, UnknownOrRepeatedTokensStopTheParse) {
    Parsed unknown = parse({"-V", "-also-unknown"});
    EXPECT_FALSE(unknown.ok);
    EXPECT_EQ(unknown.log,
              "ostrel v2.4.5 ERROR: Could not parse command line: unknown argument - -V\n");

    Parsed repeated = parse({"-o", "a", "-v", "-o", "b"});
    EXPECT_FALSE(repeated.ok);
    EXPECT_EQ(repeated.log,
              "ostrel v2.4.5 ERROR: Could not parse command line: unknown argument - -o\n");

    // Matching is exact: no long forms and no option=value.
    EXPECT_FALSE(parse({"--v"}).ok);
    EXPECT_FALSE(parse({"-o=out", "-v"}).ok);
}

TEST(CommandLineParserTest, VersionIsAcceptedWithAnythingValid) {
    EXPECT_TRUE(parse({"-v"}).ok);
    Parsed p = parse({"-clean", "-v", "-s", "s"});
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.log, "");
}

TEST(CommandLineParserTest, CleaningNeedsInputOutputAndDirectory) {
    EXPECT_TRUE(parse({"-clean", "-i", "in.conf", "-o", "out.conf", "-dir", "d/"}).ok);
    EXPECT_EQ(parse({"-clean", "-i", "in.conf", "-o", "out.conf"}).log, k_badCommandLine);
    EXPECT_EQ(parse({"-i", "in.conf", "-o", "out.conf", "-dir", "d/"}).log, k_badCommandLine);
    EXPECT_EQ(parse({"-clean"}).log, k_badCommandLine);
    // Both modes complete: accepted; "-clean" decides which one runs.
    EXPECT_TRUE(
        parse({"-clean", "-i", "i", "-o", "o", "-dir", "d", "-s", "s", "-n", "n", "-r", "r"}).ok);
}

TEST(CommandLineParserTest, CleanWithOnlyTheGenerationOptionsIsRejected) {
    Parsed p = parse({"-s", "s", "-n", "n", "-r", "r", "-o", "o", "-clean", "-i", "i"});
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.log,
              "ostrel v2.4.5 ERROR: Bad command line: \"-clean\" needs \"-i\", \"-o\" and "
              "\"-dir\"\n");
}

TEST(CommandLineParserTest, GenerationNeedsServicesNodesRoutingAndOutput) {
    EXPECT_EQ(parse({"-s", "s", "-n", "n", "-o", "o"}).log, k_badCommandLine);
    EXPECT_EQ(parse({"-s", "s", "-r", "r", "-o", "o", "-l", "l"}).log, k_badCommandLine);
    EXPECT_EQ(parse({}).log, k_badCommandLine);
}
