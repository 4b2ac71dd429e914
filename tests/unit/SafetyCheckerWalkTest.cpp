// The walk over every value of a service that looks for control characters: paths through
// empty member names, arrays of arrays and empty containers.
#include <gtest/gtest.h>

#include "checkers/SafetyChecker.h"

using json = Json;

TEST(SafetyCheckerWalkTest, PathsThroughEmptyNamesAndNestedArrays) {
    const json service = json::parse(R"({
        "": {"a": "x\u0001", "": ["\u0002"]},
        "b": [[], ["ok", "\u0003"], {}],
        "deploymentUnit": "d\u0004",
        "subsystem": "S"})");
    const CheckResult result = SafetyChecker(service).checkControlCharacters();
    EXPECT_EQ(result.getErrorMessage(),
              "\".[0]\" must not contain control characters in service \"S:d\\u0004\"\n"
              "\".a\" must not contain control characters in service \"S:d\\u0004\"\n"
              "\"b[1][1]\" must not contain control characters in service \"S:d\\u0004\"\n");
}
