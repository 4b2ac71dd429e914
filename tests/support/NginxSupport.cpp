#include "support/NginxSupport.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace testsupport {

std::string nginxBinary() {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path != nullptr ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        const std::string candidate = (dir.empty() ? "." : dir) + "/nginx";
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return access("/usr/sbin/nginx", X_OK) == 0 ? "/usr/sbin/nginx" : std::string();
}

bool nginxRequired() {
    const char* require = std::getenv("OSTREL_REQUIRE_NGINX");
    if (require != nullptr && std::string(require) == "1") {
        return true;
    }
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string(ci) != "" && std::string(ci) != "false";
}

CommandOutput runCommand(const std::string& commandLine) {
    CommandOutput result;
    FILE* pipe = popen((commandLine + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        result.output = "could not run: " + commandLine;
        return result;
    }
    char buffer[4096];
    size_t count = 0;
    while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.output.append(buffer, count);
    }
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

CommandOutput runNginxCheck(const std::string& outputDir, const std::vector<std::string>& options) {
    std::string command =
        "bash " + shellQuoted(std::string(OSTREL_SOURCE_DIR) + "/scripts/nginx-check");
    const std::string nginx = nginxBinary();
    if (!nginx.empty()) {
        command += " --nginx " + shellQuoted(nginx);
    }
    for (const auto& option : options) {
        command += " " + shellQuoted(option);
    }
    command += " " + shellQuoted(outputDir);
    return runCommand(command);
}

}  // namespace testsupport
