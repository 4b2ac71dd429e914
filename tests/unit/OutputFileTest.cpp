#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include "common/OutputFile.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using testsupport::TempDir;

namespace {

ino_t inodeOf(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_ino;
}

TEST(OutputFileTest, WritesNewFileWithPlainCreatePermissions) {
    TempDir dir;
    const std::string path = dir.path() + "/a.conf";
    mode_t previous = umask(022);
    EXPECT_EQ(WriteOutcome::Written, writeFileReplacing(path, "abc"));
    umask(previous);
    EXPECT_EQ("abc", testsupport::readFile(path));
    struct stat st {};
    ASSERT_EQ(0, stat(path.c_str(), &st));
    EXPECT_EQ(0644u, st.st_mode & 0777u);
    EXPECT_EQ(std::vector<std::string>{"a.conf"}, testsupport::listFiles(dir.path()));
}

TEST(OutputFileTest, LeavesIdenticalFileUntouchedAndReplacesDifferentOne) {
    TempDir dir;
    const std::string path = dir.write("a.conf", "same");
    ino_t before = inodeOf(path);
    EXPECT_EQ(WriteOutcome::Unchanged, writeFileReplacing(path, "same"));
    EXPECT_EQ(before, inodeOf(path));

    EXPECT_EQ(WriteOutcome::Written, writeFileReplacing(path, "samex"));
    EXPECT_EQ("samex", testsupport::readFile(path));
    EXPECT_EQ(WriteOutcome::Written, writeFileReplacing(path, ""));
    EXPECT_EQ("", testsupport::readFile(path));
    EXPECT_EQ(WriteOutcome::Unchanged, writeFileReplacing(path, ""));
}

// A FIFO where a file is to be written is replaced by the file: comparing with it must neither
// block (no writer ever opens it) nor find it equal.
TEST(OutputFileTest, ReplacesAFifoWithoutWaitingForAWriter) {
    TempDir dir;
    const std::string path = dir.path() + "/a.conf";
    ASSERT_EQ(0, mkfifo(path.c_str(), 0644));
    EXPECT_FALSE(fileHolds(path, ""));
    EXPECT_EQ(WriteOutcome::Written, writeFileReplacing(path, "text"));
    struct stat st {};
    ASSERT_EQ(0, stat(path.c_str(), &st));
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ("text", testsupport::readFile(path));
}

// A path without a directory part is written in the current directory, whole, under its name.
TEST(OutputFileTest, WritesANewFileNamedWithoutADirectory) {
    TempDir dir;
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path());
    const WriteOutcome outcome = writeFileReplacing("a.conf", "abc");
    fs::current_path(previous);
    EXPECT_EQ(WriteOutcome::Written, outcome);
    EXPECT_EQ("abc", testsupport::readFile(dir.path() + "/a.conf"));
    EXPECT_EQ(std::vector<std::string>{"a.conf"}, testsupport::listFiles(dir.path()));
}

// A symbolic link whose target is missing reads as no file, yet its name is taken: the link is
// replaced by the file, as any other file in the way, and its target is not created.
TEST(OutputFileTest, ReplacesADanglingSymbolicLink) {
    TempDir dir;
    const std::string path = dir.path() + "/a.conf";
    fs::create_symlink(dir.path() + "/target.conf", path);
    EXPECT_FALSE(fileHolds(path, ""));
    EXPECT_EQ(WriteOutcome::Written, writeFileReplacing(path, "text"));
    EXPECT_FALSE(fs::is_symlink(path));
    EXPECT_EQ("text", testsupport::readFile(path));
    EXPECT_FALSE(fs::exists(dir.path() + "/target.conf"));
    EXPECT_EQ(std::vector<std::string>{"a.conf"}, testsupport::listFiles(dir.path()));
}

// A file expected to be new is written without being looked for; when the name is taken after
// all, the outcome is that of writeFileReplacing: an equal file stays as it is, a different one
// or a dangling link is replaced.
TEST(OutputFileTest, WritingANewFileFallsBackWhenTheNameIsTaken) {
    TempDir dir;
    EXPECT_EQ(WriteOutcome::Written, writeNewFile(dir.path() + "/new.conf", "new"));
    EXPECT_EQ("new", testsupport::readFile(dir.path() + "/new.conf"));

    const std::string same = dir.write("same.conf", "same");
    const ino_t before = inodeOf(same);
    EXPECT_EQ(WriteOutcome::Unchanged, writeNewFile(same, "same"));
    EXPECT_EQ(before, inodeOf(same));

    const std::string other = dir.write("other.conf", "old");
    EXPECT_EQ(WriteOutcome::Written, writeNewFile(other, "new"));
    EXPECT_EQ("new", testsupport::readFile(other));

    const std::string link = dir.path() + "/link.conf";
    fs::create_symlink(dir.path() + "/target.conf", link);
    EXPECT_EQ(WriteOutcome::Written, writeNewFile(link, "text"));
    EXPECT_FALSE(fs::is_symlink(link));
    EXPECT_FALSE(fs::exists(dir.path() + "/target.conf"));

    EXPECT_EQ(WriteOutcome::OpenFailed, writeNewFile(dir.path() + "/no/such/a.conf", "x"));
    EXPECT_EQ((std::vector<std::string>{"link.conf", "new.conf", "other.conf", "same.conf"}),
              testsupport::listFiles(dir.path()));
}

TEST(OutputFileTest, TellsAnEmptyDirectory) {
    TempDir dir;
    EXPECT_TRUE(directoryIsEmpty(dir.path()));
    fs::create_directory(dir.path() + "/sub");
    EXPECT_FALSE(directoryIsEmpty(dir.path()));
    EXPECT_TRUE(directoryIsEmpty(dir.path() + "/sub"));
    const std::string file = dir.write("sub/.hidden", "");
    EXPECT_FALSE(directoryIsEmpty(dir.path() + "/sub"));
    EXPECT_FALSE(directoryIsEmpty(file));
    EXPECT_FALSE(directoryIsEmpty(dir.path() + "/missing"));
}

TEST(OutputFileTest, FailuresLeaveNothingBehind) {
    TempDir dir;
    EXPECT_EQ(WriteOutcome::OpenFailed, writeFileReplacing(dir.path() + "/no/such/a.conf", "x"));
    // A directory in the way cannot be replaced by a file.
    fs::create_directory(dir.path() + "/taken");
    EXPECT_EQ(WriteOutcome::WriteFailed, writeFileReplacing(dir.path() + "/taken", "x"));
    EXPECT_TRUE(fs::is_directory(dir.path() + "/taken"));
    EXPECT_TRUE(testsupport::listFiles(dir.path()).empty());
}

TEST(OutputFileTest, SaveGeneratedFileLogsOutcome) {
    TempDir dir;
    std::ostringstream captured;
    std::streambuf* old = std::cout.rdbuf(captured.rdbuf());
    bool saved = saveGeneratedFile(dir.path() + "/a.conf", "text", true);
    bool failed = saveGeneratedFile(dir.path() + "/none/b.conf", "text", false);
    std::cout.rdbuf(old);

    EXPECT_TRUE(saved);
    EXPECT_FALSE(failed);
    const std::string v = "ostrel v2.4.5 ";
    EXPECT_EQ(v + "DEBUG: out file = " + dir.path() + "/a.conf\n" +
                  v + "Generated file '" + dir.path() + "/a.conf':\n" +
                  v + "text\n" +
                  v + "INFO: save file " + dir.path() + "/a.conf\n" +
                  v + "ERROR: could not open file: " + dir.path() + "/none/b.conf\n",
              captured.str());
}

}  // namespace
