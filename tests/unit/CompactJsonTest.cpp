#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "common/CompactJson.h"

namespace {

std::string libraryText(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

TEST(CompactJsonTest, GivesTheLibrarysCompactTextForEveryKindOfValue) {
    const std::vector<Json> values = {nullptr,
                                      true,
                                      false,
                                      0,
                                      -1,
                                      7u,
                                      std::numeric_limits<std::int64_t>::min(),
                                      std::numeric_limits<std::uint64_t>::max(),
                                      0.5,
                                      -0.0,
                                      1e300,
                                      3.0,
                                      "",
                                      "gw-main",
                                      "a b ~ /x?y=1&z",
                                      "quote\"d",
                                      "back\\slash",
                                      "tab\there",
                                      "new\nline",
                                      "del\x7f",
                                      "caf\xc3\xa9",
                                      "bad\xff utf-8",
                                      Json::array(),
                                      Json::object(),
                                      Json::parse(R"(["gw-a","gw-b"])"),
                                      Json::parse(R"(["a",1,-2,true,null])"),
                                      Json::parse(R"(["a","q\"",1])"),
                                      Json::parse(R"([["nested"],"x"])"),
                                      Json::parse(R"([0.25])"),
                                      Json::parse(R"({"k":"v","a":[1]})"),
                                      Json::parse(R"(["caf\u00e9"])")};
    for (const Json& value : values) {
        EXPECT_EQ(libraryText(value), compactJson(value)) << libraryText(value);
    }
}

TEST(CompactJsonTest, EveryPrintableAndControlByteAlone) {
    for (int c = 1; c < 256; ++c) {
        const Json text = std::string(1, static_cast<char>(c)) + "x";
        EXPECT_EQ(libraryText(text), compactJson(text)) << c;
        const Json list = Json::array({text, "y"});
        EXPECT_EQ(libraryText(list), compactJson(list)) << c;
    }
}

}  // namespace
