#include "checkers/NginxChecker.h"

#include <gtest/gtest.h>

#include <string>

#include "checkers/NginxNamesChecker.h"

using json = Json;

namespace {

const std::string k_in = " in service \"PAY:pay-gate.main\"";

json service(const std::string& members) {
    return json::parse(R"({"subsystem": "PAY", "deploymentUnit": "pay-gate.main")" +
                       std::string(members.empty() ? "" : ", ") + members + "}");
}

// The messages of the failed entries, one per line.
std::string messagesOf(const CheckResult& result) {
    std::string messages;
    for (const auto& line : {result.getErrorMessage()}) {
        std::string::size_type start = 0;
        while (start < line.size()) {
            const std::string::size_type end = line.find('\n', start);
            const std::string one = line.substr(start, end - start);
            if (!one.empty()) {
                messages += one + "\n";
            }
            start = end + 1;
        }
    }
    return messages;
}

std::string check(const json& value) {
    return messagesOf(NginxChecker(value).check());
}

std::string location(const std::string& members) {
    return check(service(R"("apiVersions": [{"locations": [{)" + members + "}]}]"));
}

}  // namespace

TEST(NginxCheckerTest, ValidServicePasses) {
    json value = service(R"json(
        "stickyOptions": {"type": "consistent_hash", "stickyCookie": "pay-session.x"},
        "quotas": [{"type": "rpsbyconsumer", "subsystem": "SHOP", "deploymentUnit": "shop-front",
                    "rpslimit": 1}, {"type": "rpsdefault", "rpslimit": 20}],
        "routing": [{"consumer": {"release": "R1"}, "routes": [{"groupName": "A"}]},
                    {"consumer": {"release": "r1", "deploymentUnit": "x"}, "routes": []},
                    {"consumer": {"release": "~^R20(24|25)"}, "routes": []},
                    {"default": true, "routes": [{"groupName": "A"}]}],
        "apiVersions": [{"nodeGroups": [
            {"groupName": "A", "keepalive": 65535, "protocols": {"http": {"port": 1}, "https": {"port": 65535}},
             "dataCenters": [{"name": "n", "nodes": ["127.0.0.1", "[::1]", "localhost"]}]},
            {"groupName": "B", "openshiftRoute": "route.local"}],
          "locations": [
            {"url": "/a/", "proxyPass": "/b/$1?x=$arg_x", "rewrite": {"regex": "^/a/(.*)$",
             "replacement": "/$1", "flag": "break"}, "headers": [{"name": "X-A", "value": "é $host"}]},
            {"url": "= /ping", "return": {"code": "200", "body": "pong $request_id"}},
            {"url": "= /old", "return": {"code": "301"}},
            {"url": "^~ /s/", "alias": "/var/www/", "index": "index.html index.htm",
             "try_files": "$uri $uri/ =404", "expires": "7d", "proxy_cache_revalidate": "on",
             "proxy_cache_bypass": "$cookie_nocache $arg_nocache"},
            {"url": "~* \\.(png|jpg)$"}]}])json");
    EXPECT_EQ("", check(value));
}

TEST(NginxCheckerTest, ServiceAndConsumerNames) {
    EXPECT_EQ(
        "\"subsystem\" may hold only ASCII letters, digits, \".\", \"-\" and \"_\" in "
        "service \"P Y:pay gate\"\n"
        "\"deploymentUnit\" may hold only ASCII letters, digits, \".\", \"-\" and \"_\" in "
        "service \"P Y:pay gate\"\n",
        check(json::parse(R"({"subsystem": "P Y", "deploymentUnit": "pay gate"})")));
    EXPECT_EQ(
        "\"quota.deploymentUnit\" \"shop/front\" may hold only ASCII letters, digits, "
        "\".\", \"-\" and \"_\"" +
            k_in + "\n",
        check(service(R"("quotas": [{"type": "rpsbyconsumer", "subsystem": "SHOP",
                  "deploymentUnit": "shop/front", "rpslimit": 5}])")));
}

TEST(NginxCheckerTest, Quotas) {
    EXPECT_EQ("\"rpslimit\" must be >= 1" + k_in + "\n" + "\"rpslimit\" must be >= 1" + k_in + "\n",
              check(service(R"("quotas": [{"type": "rpsdefault", "rpslimit": 0},
                  {"type": "rpsbyconsumer", "subsystem": "A", "deploymentUnit": "b", "rpslimit": 0}])")));
    EXPECT_EQ("\"quota.subsystem\" and \"quota.deploymentUnit\" must not both be empty" + k_in +
                  "\n" +
                  "consumer \"shopFRONT\" has more than one \"rpsbyconsumer\" quota "
                  "(letter case aside)" +
                  k_in + "\n" +
                  "consumers \"A_Bc\" and \"AB_c\" give the same zone name "
                  "PAY_pay_gate_main_A_B_c" +
                  k_in + "\n",
              check(service(R"("quotas": [
                  {"type": "rpsbyconsumer", "subsystem": "", "deploymentUnit": "", "rpslimit": 1},
                  {"type": "rpsbyconsumer", "subsystem": "SHOP", "deploymentUnit": "front", "rpslimit": 1},
                  {"type": "rpsbyconsumer", "subsystem": "shop", "deploymentUnit": "FRONT", "rpslimit": 1},
                  {"type": "rpsbyconsumer", "subsystem": "A_B", "deploymentUnit": "c", "rpslimit": 1},
                  {"type": "rpsbyconsumer", "subsystem": "A", "deploymentUnit": "B_c", "rpslimit": 1},
                  {"type": "rpsdefault", "rpslimit": 1}])")));
}

TEST(NginxCheckerTest, NodeGroups) {
    const std::string group = " of node group \"A\"" + k_in + "\n";
    EXPECT_EQ("\"protocols.http.port\" must be from 1 to 65535" + group +
                  "\"protocols.https.port\" must be from 1 to 65535" + group +
                  "\"keepalive\" must be from 1 to 65535" + group +
                  "\"dataCenters\" must be not empty array" + group,
              check(service(R"("apiVersions": [{"nodeGroups": [{"groupName": "A",
                  "protocols": {"http": {"port": 0}, "https": {"port": 65536}}, "keepalive": 0,
                  "dataCenters": []}]}])")));
    EXPECT_EQ(
        "\"keepalive\" must be from 1 to 65535" + group +
            "node \"10.0.0.1 10.0.0.2\" is not a host name or address (ASCII letters, "
            "digits, \".\", \"-\", \"_\", \":\", \"[\" and \"]\")" +
            group + "node \"\" must not be empty" + group,
        check(service(R"("apiVersions": [{"nodeGroups": [{"groupName": "A", "keepalive": 65536,
                  "dataCenters": [{"name": "x", "nodes": ["10.0.0.1 10.0.0.2", 7, ""]}]}]}])")));
    EXPECT_EQ(
        "\"openshiftRoute\" \"r;x\" is not a host name or address (ASCII letters, digits, "
        "\".\", \"-\", \"_\", \":\", \"[\" and \"]\")" +
            group,
        check(service(R"("apiVersions": [{"nodeGroups": [{"groupName": "A",
                  "openshiftRoute": "r;x", "dataCenters": []}]}])")));
}

TEST(NginxCheckerTest, CookieNames) {
    EXPECT_EQ(
        "\"stickyOptions.stickyCookie\" \"\" must not be empty" + k_in + "\n",
        check(service(R"("stickyOptions": {"type": "consistent_hash", "stickyCookie": ""})")));
    EXPECT_EQ(
        "\"stickyOptions.stickyCookie\" \"a b\" may hold only ASCII letters, digits, "
        "\".\", \"-\" and \"_\"" +
            k_in + "\n",
        check(service(R"("stickyOptions": {"type": "sticky", "stickyCookie": "a b"})")));
    EXPECT_EQ(
        "\"stickyCookie\" \"a(b\" may hold only ASCII letters, digits, \".\", \"-\" and "
        "\"_\"" +
            k_in + "\n",
        check(service(R"("sticky": true, "stickyCookie": "a(b")")));
    // Not written: ip_hash ignores the cookie, a false "sticky" writes no balancing line.
    EXPECT_EQ("", check(service(R"("stickyOptions": {"type": "ip_hash", "stickyCookie": ""})")));
    EXPECT_EQ("", check(service(R"("sticky": false, "stickyCookie": "")")));
}

TEST(NginxCheckerTest, Releases) {
    const std::string routes = R"(, "routes": [{"groupName": "A"}]})";
    auto routing = [&](const std::string& releases) {
        return check(service(R"("routing": [)" + releases + "]"));
    };
    EXPECT_EQ("\"consumer.release\" \"R\"1\" must not contain the character \"" + k_in + "\n",
              routing(R"({"consumer": {"release": "R\"1"})" + routes));
    EXPECT_EQ("\"consumer.release\" \"R\\\" must not end with a backslash" + k_in + "\n",
              routing(R"({"consumer": {"release": "R\\"})" + routes));
    EXPECT_EQ(
        "\"consumer.release\" \"default\" is a word that nginx's map reads as its own "
        "parameter" +
            k_in + "\n" +
            "\"consumer.release\" \"include\" is a word that nginx's map reads as its own "
            "parameter" +
            k_in + "\n",
        routing(R"({"consumer": {"release": "default"})" + routes +
                R"(, {"consumer": {"release": "include"})" + routes));
    EXPECT_EQ(
        "\"consumer.release\" \"~(R\" is a regular expression that has a \"(\" without "
        "its closing \")\"" +
            k_in + "\n",
        routing(R"({"consumer": {"release": "~(R"})" + routes));
    EXPECT_EQ(
        "\"consumer.release\" \"r1\" is routed more than once (letter case aside)" + k_in + "\n",
        routing(R"({"consumer": {"release": "R1"})" + routes +
                R"(, {"consumer": {"release": "r1"})" + routes));
    // Entries that give no map line are not compared.
    EXPECT_EQ("", routing(R"({"consumer": {"release": "R1"})" + routes +
                          R"(, {"consumer": {"release": "R1", "deploymentUnit": "d"})" + routes +
                          R"(, {"apiVersion": 1, "consumer": {"release": "R1"})" + routes +
                          R"(, {"default": false, "consumer": {"release": "R1"})" + routes));
}

TEST(NginxCheckerTest, LocationUrlsAndReturns) {
    EXPECT_EQ(
        "\"locations[i].url\" \"/a b\" must be a path, or one of the modifiers =, ~, ~*, "
        "^~ followed by one blank and a path" +
            k_in + "\n",
        location(R"("url": "/a b")"));
    EXPECT_EQ("\"location[i].return.code\" \"1000\" must be a number from 0 to 999" + k_in + "\n" +
                  "\"location[i].return.body\" \"it's\" must not contain the character '" + k_in +
                  "\n",
              location(R"("url": "/a", "return": {"code": "1000", "body": "it's"})"));
    EXPECT_EQ("\"location[i].return.code\" \"\" must be a number from 0 to 999" + k_in + "\n" +
                  "\"location[i].return.body\" \"$foo\" refers to the variable $foo, which nginx "
                  "does not define" +
                  k_in + "\n",
              location(R"("url": "/a", "return": {"code": "", "body": "$foo"})"));
    // Without a body no return line, and no header lines, are written.
    EXPECT_EQ("", location(R"("url": "/a", "return": {"code": "x"},
                               "headers": [{"name": "a b", "value": "\""}])"));
}

TEST(NginxCheckerTest, AliasLocations) {
    EXPECT_EQ("\"location[i].alias\" cannot be used in the named location \"@a\"" + k_in + "\n",
              location(R"("url": "@a", "alias": "/x/")"));
    EXPECT_EQ("\"location[i].alias\" \"/x y/\" must not contain blanks or control characters" +
                  k_in + "\n" + "\"location[i].index\" \"\" must not be empty" + k_in + "\n" +
                  "\"location[i].try_files\" \"$uri\" must name at least two alternatives" + k_in +
                  "\n" +
                  "\"location[i].proxy_cache_bypass\" \"$nocache\" refers to the "
                  "variable $nocache, which nginx does not define" +
                  k_in + "\n" + "\"location[i].proxy_cache_revalidate\" \"yes\" must be on or off" +
                  k_in + "\n" +
                  "\"location[i].expires\" \"7 days\" must be epoch, max, off or a time "
                  "such as 7d or 1h30m" +
                  k_in + "\n",
              location(R"("url": "/a", "alias": "/x y/", "index": "", "try_files": "$uri",
                          "proxy_cache_bypass": "$nocache", "proxy_cache_revalidate": "yes",
                          "expires": "7 days")"));
    EXPECT_EQ(
        "\"location[i].try_files\" \"$uri =4o4\" must end in a code from =0 to =999 when "
        "it ends in \"=\"" +
            k_in + "\n",
        location(R"("url": "/a", "alias": "/x/", "try_files": "$uri =4o4")"));
    // These members are written for alias locations only.
    EXPECT_EQ("", location(R"("url": "/a", "try_files": "$uri", "expires": "x")"));
}

TEST(NginxCheckerTest, ProxyLocationsAndHeaders) {
    EXPECT_EQ("\"location[i].rewrite.regex\" \"^/(a\" has a \"(\" without its closing \")\"" +
                  k_in + "\n" +
                  "\"location[i].rewrite.replacement\" \"/$x\" refers to the variable $x, which "
                  "nginx does not define" +
                  k_in + "\n" +
                  "\"location[i].rewrite.flag\" \"stop\" must be last, break, redirect or "
                  "permanent" +
                  k_in + "\n" +
                  "\"location[i].proxyPass\" \"pay\" must not begin with a letter, digit or "
                  "\"_\"" +
                  k_in + "\n" +
                  "\"location[i].headers[j].name\" \"X A\" must be an HTTP header name" + k_in +
                  "\n" +
                  "\"location[i].headers[j].value\" \"a\"b\" must not contain the "
                  "character \"" +
                  k_in + "\n",
              location(R"("url": "/a", "proxyPass": "pay",
                          "rewrite": {"regex": "^/(a", "replacement": "/$x", "flag": "stop"},
                          "headers": [{"name": "X A", "value": "a\"b"}, {"name": "X-B"}])"));
    EXPECT_EQ("\"location[i].proxyPass\" \"/a;b\" must not contain ; { } \" or '" + k_in + "\n",
              location(R"("url": "/a", "proxyPass": "/a;b")"));
}

TEST(NginxNamesCheckerTest, NamesThatTwoServicesMustNotShare) {
    json document = json::parse(R"({"protocols": {"http": {"port": 0},
                                       "https": {"port": 443, "cn": "gw.$tld"}},
        "services": [
        {"subsystem": "A", "deploymentUnit": "x.y", "quotas": [],
         "apiVersions": [{"nodeGroups": [{"groupName": "G"}], "locations": [{"url": "/a"}]}]},
        {"subsystem": "B", "deploymentUnit": "x-y",
         "apiVersions": [{"locations": [{"url": "^~ /a"}, {"url": "= /a"}, {"url": "~ /a"}]}]},
        {"subsystem": "A_x", "deploymentUnit": "y", "quotas": [],
         "apiVersions": [{"nodeGroups": [{"groupName": "https_g"}]}]},
        {"subsystem": "C", "deploymentUnit": "x", "apiVersions": [{"nodeGroups": [{"groupName": "y.https-g"}]}]}
        ]})");
    EXPECT_EQ(
        "\"protocols.http.port\" must be from 1 to 65535\n"
        "\"protocols.https.cn\" \"gw.$tld\" refers to the variable $tld, which nginx does "
        "not define\n"
        "\"deploymentUnit\" \"x.y\" of service \"A:x.y\" and \"x-y\" of service \"B:x-y\" "
        "give the same nginx name x_y\n"
        "upstream name x_y_https_g of node group \"y.https-g\" of service \"C:x\" is also "
        "the name of another upstream file, x.y.g\n"
        "zone A_x_y_default_req_zone of the quotas of service \"A_x:y\" is also a zone of "
        "service \"A:x.y\"\n"
        "\"locations[i].url\" \"^~ /a\" of service \"B:x-y\" repeats a location of service "
        "\"A:x.y\"\n",
        messagesOf(NginxNamesChecker(document).check()));
}

TEST(NginxNamesCheckerTest, FilesThatReplaceEachOtherDoNotClash) {
    // The same deployment unit writes the same files: only the last service's remain.
    json document = json::parse(R"({"services": [
        {"subsystem": "A", "deploymentUnit": "d", "quotas": [],
         "apiVersions": [{"nodeGroups": [{"groupName": "G"}], "locations": [{"url": "/a"}]}]},
        {"subsystem": "A", "deploymentUnit": "d", "usedGateways": ["x"], "quotas": [],
         "apiVersions": [{"nodeGroups": [{"groupName": "g"}], "locations": [{"url": "/a"}]}]}]})");
    EXPECT_EQ("", messagesOf(NginxNamesChecker(document).check()));
}
