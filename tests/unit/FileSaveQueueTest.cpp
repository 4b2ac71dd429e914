#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/FileSaveQueue.h"
#include "common/Logger.h"
#include "support/CoutCapture.h"
#include "support/TestSupport.h"

using testsupport::CoutCapture;
using testsupport::TempDir;

namespace {

const std::string k_prefix = Logger::getVersion();

// Lines logged between saves keep their places among the save messages, also when the queue
// holds so little that every save waits for the one before it.
TEST(FileSaveQueueTest, KeepsTheOrderOfSavesAndLinesAtAnyBound) {
    for (std::size_t bound : {std::size_t(1), std::size_t(32) << 20}) {
        TempDir dir;
        CoutCapture capture;
        {
            FileSaveQueue queue(false, bound);
            queue.startGroup(false);
            for (int i = 0; i < 50; ++i) {
                Logger::logDebug("before " + std::to_string(i));
                queue.save(dir.path() + "/f" + std::to_string(i), "text " + std::to_string(i));
            }
            queue.finish();
        }
        std::string expected;
        for (int i = 0; i < 50; ++i) {
            expected += k_prefix + "DEBUG: before " + std::to_string(i) + "\n" + k_prefix +
                        "INFO: save file " + dir.path() + "/f" + std::to_string(i) + "\n";
            EXPECT_EQ("text " + std::to_string(i),
                      testsupport::readFile(dir.path() + "/f" + std::to_string(i)));
        }
        EXPECT_EQ(expected, capture.text()) << "bound " << bound;
    }
}

// A group that stops at its first failed save drops what it handed over after it, saves and
// lines alike, as a loop that returns there would never have made them; a group that does not
// stop goes on, and so does the next group.
TEST(FileSaveQueueTest, AStoppingGroupEndsAtItsFirstFailedSave) {
    TempDir dir;
    const std::string missing = dir.path() + "/missing";
    CoutCapture capture;
    {
        FileSaveQueue queue(false);
        queue.startGroup(false);
        queue.save(missing + "/a", "a");
        queue.save(dir.path() + "/b", "b");
        queue.startGroup(true);
        queue.save(dir.path() + "/c", "c");
        queue.save(missing + "/d", "d");
        Logger::logDebug("after d");
        queue.save(dir.path() + "/e", "e");
        queue.startGroup(true);
        Logger::logDebug("next group");
        queue.save(dir.path() + "/f", "f");
        queue.finish();
    }
    const std::string p = dir.path();
    EXPECT_EQ(k_prefix + "ERROR: could not open file: " + missing + "/a\n" + k_prefix +
                  "INFO: save file " + p + "/b\n" + k_prefix + "INFO: save file " + p + "/c\n" +
                  k_prefix + "ERROR: could not open file: " + missing + "/d\n" + k_prefix +
                  "DEBUG: next group\n" + k_prefix + "INFO: save file " + p + "/f\n",
              capture.text());
    EXPECT_EQ((std::vector<std::string>{"b", "c", "f"}), testsupport::listFiles(p));
}

// Once finished, or when it is destroyed without finishing (as when building fails with an
// exception), everything handed over has been saved and the caller logs to standard output
// again.
TEST(FileSaveQueueTest, FinishingOrDestroyingSavesEverythingAndGivesBackStandardOutput) {
    TempDir dir;
    CoutCapture capture;
    {
        FileSaveQueue queue(true);
        queue.startGroup(false);
        queue.save(dir.path() + "/a", "a");
        queue.finish();
        Logger::logInfo("after finish");
        queue.save(dir.path() + "/b", "b");
    }
    {
        FileSaveQueue queue(false);
        queue.startGroup(false);
        queue.save(dir.path() + "/c", "c");
    }
    Logger::logInfo("after destruction");
    const std::string p = dir.path();
    EXPECT_EQ(k_prefix + "DEBUG: out file = " + p + "/a\n" + k_prefix + "Generated file '" + p +
                  "/a':\n" + k_prefix + "a\n" + k_prefix + "INFO: save file " + p + "/a\n" +
                  k_prefix + "INFO: after finish\n" + k_prefix + "DEBUG: out file = " + p + "/b\n" +
                  k_prefix + "Generated file '" + p + "/b':\n" + k_prefix + "b\n" + k_prefix +
                  "INFO: save file " + p + "/b\n" + k_prefix + "INFO: save file " + p + "/c\n" +
                  k_prefix + "INFO: after destruction\n",
              capture.text());
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), testsupport::listFiles(p));
}

// Lines logged before the first group are kept. Saves made on the spot once the queue is finished
// (as when no thread can be had) follow the same group rules; the caller's lines then go
// straight to standard output.
TEST(FileSaveQueueTest, OnTheSpotSavesFollowTheGroupRules) {
    TempDir dir;
    const std::string missing = dir.path() + "/missing";
    CoutCapture capture;
    {
        FileSaveQueue queue(false);
        Logger::logDebug("first");
        queue.finish();
        queue.startGroup(true);
        queue.save(missing + "/a", "a");
        Logger::logDebug("after finish");
        queue.save(dir.path() + "/b", "b");
        queue.startGroup(false);
        queue.save(dir.path() + "/c", "c");
    }
    EXPECT_EQ(k_prefix + "DEBUG: first\n" + k_prefix + "ERROR: could not open file: " + missing +
                  "/a\n" + k_prefix + "DEBUG: after finish\n" + k_prefix + "INFO: save file " +
                  dir.path() + "/c\n",
              capture.text());
    EXPECT_EQ((std::vector<std::string>{"c"}), testsupport::listFiles(dir.path()));
}

}  // namespace
