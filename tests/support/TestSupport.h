#pragma once

#include <string>
#include <vector>

namespace testsupport {

struct RunOutput {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built ostrel program with args in directory cwd (empty: the current directory),
// capturing standard output and standard error separately.
RunOutput runOstrel(const std::vector<std::string>& args, const std::string& cwd = "");

// A fresh, empty directory under the system's temporary directory. It is removed by the
// destructor.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return dirPath; }
    // Writes content to path()/name and returns the full path.
    std::string write(const std::string& name, const std::string& content) const;

private:
    std::string dirPath;
};

std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
// Names of the regular files directly in dir, sorted.
std::vector<std::string> listFiles(const std::string& dir);
// Every occurrence of from replaced by to (no cascading).
std::string replaceAll(std::string text, const std::string& from, const std::string& to);

}  // namespace testsupport
