#include "support/TestSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace fs = std::filesystem;

namespace testsupport {

RunOutput runOstrel(const std::vector<std::string>& args, const std::string& cwd) {
    TempDir capture;
    std::string outPath = capture.path() + "/stdout";
    std::string errPath = capture.path() + "/stderr";

    std::vector<std::string> argv0 = {OSTREL_BINARY};
    argv0.insert(argv0.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argv0) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);

    // posix_spawn has no portable chdir action in glibc 2.36's API we rely on, so change the
    // directory around the spawn; tests run single-threaded.
    std::string previous = fs::current_path().string();
    if (!cwd.empty()) {
        fs::current_path(cwd);
    }
    pid_t pid = 0;
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    if (!cwd.empty()) {
        fs::current_path(previous);
    }
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        throw std::runtime_error("could not start " + std::string(OSTREL_BINARY));
    }
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);

    RunOutput result;
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "ostrel-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    dirPath = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Restore write permission on anything a test made read-only, then remove it all.
    for (auto it = fs::recursive_directory_iterator(dirPath, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::permissions(dirPath, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dirPath, ec);
}

std::string TempDir::write(const std::string& name, const std::string& content) const {
    std::string path = dirPath + "/" + name;
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << content;
    return path;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool fileExists(const std::string& path) { return fs::exists(path); }

std::vector<std::string> listFiles(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        if (entry.is_regular_file()) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    if (from.empty()) {
        return text;
    }
    for (std::size_t pos = text.find(from); pos != std::string::npos;
         pos = text.find(from, pos + to.size())) {
        text.replace(pos, from.size(), to);
    }
    return text;
}

}  // namespace testsupport
