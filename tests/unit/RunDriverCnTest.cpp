#include <gtest/gtest.h>

#include "cli/RunDriver.h"
#include "support/CoutCapture.h"

namespace {

// The log of getProtocols for an HTTPS section with the given cn (JSON text), or "accepted".
std::string cnLog(const std::string& cn) {
    testsupport::CoutCapture capture;
    bool isHttp = false;
    bool isHttps = false;
    std::string httpPort;
    std::string httpsPort;
    std::string httpsCn;
    const bool ok = getProtocols(
        InputJson("nodes.json",
                  Json::parse(R"({"protocols":{"https":{"port":443,"cn":)" + cn + "}}}")),
        isHttp, httpPort, isHttps, httpsPort, httpsCn);
    return ok ? "accepted" : capture.text();
}

TEST(RunDriverTest, HttpsCnMustStayInsideItsQuotes) {
    const std::string invalid = "ostrel v2.4.5 INPUT FILE ='nodes.json' NOT VALID: '";
    EXPECT_EQ("accepted", cnLog(R"("gw.example.local")"));
    EXPECT_EQ("accepted", cnLog(R"("")"));
    EXPECT_EQ(invalid + "\"protocols.https.cn\" must not contain control characters'\n",
              cnLog(R"("gw\n.local")"));
    EXPECT_EQ(invalid + "\"protocols.https.cn\" must not contain control characters'\n",
              cnLog(R"("gw\u0000")"));
    EXPECT_EQ(invalid + "\"protocols.https.cn\" must not contain the character \"'\n",
              cnLog(R"("gw\"; return 200; #")"));
    EXPECT_EQ(invalid + "\"protocols.https.cn\" must not end with a backslash'\n",
              cnLog(R"("gw\\")"));
}

}  // namespace
