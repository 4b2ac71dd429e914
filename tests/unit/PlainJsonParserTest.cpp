#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "cli/PlainJsonParser.h"
#include "common/Json.h"

namespace {

// Equal values of equal types at every level: the library's == takes 1 and 1u and 1.0 as
// equal, which would hide a number read into the wrong type.
::testing::AssertionResult sameValue(const Json& a, const Json& b, const std::string& at = "$") {
    if (a.type() != b.type()) {
        return ::testing::AssertionFailure() << at << ": " << a.type_name() << " " << a.dump()
                                             << " against " << b.type_name() << " " << b.dump();
    }
    if (a.is_object()) {
        if (a.size() != b.size()) {
            return ::testing::AssertionFailure() << at << ": object sizes differ";
        }
        for (auto left = a.begin(), right = b.begin(); left != a.end(); ++left, ++right) {
            if (left.key() != right.key()) {
                return ::testing::AssertionFailure()
                       << at << ": key " << left.key() << " against " << right.key();
            }
            auto inner = sameValue(*left, *right, at + "." + left.key());
            if (!inner) {
                return inner;
            }
        }
        return ::testing::AssertionSuccess();
    }
    if (a.is_array()) {
        if (a.size() != b.size()) {
            return ::testing::AssertionFailure() << at << ": array sizes differ";
        }
        for (std::size_t i = 0; i < a.size(); ++i) {
            auto inner = sameValue(a[i], b[i], at + "[" + std::to_string(i) + "]");
            if (!inner) {
                return inner;
            }
        }
        return ::testing::AssertionSuccess();
    }
    if (a.is_number_float()) {
        const double x = a.get<double>();
        const double y = b.get<double>();
        if (std::memcmp(&x, &y, sizeof x) != 0) {
            return ::testing::AssertionFailure() << at << ": " << x << " against " << y;
        }
        return ::testing::AssertionSuccess();
    }
    if (a != b) {
        return ::testing::AssertionFailure() << at << ": " << a.dump() << " against " << b.dump();
    }
    return ::testing::AssertionSuccess();
}

// Whatever the quick parser takes, the library takes too, to the same value; what it leaves,
// the library parses or rejects on its own.
::testing::AssertionResult agreesWithLibrary(const std::string& text, bool* taken = nullptr) {
    Json quick;
    const bool ok = parsePlainJson(text, 512, quick);
    if (taken != nullptr) {
        *taken = ok;
    }
    if (!ok) {
        return ::testing::AssertionSuccess();
    }
    Json library;
    try {
        library = Json::parse(text);
    } catch (const Json::exception& e) {
        return ::testing::AssertionFailure()
               << "taken, but the library rejects it: " << e.what() << "\n"
               << text;
    }
    auto same = sameValue(quick, library);
    if (!same) {
        return same << "\n" << text;
    }
    return ::testing::AssertionSuccess();
}

void expectTaken(const std::string& text) {
    bool taken = false;
    EXPECT_TRUE(agreesWithLibrary(text, &taken));
    EXPECT_TRUE(taken) << "left to the library: " << text;
}

void expectLeft(const std::string& text) {
    Json value;
    EXPECT_FALSE(parsePlainJson(text, 512, value)) << text;
}

TEST(PlainJsonParserTest, ReadsEveryKindOfValueAsTheLibraryDoes) {
    for (const char* text :
         {"{}", "[]", " \t\r\n{ \"a\" : [ 1 , -2 , 3.5 , true , false , null ] } \n", "\"x\"", "0",
          "-0", "-0.0", "1e2", "1E+2", "2.5e-3", "123456789012345678", "-123456789012345678",
          // Beyond 18 digits: the last that fit each integer type, and the first that do not.
          "18446744073709551615", "18446744073709551616", "-9223372036854775808",
          "-9223372036854775809", "1234567890123456789", "100000000000000000000000",
          "{\"k\":{\"k\":{\"k\":[[[]]]}}}", "[\"\",\"\\\"\\\\\\/\\b\\f\\n\\r\\t\"]",
          "[\"\\u0041\\u00e9\\u20AC\\ud83d\\ude00\\u0000\"]", "\"\x7f\"",
          "\"\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80\xed\x9f\xbf\xf4\x8f\xbf\xbf\"",
          // Of repeated keys the last value stays.
          "{\"a\":1,\"b\":2,\"a\":{\"c\":3}}"}) {
        expectTaken(text);
    }
    Json value;
    ASSERT_TRUE(parsePlainJson("{\"a\":1,\"b\":[2],\"a\":\"last\"}", 512, value));
    EXPECT_EQ("{\"a\":\"last\",\"b\":[2]}", value.dump());
    ASSERT_TRUE(parsePlainJson("[7,-7,7.0,18446744073709551616]", 512, value));
    EXPECT_TRUE(value[0].is_number_unsigned());
    EXPECT_TRUE(value[1].is_number_integer() && !value[1].is_number_unsigned());
    EXPECT_TRUE(value[2].is_number_float());
    EXPECT_TRUE(value[3].is_number_float());
}

TEST(PlainJsonParserTest, LeavesToTheLibraryWhatIsNotPlainJson) {
    for (const char* text : {"",
                             "  ",
                             "{",
                             "}",
                             "[1,]",
                             "{\"a\":1,}",
                             "{\"a\" 1}",
                             "{1:2}",
                             "[1 2]",
                             "01",
                             "-",
                             "1.",
                             ".5",
                             "1e",
                             "1e+",
                             "+1",
                             "tru",
                             "nul",
                             "True",
                             "[1]x",
                             "[1]]",
                             "\"a",
                             "'a'",
                             "\"a\tb\"",
                             "\"\\x\"",
                             "\"\\u12\"",
                             "\"\\u12G4\"",
                             "\"\\ud800\"",
                             "\"\\udc00\"",
                             "\"\\ud800\\u0041\"",
                             "\"\xc0\xaf\"",
                             "\"\xc3\"",
                             "\"\xe0\x80\x80\"",
                             "\"\xed\xa0\x80\"",
                             "\"\xf4\x90\x80\x80\"",
                             "\"\xf5\x80\x80\x80\"",
                             "\"\x80\"",
                             "\xef\xbb\xbf{}",
                             "1E400",
                             "-1e999",
                             "NaN",
                             "Infinity",
                             "[1]\n//"}) {
        expectLeft(text);
    }
    // A NUL byte ends the library's input; nothing after a value is taken here.
    expectLeft(std::string("{}\0{", 4));
    expectLeft(std::string("\"a\0b\"", 5));
    // Nesting beyond the limit is left to the loader's own check.
    Json value;
    EXPECT_TRUE(parsePlainJson(std::string(3, '[') + std::string(3, ']'), 3, value));
    EXPECT_FALSE(parsePlainJson(std::string(4, '[') + std::string(4, ']'), 3, value));
    EXPECT_FALSE(parsePlainJson("{\"a\":{\"b\":{\"c\":{}}}}", 3, value));
}

// Random documents written in every way JSON allows, and random damage to them: whatever the
// quick parser takes must be what the library makes of the same text.
class RandomDocuments {
public:
    explicit RandomDocuments(unsigned seed) : random(seed) {}

    std::string document() {
        std::string text;
        value(text, 0);
        return text;
    }

    std::string damaged(std::string text) {
        const int changes = 1 + pick(3);
        for (int i = 0; i < changes && !text.empty(); ++i) {
            const std::size_t at = static_cast<std::size_t>(pick(static_cast<int>(text.size())));
            static const char bytes[] = {'"', '\\', ',', ':', '[', ']',    '{',    '}',  '0',
                                         '-', 'e',  '.', ' ', 'u', '\x80', '\xed', '\0', 'x'};
            switch (pick(3)) {
                case 0:
                    text[at] = bytes[pick(sizeof bytes)];
                    break;
                case 1:
                    text.erase(at, 1);
                    break;
                default:
                    text.insert(at, 1, bytes[pick(sizeof bytes)]);
            }
        }
        return text;
    }

private:
    std::mt19937 random;

    int pick(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }

    void space(std::string& text) {
        static const char* const spaces[] = {"", "", "", " ", "\n  ", "\t", "\r\n"};
        text += spaces[pick(7)];
    }

    void string(std::string& text) {
        static const char* const pieces[] = {"a",
                                             "Zz",
                                             "svc-1",
                                             "/api/v1",
                                             "$host",
                                             " ",
                                             "\\\"",
                                             "\\\\",
                                             "\\/",
                                             "\\b",
                                             "\\n",
                                             "\\t",
                                             "\\u0041",
                                             "\\u00E9",
                                             "\\u20ac",
                                             "\\ud83d\\ude00",
                                             "\\u0000",
                                             "\xc3\xa9",
                                             "\xe2\x82\xac",
                                             "\xf0\x9f\x98\x80",
                                             "\x7f",
                                             "0123456789abcdef"};
        text += '"';
        const int length = pick(6);
        for (int i = 0; i < length; ++i) {
            text += pieces[pick(sizeof pieces / sizeof pieces[0])];
        }
        text += '"';
    }

    void number(std::string& text) {
        static const char* const numbers[] = {"0",
                                              "-0",
                                              "7",
                                              "-7",
                                              "42",
                                              "65535",
                                              "4294967296",
                                              "-2147483649",
                                              "999999999999999999",
                                              "-999999999999999999",
                                              "9223372036854775807",
                                              "9223372036854775808",
                                              "-9223372036854775808",
                                              "18446744073709551615",
                                              "18446744073709551616",
                                              "123456789012345678901234567890",
                                              "0.5",
                                              "-0.0",
                                              "1e0",
                                              "1E300",
                                              "-1e-400",
                                              "3.14159265358979323846",
                                              "2.5E+3",
                                              "1e-7"};
        text += numbers[pick(sizeof numbers / sizeof numbers[0])];
    }

    void value(std::string& text, int depth) {
        const int kind = depth > 4 ? 2 + pick(5) : pick(7);
        space(text);
        switch (kind) {
            case 0:
            case 1: {
                const bool object = kind == 0;
                text += object ? '{' : '[';
                const int size = pick(5);
                for (int i = 0; i < size; ++i) {
                    if (i > 0) {
                        text += ',';
                    }
                    if (object) {
                        space(text);
                        string(text);
                        space(text);
                        text += ':';
                    }
                    value(text, depth + 1);
                }
                space(text);
                text += object ? '}' : ']';
                break;
            }
            case 2:
            case 3:
                string(text);
                break;
            case 4:
                number(text);
                break;
            case 5:
                text += pick(2) == 0 ? "true" : "false";
                break;
            default:
                text += "null";
        }
        space(text);
    }
};

TEST(PlainJsonParserTest, AgreesWithTheLibraryOnRandomAndDamagedDocuments) {
    RandomDocuments documents(20261208);
    int damagedTaken = 0;
    for (int i = 0; i < 10000; ++i) {
        const std::string text = documents.document();
        expectTaken(text);
        bool taken = false;
        ASSERT_TRUE(agreesWithLibrary(documents.damaged(text), &taken));
        damagedTaken += taken ? 1 : 0;
    }
    // Some damage leaves valid JSON (a digit for a digit, a space more): those are compared too.
    EXPECT_GT(damagedTaken, 0);
}

}  // namespace
