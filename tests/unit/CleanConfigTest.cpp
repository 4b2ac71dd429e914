#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "clean/CleanConfig.h"
#include "support/TestSupport.h"

using namespace testsupport;

namespace {

const std::string k_v = "ostrel v2.4.5 ";
const std::string k_dir = "/d/";

// Runs changePort and returns what it printed, so failures can be checked for their messages.
std::string changePortOutput(const std::string& directive, bool& ok, std::string& result) {
    ::testing::internal::CaptureStdout();
    ok = CleanConfig().changePort(directive, result);
    return ::testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(CleanConfigTest, CommentedOutDirectiveIsKeptAndMovesSearchPastItsSemicolon) {
    CleanConfig c;
    // "#" earlier on the same line comments out both occurrences on it; a "#" on an earlier
    // line does not.
    EXPECT_EQ("# note\n  # error_log a; error_log b;\nerror_log /d/error_log.log info;\n",
              c.cleanErrorLog("# note\n  # error_log a; error_log b;\nerror_log c;\n", k_dir));
    // The commented occurrence ends at the ";" of the next line, so the keyword in between is
    // skipped and the third one is the first active occurrence.
    EXPECT_EQ("#error_log\nerror_log x;\nerror_log /d/error_log.log info;\n",
              c.cleanErrorLog("#error_log\nerror_log x;\nerror_log y;\n", k_dir));
}

TEST(CleanConfigTest, FirstActiveOccurrenceReplacedLaterOnesDeleted) {
    CleanConfig c;
    EXPECT_EQ("error_log /d/error_log.log info;\nhttp {\n     # old\n}\n",
              c.cleanErrorLog("error_log a;\nhttp {\n    error_log b; # old\n}\n", k_dir));
    EXPECT_EQ("http {\n    access_log /d/access_log.log main;\n    \n}\n",
              c.cleanAccessLog("http {\n    access_log /x.log combined;\n    access_log off;\n}\n",
                               k_dir));
    // The keyword search is a plain substring search.
    EXPECT_EQ("set $my_error_log /d/error_log.log info;\n",
              c.cleanErrorLog("set $my_error_log 1;\n", k_dir));
}

TEST(CleanConfigTest, KeywordWithoutSemicolonEndsTheSearch) {
    CleanConfig c;
    EXPECT_EQ("error_log /d/error_log.log info;\nerror_log b\n",
              c.cleanErrorLog("error_log a;\nerror_log b\n", k_dir));
    EXPECT_EQ("error_log a\n", c.cleanErrorLog("error_log a\n", k_dir));
    // An occurrence runs to the first ";" wherever it is, swallowing the next keyword.
    EXPECT_EQ("error_log /d/error_log.log info;\n",
              c.cleanErrorLog("error_log a\nerror_log b;\n", k_dir));
    std::string out;
    EXPECT_TRUE(c.changePorts("listen 80", out));
    EXPECT_EQ("listen 80", out);
}

TEST(CleanConfigTest, PidAtFirstByteIsTheOccurrenceReplaced) {
    CleanConfig c;
    EXPECT_EQ("pid /d/nginx_vek.pid;\nevents {}\n# pid /x;\nhttp {  }\n",
              c.cleanPid("pid /run/nginx.pid;\nevents {}\n# pid /x;\nhttp { pid y; }\n", k_dir));
    EXPECT_EQ("\tpid /d/nginx_vek.pid;", c.cleanPid("\tpid\n/run/a.pid;", k_dir));
}

TEST(CleanConfigTest, GetPidPosMatchesOnlyTheKeyword) {
    CleanConfig c;
    const auto npos = std::string::npos;
    EXPECT_EQ(0u, c.getPidPos("pid x;", 0));
    EXPECT_EQ(0u, c.getPidPos("pid\nx;", 0));
    EXPECT_EQ(npos, c.getPidPos("pid x;", 1));  // start of text only counts from 0
    EXPECT_EQ(2u, c.getPidPos("a\tpid x pid y", 0));
    EXPECT_EQ(6u, c.getPidPos("rapid pid\tx", 0));
    EXPECT_EQ(2u, c.getPidPos("x\npid\n", 0));
    // The blank before the keyword must lie at or after from.
    EXPECT_EQ(npos, c.getPidPos("a pid b", 2));
    EXPECT_EQ(npos, c.getPidPos("set $pid_file x; $pid y; rapid z; pid; pidfile a;", 0));
    EXPECT_EQ(npos, c.getPidPos("pi", 0));
    EXPECT_EQ("set $pid_file x;\nrapid 1;\n", c.cleanPid("set $pid_file x;\nrapid 1;\n", k_dir));
}

TEST(CleanConfigTest, ChangePortRewritesListenDirective) {
    struct Case {
        std::string directive;
        std::string expected;
    };
    const Case cases[] = {
        {"listen 80 ssl", " listen 1104 ssl;"},
        {"listen 443", " listen 1467;"},
        {"listen 8080", " listen 8080;"},
        {"listen 0", " listen 1024;"},
        {"listen 1023", " listen 2047;"},
        {"listen 1024", " listen 1024;"},
        {"listen 0080", " listen 1104;"},
        {"listen 08080", " listen 08080;"},
        {"listen 2147483647", " listen 2147483647;"},
        {"listen", " listen;"},
        {"listen\t 80\n  default_server   reuseport", " listen 1104 default_server reuseport;"},
    };
    for (const auto& k : cases) {
        bool ok = false;
        std::string result;
        EXPECT_EQ("", changePortOutput(k.directive, ok, result)) << k.directive;
        EXPECT_TRUE(ok) << k.directive;
        EXPECT_EQ(k.expected, result) << k.directive;
    }
}

TEST(CleanConfigTest, ChangePortRejectsPortsThatAreNotNumbers) {
    for (const char* port : {"127.0.0.1:80", "[::]:80", "unix:/run/x.sock", "-1", "2147483648",
                             "99999999999999999999"}) {
        bool ok = true;
        std::string result;
        EXPECT_EQ(std::string(port) + "\n" + k_v + "ERROR: invalid port\n",
                  changePortOutput(std::string("listen ") + port + " ssl", ok, result));
        EXPECT_FALSE(ok) << port;
    }
}

TEST(CleanConfigTest, ChangePortsRewritesCommentedListenToo) {
    std::string out;
    ASSERT_TRUE(CleanConfig().changePorts(
        "server {\n    listen 80;\n    # listen 443 ssl;\n    #listen;\n}\n", out));
    EXPECT_EQ("server {\n     listen 1104;\n    #  listen 1467 ssl;\n    # listen;\n}\n", out);
}

TEST(CleanConfigTest, IsNumber) {
    CleanConfig c;
    EXPECT_TRUE(c.isNumber("0"));
    EXPECT_TRUE(c.isNumber("8080"));
    for (const char* word : {"", "-1", "+1", " 1", "1a", "8o", "1.0"}) {
        EXPECT_FALSE(c.isNumber(word)) << word;
    }
}

class CleanConfigFileTest : public ::testing::Test {
protected:
    TempDir tmp;

    // Runs clean and returns its output; status receives its result.
    std::string runClean(const std::string& in, const std::string& out, bool& status) {
        ::testing::internal::CaptureStdout();
        status = CleanConfig().clean(in, out, "/r/");
        return ::testing::internal::GetCapturedStdout();
    }
    std::string infoLine(const std::string& in, const std::string& out) {
        return k_v + "INFO: CleanConfig::clean in=" + in + "out=" + out + "\n";
    }
};

TEST_F(CleanConfigFileTest, WritesCleanedFileReplacingOldOneWithPlainCreatePermissions) {
    const std::string in = tmp.write("in.conf", "pid /a;\nerror_log b;\nlisten 80;\n");
    const std::string out = tmp.write("out.conf", std::string(200, 'x'));
    chmod(out.c_str(), 0600);
    bool ok = false;
    std::string printed = runClean(in, out, ok);
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_TRUE(ok);
    EXPECT_EQ(infoLine(in, out), printed);
    EXPECT_EQ("pid /r/nginx_vek.pid;\nerror_log /r/error_log.log info;\n listen 1104;\n",
              readFile(out));
    struct stat st {};
    ASSERT_EQ(0, stat(out.c_str(), &st));
    EXPECT_EQ(0666u & ~mask, st.st_mode & 0777u);
    EXPECT_EQ((std::vector<std::string>{"in.conf", "out.conf"}), listFiles(tmp.path()));
}

TEST_F(CleanConfigFileTest, InvalidPortLeavesExistingOutputUntouched) {
    const std::string in = tmp.write("in.conf", "error_log b;\nlisten 127.0.0.1:80;\n");
    const std::string out = tmp.write("out.conf", "previous");
    bool ok = true;
    EXPECT_EQ(infoLine(in, out) + "127.0.0.1:80\n" + k_v + "ERROR: invalid port\n",
              runClean(in, out, ok));
    EXPECT_FALSE(ok);
    EXPECT_EQ("previous", readFile(out));
    EXPECT_EQ((std::vector<std::string>{"in.conf", "out.conf"}), listFiles(tmp.path()));
}

TEST_F(CleanConfigFileTest, UnreadableInputOrUnwritableOutputFails) {
    const std::string in = tmp.write("in.conf", "listen 80;\n");
    bool ok = true;
    // Missing input, and a directory given as input.
    for (const std::string& bad : {tmp.path() + "/none.conf", tmp.path()}) {
        const std::string out = tmp.path() + "/out.conf";
        EXPECT_EQ(infoLine(bad, out) + k_v + "ERROR: " + bad + "could not open file\n",
                  runClean(bad, out, ok));
        EXPECT_FALSE(ok);
    }
    // Output under a directory that does not exist.
    const std::string noDir = tmp.path() + "/no/out.conf";
    EXPECT_EQ(infoLine(in, noDir) + k_v + "ERROR: " + noDir + "could not open file\n",
              runClean(in, noDir, ok));
    EXPECT_FALSE(ok);
    // Output path that is a directory: the temporary file is made but cannot replace it, and
    // is removed again.
    const std::string dirOut = tmp.path() + "/sub";
    ASSERT_EQ(0, mkdir(dirOut.c_str(), 0755));
    EXPECT_EQ(infoLine(in, dirOut) + k_v + "ERROR: " + dirOut + "could not write file\n",
              runClean(in, dirOut, ok));
    EXPECT_FALSE(ok);
    EXPECT_EQ(std::vector<std::string>{"in.conf"}, listFiles(tmp.path()));
}

// The cleaned realistic configuration must be a complete configuration that nginx accepts, with
// its logs and pid file inside the instance directory. nginx -t opens the log and pid files and
// creates the temporary directories, all inside that directory, so it needs no root rights.
TEST(CleanConfigNginxTest, CleanedRealisticFilePassesNginxSyntaxCheck) {
    const std::string nginx = "/usr/sbin/nginx";
    if (access(nginx.c_str(), X_OK) != 0) {
        GTEST_SKIP() << nginx << " is not installed (Debian package nginx-light); the syntax "
                     << "check of the cleaned configuration needs it";
    }
    TempDir tmp;
    const std::string conf = tmp.path() + "/test.conf";
    ::testing::internal::CaptureStdout();
    bool ok = CleanConfig().clean(std::string(OSTREL_E2E_DIR) + "/clean_realistic/in/nginx.conf",
                                  conf, tmp.path() + "/");
    ::testing::internal::GetCapturedStdout();
    ASSERT_TRUE(ok);

    const std::string command = nginx + " -t -p '" + tmp.path() + "/' -c '" + conf + "' -e '" +
                                tmp.path() + "/startup.log' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(nullptr, pipe);
    std::string output;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status)) << output;
    EXPECT_EQ(0, WEXITSTATUS(status)) << output;
    EXPECT_NE(std::string::npos, output.find("test is successful")) << output;
    EXPECT_TRUE(fileExists(tmp.path() + "/error_log.log"));
    EXPECT_TRUE(fileExists(tmp.path() + "/access_log.log"));
}
