#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "common/FileSaveQueue.h"
#include "common/Logger.h"
#include "support/CoutCapture.h"
#include "support/TestSupport.h"

using testsupport::CoutCapture;
using testsupport::TempDir;

namespace {

const std::string k_prefix = Logger::getVersion();

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

ino_t inodeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

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

// Runs act on a thread of its own after a pause long enough for the test's thread to be
// waiting in the queue.
std::thread afterAPause(std::function<void()> act) {
    return std::thread([act = std::move(act)] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        act();
    });
}

// Releases queue from a thread of its own after a pause, noting first what standard output and
// the directory showed: what they held while the queue was held.
class DelayedRelease {
public:
    DelayedRelease(FileSaveQueue& queue, const CoutCapture& capture, const std::string& dir)
        : thread(afterAPause([this, &queue, &capture, dir] {
              printedWhileHeld = capture.text();
              filesWhileHeld = testsupport::listFiles(dir);
              queue.release();
          })) {}
    ~DelayedRelease() { join(); }
    void join() {
        if (thread.joinable()) {
            thread.join();
        }
    }
    std::string printedWhileHeld;
    std::vector<std::string> filesWhileHeld;

private:
    std::thread thread;
};

// A held queue writes no file and prints no line, not even for files that already hold their
// text, until it is released; a save that needs writing makes the next hand-over wait for the
// release. Then everything comes out in order, and a file that held its text is left as it was
// (same inode) but logged as saved.
TEST(FileSaveQueueTest, AHeldQueueWritesAndPrintsNothingUntilReleased) {
    TempDir dir;
    const std::string p = dir.path();
    writeText(p + "/same", "s");
    writeText(p + "/changed", "old");
    const ino_t sameInode = inodeOf(p + "/same");
    const ino_t changedInode = inodeOf(p + "/changed");
    CoutCapture capture;
    {
        FileSaveQueue queue(false, FileSaveQueue::k_defaultMaxPendingBytes, true);
        ASSERT_TRUE(queue.isHeld());
        DelayedRelease release(queue, capture, p);
        queue.startGroup(false);
        queue.save(p + "/same", "s");
        Logger::logDebug("between");
        queue.save(p + "/changed", "new");
        queue.save(p + "/created", "c");
        Logger::logDebug("last");
        release.join();
        EXPECT_EQ("", release.printedWhileHeld);
        EXPECT_EQ((std::vector<std::string>{"changed", "same"}), release.filesWhileHeld);
        EXPECT_FALSE(queue.isHeld());
        queue.finish();
    }
    EXPECT_EQ(k_prefix + "INFO: save file " + p + "/same\n" + k_prefix + "DEBUG: between\n" +
                  k_prefix + "INFO: save file " + p + "/changed\n" + k_prefix + "INFO: save file " +
                  p + "/created\n" + k_prefix + "DEBUG: last\n",
              capture.text());
    EXPECT_EQ(sameInode, inodeOf(p + "/same"));
    EXPECT_NE(changedInode, inodeOf(p + "/changed"));
    EXPECT_EQ("new", testsupport::readFile(p + "/changed"));
    EXPECT_EQ("c", testsupport::readFile(p + "/created"));
}

// Two saves of one file while held: the second is not found unchanged against the content the
// first will replace, so the file ends with the second text, as saving one after the other does.
TEST(FileSaveQueueTest, AHeldQueueKeepsTheLastOfTwoSavesOfOneFile) {
    TempDir dir;
    const std::string path = dir.path() + "/f";
    writeText(path, "B");
    CoutCapture capture;
    {
        FileSaveQueue queue(false, FileSaveQueue::k_defaultMaxPendingBytes, true);
        DelayedRelease release(queue, capture, dir.path());
        queue.startGroup(false);
        queue.save(path, "A");
        queue.save(path, "B");
        release.join();
        queue.finish();
    }
    EXPECT_EQ("B", testsupport::readFile(path));
    EXPECT_EQ(
        k_prefix + "INFO: save file " + path + "\n" + k_prefix + "INFO: save file " + path + "\n",
        capture.text());
}

// Into a directory that was empty, files are written without being looked for; a file saved
// twice in one run is found taken the second time and replaced, the last text winning, and one
// that appeared meanwhile with the same text is left as it was.
TEST(FileSaveQueueTest, IntoAnEmptyDirectoryASecondSaveOfOneFileStillWins) {
    TempDir dir;
    const std::string twice = dir.path() + "/twice";
    const std::string appeared = dir.path() + "/appeared";
    // Made after the run began (the queue is told the directory was empty).
    writeText(appeared, "C");
    const ino_t appearedInode = inodeOf(appeared);
    CoutCapture capture;
    {
        FileSaveQueue queue(false, FileSaveQueue::k_defaultMaxPendingBytes, true, true);
        DelayedRelease release(queue, capture, dir.path());
        queue.startGroup(false);
        queue.save(twice, "A");
        queue.save(twice, "B");
        queue.save(appeared, "C");
        release.join();
        queue.finish();
        EXPECT_EQ("", release.printedWhileHeld);
        EXPECT_EQ(std::vector<std::string>{"appeared"}, release.filesWhileHeld);
    }
    EXPECT_EQ("B", testsupport::readFile(twice));
    EXPECT_EQ(appearedInode, inodeOf(appeared));
    EXPECT_EQ((std::vector<std::string>{"appeared", "twice"}), testsupport::listFiles(dir.path()));
    EXPECT_EQ(k_prefix + "INFO: save file " + twice + "\n" + k_prefix + "INFO: save file " + twice +
                  "\n" + k_prefix + "INFO: save file " + appeared + "\n",
              capture.text());
}

// The builder waits for room while held and goes on once another thread releases the queue,
// also when the queue holds almost nothing.
TEST(FileSaveQueueTest, AHeldQueueReleasedByAnotherThreadLetsAWaitingBuilderOn) {
    TempDir dir;
    CoutCapture capture;
    {
        FileSaveQueue queue(false, 1, true);
        queue.startGroup(false);
        std::thread releaser = afterAPause([&queue] { queue.release(); });
        for (int i = 0; i < 20; ++i) {
            queue.save(dir.path() + "/f" + std::to_string(i), std::to_string(i));
        }
        releaser.join();
        queue.finish();
    }
    EXPECT_EQ(20u, testsupport::listFiles(dir.path()).size());
    EXPECT_EQ("19", testsupport::readFile(dir.path() + "/f19"));
}

// Abandoned (validation failed) or destroyed while still held, a queue writes and prints
// nothing it was given; a save handed to an abandoned queue throws, even to a builder waiting
// for room, and the caller's lines go to standard output again once the queue is finished.
TEST(FileSaveQueueTest, AnAbandonedOrNeverReleasedQueueDropsEverything) {
    TempDir dir;
    const std::string p = dir.path();
    writeText(p + "/kept", "old");
    CoutCapture capture;
    {
        FileSaveQueue queue(false, 1, true);
        queue.startGroup(false);
        std::thread abandoner = afterAPause([&queue] { queue.abandon(); });
        queue.save(p + "/kept", "new");
        // The queue is full: the line waits until the queue is abandoned and is dropped, and
        // the next save throws.
        Logger::logDebug("dropped");
        EXPECT_THROW(queue.save(p + "/a", "a"), FileSaveQueue::Abandoned);
        abandoner.join();
        EXPECT_THROW(queue.save(p + "/b", "b"), FileSaveQueue::Abandoned);
        Logger::logDebug("dropped too");
        queue.finish();
        Logger::logDebug("after finish");
    }
    {
        FileSaveQueue queue(false, FileSaveQueue::k_defaultMaxPendingBytes, true);
        queue.startGroup(false);
        queue.save(p + "/c", "c");
    }
    EXPECT_EQ(k_prefix + "DEBUG: after finish\n", capture.text());
    EXPECT_EQ((std::vector<std::string>{"kept"}), testsupport::listFiles(p));
    EXPECT_EQ("old", testsupport::readFile(p + "/kept"));
}

}  // namespace

// A held queue bounded to less than two texts: every save after the first waits until the
// saving thread has settled the one before (its text then counts as the line it logs), which
// needs the thread woken although far fewer saves than a batch are queued. All of them get
// through before any release.
TEST(FileSaveQueueTest, AHeldQueueSettlesForABuilderWaitingForRoomBeforeAnyRelease) {
    TempDir dir;
    const std::string p = dir.path();
    const int files = 5;
    auto textOf = [](int i) { return std::string(2000, static_cast<char>('a' + i)); };
    for (int i = 0; i < files; ++i) {
        writeText(p + "/f" + std::to_string(i), textOf(i));
    }
    CoutCapture capture;
    {
        FileSaveQueue queue(false, 3000, true);
        queue.startGroup(false);
        std::future<void> building = std::async(std::launch::async, [&] {
            for (int i = 0; i < files; ++i) {
                queue.save(p + "/f" + std::to_string(i), textOf(i));
            }
        });
        const bool built = building.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
        EXPECT_TRUE(built) << "the builder still waits for room in a held queue";
        EXPECT_TRUE(queue.isHeld());
        queue.release();
        building.get();
        queue.finish();
    }
    std::string expected;
    for (int i = 0; i < files; ++i) {
        expected += k_prefix + "INFO: save file " + p + "/f" + std::to_string(i) + "\n";
    }
    EXPECT_EQ(expected, capture.text());
}
