#include "checkers/NginxSyntax.h"

#include <gtest/gtest.h>

#include <string>

TEST(NginxSyntaxTest, ServiceName) {
    EXPECT_EQ("service \"PAY:pay-gate.main\"",
              NginxSyntax::serviceName(
                  Json::parse(R"({"subsystem": "PAY", "deploymentUnit": "pay-gate.main"})")));
    EXPECT_EQ("service \"?:?\"", NginxSyntax::serviceName(Json::parse(R"({"subsystem": 1})")));
    EXPECT_EQ("service \"?:?\"", NginxSyntax::serviceName(Json::array()));
}

TEST(NginxSyntaxTest, NamesAndHosts) {
    EXPECT_EQ("", NginxSyntax::nameProblem("Pay-gate.main_2"));
    EXPECT_EQ("", NginxSyntax::nameProblem(""));
    for (const std::string bad : {"pay gate", "pay$x", "pay/x", "pay\xc3\xa9", "a:b"}) {
        EXPECT_EQ("may hold only ASCII letters, digits, \".\", \"-\" and \"_\"",
                  NginxSyntax::nameProblem(bad))
            << bad;
    }
    for (const std::string good : {"127.0.0.1", "localhost", "node-1.dc_a", "[::1]", "h:80"}) {
        EXPECT_EQ("", NginxSyntax::hostProblem(good)) << good;
    }
    EXPECT_EQ("must not be empty", NginxSyntax::hostProblem(""));
    EXPECT_NE("", NginxSyntax::hostProblem("a b"));
    EXPECT_NE("", NginxSyntax::hostProblem("a;b"));
    EXPECT_NE("", NginxSyntax::hostProblem("h\xc3\xa9"));
}

TEST(NginxSyntaxTest, WordsAndQuotedText) {
    EXPECT_EQ("", NginxSyntax::wordProblem("/pay/v1/$1?x=\xc3\xa9"));
    EXPECT_EQ("must not be empty", NginxSyntax::wordProblem(""));
    EXPECT_EQ("must not contain blanks or control characters", NginxSyntax::wordProblem("a b"));
    EXPECT_EQ("must not contain blanks or control characters", NginxSyntax::wordProblem("a\tb"));
    EXPECT_EQ("must not contain ; { } \" or '", NginxSyntax::wordProblem("a;"));
    EXPECT_EQ("must not contain ; { } \" or '", NginxSyntax::wordProblem("^/v\\d{2}"));
    EXPECT_EQ("must not end with a backslash", NginxSyntax::wordProblem("/a\\"));
    EXPECT_EQ("must not begin with #", NginxSyntax::wordProblem("#x"));

    EXPECT_EQ("", NginxSyntax::wordsProblem("$uri $uri/ =404"));
    EXPECT_EQ("must be words separated by single blanks", NginxSyntax::wordsProblem("a  b"));
    EXPECT_EQ("must be words separated by single blanks", NginxSyntax::wordsProblem("a "));

    EXPECT_EQ("", NginxSyntax::quotedProblem("it's \xc3\xa9 ok", '"'));
    EXPECT_EQ("must not contain the character '", NginxSyntax::quotedProblem("it's", '\''));
    EXPECT_EQ("must not contain the character \"", NginxSyntax::quotedProblem("a\"b", '"'));
    EXPECT_EQ("must not end with a backslash", NginxSyntax::quotedProblem("a\\", '"'));
    EXPECT_EQ("", NginxSyntax::quotedProblem("^R\\.[0-9]+$", '"'));
}

TEST(NginxSyntaxTest, Variables) {
    for (const std::string good : {"plain", "$uri", "${uri}x", "$1$9", "$http_zul_Release",
                                   "$cookie_x/$arg_y", "$gen_zul_rest_id", "$REQUEST_URI"}) {
        EXPECT_EQ("", NginxSyntax::variablesProblem(good)) << good;
    }
    EXPECT_EQ("refers to the variable $foo, which nginx does not define",
              NginxSyntax::variablesProblem("a$foo"));
    EXPECT_EQ("refers to the variable $0, which nginx does not define",
              NginxSyntax::variablesProblem("$0"));
    EXPECT_EQ("refers to the variable $http_, which nginx does not define",
              NginxSyntax::variablesProblem("$http_"));
    EXPECT_EQ("has a \"$\" that starts no variable name", NginxSyntax::variablesProblem("5$"));
    EXPECT_EQ("has a \"${\" without its closing \"}\"", NginxSyntax::variablesProblem("${uri"));
    EXPECT_EQ("has an invalid variable name in \"${...}\"", NginxSyntax::variablesProblem("${}"));
}

TEST(NginxSyntaxTest, RegularExpressions) {
    for (const std::string good : {"^/api/(v[0-9]+)/(.*)$", "^/a(?:b|c)*?$", "(?i)^/x", "[]a]+",
                                   "[^]]", "\\(", "a++", "(?<name>x)"}) {
        EXPECT_EQ("", NginxSyntax::regexProblem(good)) << good;
    }
    EXPECT_EQ("has a \"(\" without its closing \")\"", NginxSyntax::regexProblem("^/(a"));
    EXPECT_EQ("has an unmatched \")\"", NginxSyntax::regexProblem("a)"));
    EXPECT_EQ("has a \"[\" without its closing \"]\"", NginxSyntax::regexProblem("[a"));
    EXPECT_EQ("ends with a backslash", NginxSyntax::regexProblem("a\\"));
    for (const std::string bad : {"*a", "(+a)", "a|?b", "a***", "^*"}) {
        EXPECT_EQ("has a quantifier that follows nothing it could repeat",
                  NginxSyntax::regexProblem(bad))
            << bad;
    }
}

TEST(NginxSyntaxTest, LocationsAndTheirKeys) {
    for (const std::string good : {"/api/", "= /shop/ping", "=/x", "~ ^/a(b)$", "~* \\.png$",
                                   "^~ /static/", "@fallback", "~^/x"}) {
        EXPECT_EQ("", NginxSyntax::locationProblem(good)) << good;
    }
    EXPECT_EQ(
        "must be a path, or one of the modifiers =, ~, ~*, ^~ followed by one blank and a "
        "path",
        NginxSyntax::locationProblem("/a /b"));
    EXPECT_EQ("must not contain blanks or control characters",
              NginxSyntax::locationProblem("=  /a"));
    EXPECT_EQ("must not contain ; { } \" or '", NginxSyntax::locationProblem("/a{"));
    EXPECT_EQ("is a regular expression that has a \"(\" without its closing \")\"",
              NginxSyntax::locationProblem("~ ^/(a"));
    EXPECT_EQ("is a regular expression that has a \"(\" without its closing \")\"",
              NginxSyntax::locationProblem("~*(a"));

    EXPECT_EQ("/a", NginxSyntax::locationKey("/a"));
    EXPECT_EQ("/a", NginxSyntax::locationKey("^~ /a"));
    EXPECT_EQ("/a", NginxSyntax::locationKey("^~/a"));
    EXPECT_EQ("=/a", NginxSyntax::locationKey("= /a"));
    EXPECT_EQ("=/a", NginxSyntax::locationKey("=/a"));
    EXPECT_EQ("", NginxSyntax::locationKey("~ /a"));
    EXPECT_EQ("", NginxSyntax::locationKey("@a"));
    EXPECT_TRUE(NginxSyntax::isNamedLocation("@a"));
    EXPECT_FALSE(NginxSyntax::isNamedLocation("/@a"));
}

TEST(NginxSyntaxTest, ExpiresAndCodes) {
    for (const std::string good : {"7d", "1h30m", "-1", "epoch", "max", "off", "modified 1d",
                                   "@15h", "30", "1y2M3w4d5h6m7s", "1h30"}) {
        EXPECT_EQ("", NginxSyntax::expiresProblem(good)) << good;
    }
    for (const std::string bad : {"abc", "", "1h 30m", "30m1h", "7dd", "d", "500ms"}) {
        EXPECT_EQ("must be epoch, max, off or a time such as 7d or 1h30m",
                  NginxSyntax::expiresProblem(bad))
            << bad;
    }
    EXPECT_TRUE(NginxSyntax::isStatusCode("0"));
    EXPECT_TRUE(NginxSyntax::isStatusCode("999"));
    EXPECT_FALSE(NginxSyntax::isStatusCode("1000"));
    EXPECT_FALSE(NginxSyntax::isStatusCode(""));
    EXPECT_FALSE(NginxSyntax::isStatusCode("-1"));
    EXPECT_FALSE(NginxSyntax::isStatusCode("30x"));
    EXPECT_EQ("abc\xc3\x89", NginxSyntax::lowerAscii("AbC\xc3\x89"));
}
