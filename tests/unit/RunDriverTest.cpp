#include "cli/RunDriver.h"

#include <gtest/gtest.h>

#include "support/CoutCapture.h"
#include "support/TestSupport.h"

using json = Json;
using testsupport::CoutCapture;
using testsupport::TempDir;

namespace {

struct Protocols {
    bool ok = false;
    bool isHttp = true;
    std::string httpPort;
    bool isHttps = true;
    std::string httpsPort;
    std::string httpsCn;
    std::string log;
};

Protocols readProtocols(const char* nodesDocument) {
    Protocols p;
    CoutCapture capture;
    p.ok = getProtocols(InputJson("nodes.json", json::parse(nodesDocument)), p.isHttp, p.httpPort,
                        p.isHttps, p.httpsPort, p.httpsCn);
    p.log = capture.text();
    return p;
}

std::string notValidNodes(const std::string& message) {
    return "ostrel v2.4.5 INPUT FILE ='nodes.json' NOT VALID: '" + message + "'\n";
}

}  // namespace

TEST(RunDriverTest, SchemaVersionFromFile) {
    TempDir dir;
    std::string version = "keep";
    EXPECT_TRUE(
        getSchemaVersionFromFile(dir.write("a.json", R"({"schema_version":"2"})"), version));
    EXPECT_EQ(version, "2");
    // Without the member, and for documents that are not objects, the version is "0".
    EXPECT_TRUE(getSchemaVersionFromFile(dir.write("b.json", R"({"services":[]})"), version));
    EXPECT_EQ(version, "0");
    version = "keep";
    EXPECT_TRUE(
        getSchemaVersionFromFile(dir.write("c.json", R"([{"schema_version":"3"}])"), version));
    EXPECT_EQ(version, "0");
}

TEST(RunDriverTest, SchemaVersionFromUnusableFilesLeavesTheVersionAlone) {
    TempDir dir;
    std::string version = "keep";
    std::string problem;
    EXPECT_FALSE(getSchemaVersionFromFile(dir.path() + "/none", version, &problem));
    EXPECT_FALSE(getSchemaVersionFromFile(dir.write("e.json", ""), version, &problem));
    EXPECT_FALSE(
        getSchemaVersionFromFile(dir.write("bad.json", "{\"schema_version\":"), version, &problem));
    EXPECT_EQ(version, "keep");
    EXPECT_EQ(problem, "");

    EXPECT_FALSE(getSchemaVersionFromFile(dir.write("n.json", R"({"schema_version":3})"), version,
                                          &problem));
    EXPECT_EQ(version, "keep");
    EXPECT_EQ(problem, "\"schema_version\" must be string");
}

TEST(RunDriverTest, SchemaVersionAgreementIsExactText) {
    TempDir dir;
    ArgumentMap args{{"-s", dir.write("s.json", R"({"schema_version":"3"})")},
                     {"-r", dir.write("r.json", R"({"schema_version":"3.0"})")},
                     {"-n", dir.write("n.json", R"({"schema_version":"3"})")}};
    std::string version = "3";
    CoutCapture capture;
    EXPECT_FALSE(getSchemaVersion(args, version));
    EXPECT_EQ(capture.text(),
              "ostrel v2.4.5 ERROR: \"schema_version\" invalid: \n"
              "ostrel v2.4.5 ERROR: \"schema_version\" in routing.json:  3.0\n"
              "ostrel v2.4.5 ERROR: \"schema_version\" in nodes.json:    3\n"
              "ostrel v2.4.5 ERROR: \"schema_version\" in services.json: 3\n");
}

TEST(RunDriverTest, SchemaVersionSkipsFilesWithoutOne) {
    TempDir dir;
    const std::string empty = dir.write("empty.json", "");
    ArgumentMap args{{"-s", empty},
                     {"-r", dir.path() + "/none"},
                     {"-n", dir.write("n.json", R"({"schema_version":"2"})")},
                     {"-l", dir.write("l.json", R"({"schema_version":"2"})")}};
    std::string version = "3";
    EXPECT_TRUE(getSchemaVersion(args, version));
    EXPECT_EQ(version, "2");

    // No file gives a version: the default stays.
    ArgumentMap none{{"-s", empty}, {"-r", empty}, {"-n", empty}};
    version = "3";
    EXPECT_TRUE(getSchemaVersion(none, version));
    EXPECT_EQ(version, "3");
}

TEST(RunDriverTest, SchemaVersionThatIsNotAStringFailsForItsDocument) {
    TempDir dir;
    const std::string good = dir.write("g.json", R"({"schema_version":"3"})");
    ArgumentMap args{{"-s", good},
                     {"-r", good},
                     {"-n", good},
                     {"-l", dir.write("l.json", R"({"schema_version":null})")}};
    std::string version = "3";
    CoutCapture capture;
    EXPECT_FALSE(getSchemaVersion(args, version));
    EXPECT_EQ(capture.text(),
              "ostrel v2.4.5 INPUT FILE ='limits.json' NOT VALID: '\"schema_version\" must be "
              "string'\n");
}

TEST(RunDriverTest, ProtocolsBothAndSingle) {
    Protocols both = readProtocols(
        R"({"protocols":{"http":{"port":8080},"https":{"port":8443,"cn":"gw.local"}}})");
    EXPECT_TRUE(both.ok);
    EXPECT_EQ(both.log, "");
    EXPECT_TRUE(both.isHttp);
    EXPECT_EQ(both.httpPort, "8080");
    EXPECT_TRUE(both.isHttps);
    EXPECT_EQ(both.httpsPort, "8443");
    EXPECT_EQ(both.httpsCn, "gw.local");

    Protocols httpOnly = readProtocols(R"({"protocols":{"http":{"port":80}}})");
    EXPECT_TRUE(httpOnly.ok);
    EXPECT_TRUE(httpOnly.isHttp);
    EXPECT_FALSE(httpOnly.isHttps);

    Protocols httpsOnly = readProtocols(R"({"protocols":{"https":{"port":443,"cn":""}}})");
    EXPECT_TRUE(httpsOnly.ok);
    EXPECT_FALSE(httpsOnly.isHttp);
    EXPECT_EQ(httpsOnly.httpsPort, "443");
}

TEST(RunDriverTest, ProtocolPortsAreSignedIntegersWithFractionsDropped) {
    EXPECT_EQ(readProtocols(R"({"protocols":{"http":{"port":8080.9}}})").httpPort, "8080");
    EXPECT_EQ(readProtocols(R"({"protocols":{"http":{"port":-1}}})").httpPort, "-1");
    EXPECT_EQ(readProtocols(R"({"protocols":{"http":{"port":2147483647}}})").httpPort,
              "2147483647");

    for (const char* port : {"2147483648", "-2147483649", "1e20", "18446744073709551615"}) {
        Protocols p =
            readProtocols((std::string(R"({"protocols":{"http":{"port":)") + port + "}}}").c_str());
        EXPECT_FALSE(p.ok) << port;
        EXPECT_EQ(p.log, notValidNodes("\"protocols.http.port\" is out of range")) << port;
    }
}

TEST(RunDriverTest, ProtocolsMessages) {
    EXPECT_EQ(readProtocols(R"({})").log, notValidNodes("\"protocols\" section is not exists"));
    EXPECT_EQ(readProtocols(R"([])").log, notValidNodes("\"protocols\" section is not exists"));
    EXPECT_EQ(readProtocols(R"({"protocols":7})").log,
              notValidNodes("\"protocols.http\" and/or \"protocols.https\" are not exists"));
    EXPECT_EQ(readProtocols(R"({"protocols":{"http":null}})").log,
              notValidNodes("\"protocols.http.port\" is not exists"));
    EXPECT_EQ(readProtocols(R"({"protocols":{"http":{"port":true}}})").log,
              notValidNodes("\"protocols.http.port\" must be number"));
    EXPECT_EQ(readProtocols(R"({"protocols":{"http":{"port":80},"https":{"cn":"x"}}})").log,
              notValidNodes("\"protocols.https.port\" is not exists"));
    EXPECT_EQ(readProtocols(R"({"protocols":{"https":{"port":"443","cn":"x"}}})").log,
              notValidNodes("\"protocols.https.port\" must be number"));
    EXPECT_EQ(readProtocols(R"({"protocols":{"https":{"port":443,"cn":["x"]}}})").log,
              notValidNodes("\"protocols.https.cn\" must be string"));
    EXPECT_FALSE(readProtocols(R"({"protocols":{"https":{"port":443}}})").ok);
}

TEST(RunDriverTest, CallConfigGeneratorRejectsUnknownVersionsAndMissingProtocols) {
    InputData input(InputFlags(ArgumentMap{}), InputJson("services.json", json::parse("[1]")),
                    InputJson(), InputJson(), "out");
    for (const char* version : {"1", "3.0", " 3", ""}) {
        ResultBase result = callConfigGenerator(input, version);
        EXPECT_FALSE(result.getIsOk());
        EXPECT_EQ(result.getErrorMessage(), "finished: has ERRORS - incorrect schema_version");
    }
    CoutCapture capture;
    ResultBase result = callConfigGenerator(input, "3");
    EXPECT_FALSE(result.getIsOk());
    EXPECT_EQ(result.getErrorMessage(), "could not get protocols");
    EXPECT_EQ(result.getErrorFname(), "nodes.json");
    EXPECT_EQ(capture.text(), notValidNodes("\"protocols\" section is not exists"));
}
