#include "common/OutputFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

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

// What is at a path, compared with a text.
enum class Found { Same, Differs, Absent };

Found compareWithFile(const std::string& path, const std::string& text) {
    // Comparing leaves the access time alone (on a file just written, reading it would
    // otherwise dirty its inode), where the owner allows it; and never blocks on a FIFO.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOATIME);
    if (fd < 0 && errno == EPERM) {
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    }
    if (fd < 0) {
        return errno == ENOENT ? Found::Absent : Found::Differs;
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
    return same ? Found::Same : Found::Differs;
}

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

// A file that does not exist yet is written as an unnamed file of its directory and then
// linked under its name: it appears whole or not at all, as with a temporary file renamed over
// it, for one change of the directory instead of three (create the temporary name, add the
// name, remove the temporary one), and a crash leaves no temporary file behind. Nothing when
// the file system or the system cannot do it (no unnamed files, /proc not mounted) or the name
// was taken meanwhile: the caller then writes through a temporary file.
std::optional<WriteOutcome> createUnnamedThenLink(const std::string& path,
                                                  const std::string& text) {
    const std::size_t slash = path.rfind('/');
    const std::string dir =
        slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
    // The mode is that of a plain create: 0666 less the umask.
    int fd = open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) {
        return std::nullopt;
    }
    if (!writeAll(fd, text)) {
        close(fd);
        return WriteOutcome::WriteFailed;
    }
    char self[32];
    std::snprintf(self, sizeof(self), "/proc/self/fd/%d", fd);
    if (linkat(AT_FDCWD, self, AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0) {
        close(fd);
        return std::nullopt;
    }
    if (close(fd) != 0) {
        // The name was free before: taking it away again leaves things as they were.
        unlink(path.c_str());
        return WriteOutcome::WriteFailed;
    }
    return WriteOutcome::Written;
}

// Writes text to a temporary file next to path, checking every write and the close, and renames
// it over whatever is at path.
WriteOutcome replaceThroughTemporary(const std::string& path, const std::string& text) {
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

}  // namespace

bool fileHolds(const std::string& path, const std::string& text) {
    return compareWithFile(path, text) == Found::Same;
}

WriteOutcome writeFileReplacing(const std::string& path, const std::string& text) {
    const Found found = compareWithFile(path, text);
    if (found == Found::Same) {
        return WriteOutcome::Unchanged;
    }
    if (found == Found::Absent) {
        if (std::optional<WriteOutcome> created = createUnnamedThenLink(path, text)) {
            return *created;
        }
    }
    return replaceThroughTemporary(path, text);
}

WriteOutcome writeNewFile(const std::string& path, const std::string& text) {
    if (std::optional<WriteOutcome> created = createUnnamedThenLink(path, text)) {
        return *created;
    }
    // Taken after all, or no unnamed files here: compared, and replaced when it differs.
    if (compareWithFile(path, text) == Found::Same) {
        return WriteOutcome::Unchanged;
    }
    return replaceThroughTemporary(path, text);
}

bool directoryIsEmpty(const std::string& dir) {
    DIR* stream = opendir(dir.c_str());
    if (stream == nullptr) {
        return false;
    }
    bool empty = true;
    while (const dirent* entry = readdir(stream)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            empty = false;
            break;
        }
    }
    closedir(stream);
    return empty;
}

bool saveGeneratedFile(const std::string& path, const std::string& text, bool verbose,
                       bool expectNew) {
    return logGeneratedFileSave(
        path, text, verbose, expectNew ? writeNewFile(path, text) : writeFileReplacing(path, text));
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
