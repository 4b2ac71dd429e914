#include "common/Lexer.h"

#include <gtest/gtest.h>

#include "common/TypeConvertor.h"

TEST(LexerTest, ReplaceAllCopyCascadesUntilNoOccurrenceIsLeft) {
    Lexer lexer;
    EXPECT_EQ(lexer.replaceAllCopy("a______b__c", "__", "_"), "a_b_c");
    // A replacement that forms a new occurrence with the text before it is replaced again.
    EXPECT_EQ(lexer.replaceAllCopy("aaab", "ab", "b"), "b");
    EXPECT_EQ(lexer.replaceAllCopy("xyz", "q", "_"), "xyz");
    EXPECT_EQ(lexer.replaceAllCopy("", ".", "_"), "");
}

TEST(LexerTest, ReplaceAllCopyWithEmptyPatternReturnsTheText) {
    EXPECT_EQ(Lexer().replaceAllCopy("abc", "", "_"), "abc");
}

TEST(LexerTest, CleanDashesReplacesEveryDotAndDashAndKeepsCase) {
    Lexer lexer;
    EXPECT_EQ(lexer.cleanDashes("a.b-c"), "a_b_c");
    EXPECT_EQ(lexer.cleanDashes("A-.B"), "A__B");
    EXPECT_EQ(lexer.cleanDashes("a.-b"), "a__b");
    EXPECT_EQ(lexer.cleanDashes("pay-gate.main"), "pay_gate_main");
    EXPECT_EQ(lexer.cleanDashes("under_score space"), "under_score space");
}

TEST(LexerTest, CleanAllNotAlphabeticCharactersWritesOneUnderscorePerByte) {
    Lexer lexer;
    EXPECT_EQ(lexer.cleanAllNotAlphabeticCharacters("Group 1.a"), "Group_1_a");
    EXPECT_EQ(lexer.cleanAllNotAlphabeticCharacters(""), "");
    EXPECT_EQ(lexer.cleanAllNotAlphabeticCharacters("a-b_c"), "a_b_c");
    // "\xc3\xbc" is one letter in UTF-8 but two bytes.
    EXPECT_EQ(lexer.cleanAllNotAlphabeticCharacters("Gr\xc3\xbcn"), "Gr__n");
}

TEST(LexerTest, ToLowerChangesOnlyAsciiCapitals) {
    Lexer lexer;
    EXPECT_EQ(lexer.toLower("ABC-Def_9"), "abc-def_9");
    EXPECT_EQ(lexer.toLower("\xc3\x9cZ"), "\xc3\x9cz");
}

TEST(TypeConvertorTest, DecimalText) {
    TypeConvertor convertor;
    EXPECT_EQ(convertor.intToString(-5), "-5");
    EXPECT_EQ(convertor.intToString(0), "0");
    EXPECT_EQ(convertor.uint32_tToString(4294967295u), "4294967295");
}
