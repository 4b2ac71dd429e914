#include "common/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "common/Logger.h"

namespace {

// The process umask, read once (reading it means setting it, so restore it at once).
mode_t currentUmask() {
    static const mode_t mask = [] {
        mode_t m = umask(0);
        umask(m);
        return m;
    }();
    return mask;
}

}  // namespace

bool fileHolds(const std::string& path, const std::string& text) {
    // Comparing leaves the access time alone (on a file just written, reading it would
    // otherwise dirty its inode), where the owner allows it; and never blocks on a FIFO.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOATIME);
    if (fd < 0 && errno == EPERM) {
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    }
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    bool same = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                static_cast<unsigned long long>(st.st_size) == text.size();
    // Compared piece by piece through a buffer on the stack: no allocation per file.
    char buffer[16384];
    std::size_t done = 0;
    while (same && done < text.size()) {
        const std::size_t want = std::min(sizeof(buffer), text.size() - done);
        ssize_t n = read(fd, buffer, want);
        if (n <= 0) {
            same = false;
            break;
        }
        same = std::memcmp(buffer, text.data() + done, static_cast<std::size_t>(n)) == 0;
        done += static_cast<std::size_t>(n);
    }
    close(fd);
    return same;
}

namespace {

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

WriteOutcome writeFileReplacing(const std::string& path, const std::string& text) {
    if (fileHolds(path, text)) {
        return WriteOutcome::Unchanged;
    }
    std::string tmp = path + ".tmp.XXXXXX";
    int fd = mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0) {
        return WriteOutcome::OpenFailed;
    }
    bool ok = fchmod(fd, 0666 & ~currentUmask()) == 0 && writeAll(fd, text);
    ok = (close(fd) == 0) && ok;
    ok = ok && std::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(tmp.c_str());
        return WriteOutcome::WriteFailed;
    }
    return WriteOutcome::Written;
}

bool saveGeneratedFile(const std::string& path, const std::string& text, bool verbose) {
    return logGeneratedFileSave(path, text, verbose, writeFileReplacing(path, text));
}

bool logGeneratedFileSave(const std::string& path, const std::string& text, bool verbose,
                          WriteOutcome outcome) {
    if (verbose) {
        Logger::logDebug("out file = " + path);
    }
    switch (outcome) {
        case WriteOutcome::OpenFailed:
            Logger::logError("could not open file: " + path);
            return false;
        case WriteOutcome::WriteFailed:
            Logger::logError("could not write file: " + path);
            return false;
        case WriteOutcome::Written:
        case WriteOutcome::Unchanged:
            break;
    }
    if (verbose) {
        Logger::logFileContent(path, text);
    }
    Logger::logInfo("save file " + path);
    return true;
}
