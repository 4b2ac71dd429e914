#include "common/Logger.h"

#include <gtest/gtest.h>

#include "support/CoutCapture.h"

using testsupport::CoutCapture;

TEST(LoggerTest, VersionTextHasATrailingBlank) {
    EXPECT_EQ(Logger::getVersion(), "ostrel v2.4.5 ");
}

TEST(LoggerTest, EveryKindOfLine) {
    CoutCapture capture;
    Logger::logError("Bad command line");
    Logger::logInfo("SUCCESS");
    Logger::logDebug("out file = d/x");
    Logger::logNotValidInputJson("nodes.json", "keepalive not exists");
    Logger::logError("");
    EXPECT_EQ(capture.text(),
              "ostrel v2.4.5 ERROR: Bad command line\n"
              "ostrel v2.4.5 INFO: SUCCESS\n"
              "ostrel v2.4.5 DEBUG: out file = d/x\n"
              "ostrel v2.4.5 INPUT FILE ='nodes.json' NOT VALID: 'keepalive not exists'\n"
              "ostrel v2.4.5 ERROR: \n");
}

TEST(LoggerTest, MultiLineMessagesArePrefixedOnTheirFirstLineOnly) {
    CoutCapture capture;
    Logger::logError("a\nb\n");
    Logger::logFileContent("d/f.conf", "line 1\nline 2");
    EXPECT_EQ(capture.text(),
              "ostrel v2.4.5 ERROR: a\n"
              "b\n"
              "\n"
              "ostrel v2.4.5 Generated file 'd/f.conf':\n"
              "ostrel v2.4.5 line 1\n"
              "line 2\n");
}

TEST(LoggerTest, AssertReportsOnlyAFalseCondition) {
    CoutCapture capture;
    EXPECT_TRUE(ASSERT(true, "not shown", "nodes.json"));
    EXPECT_EQ(capture.text(), "");
    EXPECT_FALSE(ASSERT(false, "M", "nodes.json"));
    EXPECT_EQ(capture.text(), "ostrel v2.4.5 INPUT FILE ='nodes.json' NOT VALID: 'M'\n");
}
