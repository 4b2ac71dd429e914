#pragma once

#include <string>
#include <vector>

namespace testsupport {

// The nginx binary to test with: nginx on PATH, else /usr/sbin/nginx; empty when neither is
// there.
std::string nginxBinary();

// True when a missing nginx must fail the tests rather than skip them: OSTREL_REQUIRE_NGINX=1,
// or CI set (as .ci/run does).
bool nginxRequired();

struct CommandOutput {
    int status = -1;
    std::string output;  // standard output and standard error together
};

// Runs a shell command line, capturing both output streams.
CommandOutput runCommand(const std::string& commandLine);

// Runs scripts/nginx-check of this checkout with the options and the output directory.
CommandOutput runNginxCheck(const std::string& outputDir,
                            const std::vector<std::string>& options = {});

// The text in single quotes for a shell command line.
std::string shellQuoted(const std::string& text);

}  // namespace testsupport

// Skips the test when nginx is missing, or fails it when nginx is required (CI).
#define OSTREL_REQUIRE_NGINX_OR_SKIP()                                       \
    do {                                                                     \
        if (::testsupport::nginxBinary().empty()) {                          \
            if (::testsupport::nginxRequired()) {                            \
                FAIL() << "nginx is not installed but required here (CI or " \
                          "OSTREL_REQUIRE_NGINX=1); install nginx-light";    \
            }                                                                \
            GTEST_SKIP() << "nginx not installed (install nginx-light)";     \
        }                                                                    \
    } while (false)
