#include <gtest/gtest.h>

#include <string>

#include "checkers/NginxChecker.h"
#include "checkers/NginxSyntax.h"

namespace {

TEST(NginxSyntaxTest, QuotedWordsAreLeftAloneWhenTheyCloseWhereTheyEnd) {
    for (const char* good : {"\"^/v\\d{2}/\"", "'^/v\\d{2};x'", "\"a b\"", "\"a\\\"b\"", "\"\""}) {
        EXPECT_EQ("", NginxSyntax::tokenProblem(good)) << good;
    }
    // Not quoted: the rules of a bare word.
    EXPECT_EQ("must not contain ; { } \" or '", NginxSyntax::tokenProblem("^/v\\d{2}/"));
    EXPECT_EQ("must not contain ; { } \" or '", NginxSyntax::tokenProblem("^/v\"{2}\""));
    EXPECT_EQ("must close the quote it opens", NginxSyntax::tokenProblem("\"^/v{2}/"));
    // The backslash escapes the closing quote, so the quote stays open.
    EXPECT_EQ("must close the quote it opens", NginxSyntax::tokenProblem("\"^/v{2}\\\""));
    EXPECT_EQ("must end where its quoted part ends", NginxSyntax::tokenProblem("\"^/v\"; x"));
    EXPECT_EQ("must end where its quoted part ends", NginxSyntax::tokenProblem("'a'b'"));
    EXPECT_EQ("must not contain control characters", NginxSyntax::tokenProblem("\"a\nb\""));
    EXPECT_EQ("^/v\\d{2}/", NginxSyntax::unquoted("\"^/v\\d{2}/\""));
    EXPECT_EQ("'a\"", NginxSyntax::unquoted("'a\""));
}

TEST(NginxSyntaxTest, RegularExpressionLocationsMayQuoteTheirPath) {
    EXPECT_EQ("", NginxSyntax::locationProblem("~ \"^/v\\d{2}/\""));
    EXPECT_EQ("", NginxSyntax::locationProblem("~* '^/api/v\\d{1,3}/'"));
    EXPECT_EQ("is a regular expression that has a \"(\" without its closing \")\"",
              NginxSyntax::locationProblem("~ \"^/(v\\d{2}/\""));
    EXPECT_EQ("must close the quote it opens", NginxSyntax::locationProblem("~ \"^/v\\d{2}/"));
    // Without the blank the quote would be part of the word, where nginx does not read it.
    EXPECT_EQ("must not contain ; { } \" or '", NginxSyntax::locationProblem("~\"^/v\\d{2}/\""));
}

TEST(NginxCheckerTest, QuotedRegularExpressionsPass) {
    const Json service = Json::parse(R"({"subsystem":"PAY",
        "deploymentUnit":"pay","apiVersions":[{"locations":[
            {"url": "~ \"^/v\\d{2}/\"", "proxyPass": "/"},
            {"url": "/old/", "rewrite": {"regex": "\"^/old/v\\d{2}/(.*)$\"",
             "replacement": "/$1", "flag": "break"}}]}]})");
    EXPECT_TRUE(NginxChecker(service).check().getIsOk())
        << NginxChecker(service).check().getErrorMessage();

    const Json broken = Json::parse(R"({"subsystem":"PAY",
        "deploymentUnit":"pay","apiVersions":[{"locations":[
            {"url": "/old/", "rewrite": {"regex": "\"^/old/\"{2}",
             "replacement": "/", "flag": "break"}}]}]})");
    EXPECT_EQ("\"location[i].rewrite.regex\" \"\"^/old/\"{2}\" must end where its quoted part "
              "ends in service \"PAY:pay\"\n",
              NginxChecker(broken).check().getErrorMessage());
}

}  // namespace
