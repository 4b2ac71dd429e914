#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "common/OutputFile.h"
#include "support/CoutCapture.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using testsupport::TempDir;

namespace {

const std::string k_error = "ostrel v2.4.5 ERROR: ";

// Lowers the largest file size the process may write for its lifetime, so that writes beyond it
// fail with EFBIG (the signal that would stop the process is ignored meanwhile).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved{};
    void (*previousHandler)(int) = nullptr;
};

TEST(OutputFileTest, FailedWriteIsLoggedAndKeepsTheOldFileWithoutTemporaryFiles) {
    TempDir dir;
    const std::string path = dir.write("a.conf", "old");
    std::string log;
    bool saved = true;
    {
        testsupport::CoutCapture capture;
        {
            FileSizeLimit limit(4);
            saved = saveGeneratedFile(path, "longer than four bytes", false);
        }
        log = capture.text();
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(k_error + "could not write file: " + path + "\n", log);
    EXPECT_EQ("old", testsupport::readFile(path));
    EXPECT_EQ(std::vector<std::string>{"a.conf"}, testsupport::listFiles(dir.path()));
}

TEST(OutputFileTest, FailedRenameAndFailedOpenAreLoggedWithTheirPath) {
    TempDir dir;
    fs::create_directory(dir.path() + "/taken");
    testsupport::CoutCapture capture;
    EXPECT_FALSE(saveGeneratedFile(dir.path() + "/taken", "x", false));
    EXPECT_FALSE(saveGeneratedFile(dir.path() + "/none/b.conf", "x", false));
    EXPECT_EQ(k_error + "could not write file: " + dir.path() + "/taken\n" + k_error +
                  "could not open file: " + dir.path() + "/none/b.conf\n",
              capture.text());
    EXPECT_TRUE(testsupport::listFiles(dir.path()).empty());
}

}  // namespace
