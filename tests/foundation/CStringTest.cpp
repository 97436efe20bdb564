#include "foundation/CString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

TEST(CStringTest, ConstructionFormsGiveTheirTexts) {
    CString empty;
    ASSERT_NE(empty.Text(), nullptr);
    EXPECT_STREQ(empty.Text(), "");
    EXPECT_STREQ(CString(static_cast<const char*>(nullptr)).Text(), "");

    EXPECT_STREQ(CString('x', 0).Text(), "");
    EXPECT_STREQ(CString('x', 1).Text(), "x");
    EXPECT_STREQ(CString('x', 3).Text(), "xxx");
    EXPECT_STREQ(CString('x', -2).Text(), "");

    EXPECT_STREQ(CString(-42).Text(), "-42");
    EXPECT_STREQ(CString(0).Text(), "0");
    EXPECT_STREQ(CString(1234567890L).Text(), "1234567890");

    EXPECT_STREQ(CString("abcdef", 3).Text(), "abc");
    EXPECT_STREQ(CString("abcdef", 0).Text(), "");
    EXPECT_STREQ(CString("abcdef", -1).Text(), "");
    // A count past the terminator stops at the terminator instead of reading beyond the text.
    EXPECT_EQ(CString("ab", 50).Length(), 2);
}

TEST(CStringTest, LockedBufferIgnoresAssignmentAppendAndClear) {
    CString s("hello");
    char* buffer = s.LockBuffer(8);
    ASSERT_TRUE(s.IsLocked());
    EXPECT_STREQ(buffer, "hello");
    std::strcpy(buffer, "filled!");

    s = "other";
    s += "more";
    s += 'c';
    s.Clear();
    s.AppendItem("item", ",");
    EXPECT_STREQ(s.Text(), "filled!");

    s.LockBuffer(0);
    EXPECT_FALSE(s.IsLocked());
    EXPECT_EQ(s.Length(), 7);
    s = "works";
    EXPECT_STREQ(s.Text(), "works");
}

TEST(CStringTest, LockingShorterKeepsThePrefixAndUnlockMeasuresTheText) {
    CString s("abcdef");
    char* buffer = s.LockBuffer(3);
    EXPECT_STREQ(buffer, "abc");
    buffer[1] = '\0';
    s.LockBuffer(0);
    EXPECT_STREQ(s.Text(), "a");
    EXPECT_EQ(s.Length(), 1);
    s += "z";
    EXPECT_STREQ(s.Text(), "az");
}

TEST(CStringTest, CopyOfALockedStringIsAnOrdinaryString) {
    CString s("abc");
    s.LockBuffer(10);
    CString copy(s);
    EXPECT_FALSE(copy.IsLocked());
    EXPECT_EQ(copy.Length(), 3);
    CString moved(std::move(s));
    EXPECT_EQ(moved, "abc");
    copy = "changed";
    EXPECT_EQ(copy, "changed");
}

TEST(CStringTest, ItemListWithALeadingEmptyItem) {
    CString list;
    EXPECT_EQ(list.ItemCount(","), 0);

    list.AppendItem("", ",");
    EXPECT_STREQ(list.Text(), "");
    EXPECT_TRUE(list.HasSingleEmptyItem());
    EXPECT_EQ(list.ItemCount(","), 1);
    EXPECT_EQ(list.LocateItem("", ","), 0);
    EXPECT_EQ(list.LocateItem("a", ","), -1);

    list.AppendItem("b", ",");
    EXPECT_STREQ(list.Text(), ",b");
    EXPECT_FALSE(list.HasSingleEmptyItem());
    EXPECT_EQ(list.ItemCount(","), 2);
    EXPECT_EQ(list.Item(0, ","), "");
    EXPECT_EQ(list.Item(1, ","), "b");
}

TEST(CStringTest, AssignmentEndsTheSingleEmptyItemList) {
    CString list;
    list.AppendItem("", ",");
    list = "x";
    EXPECT_EQ(list.ItemCount(","), 1);
    EXPECT_EQ(list.LocateItem("", ","), -1);

    CString flagged;
    flagged.AppendItem("", ",");
    CString copy(flagged);
    EXPECT_EQ(copy.ItemCount(","), 1);
    flagged += "tail";
    EXPECT_FALSE(flagged.HasSingleEmptyItem());
}

TEST(CStringTest, ItemsComeFromTheWhiteTrimmedString) {
    CString list("  a, b ,c ");
    EXPECT_EQ(list.ItemCount(","), 3);
    EXPECT_EQ(list.Item(0, ","), "a");
    EXPECT_EQ(list.Item(1, ","), " b ");
    EXPECT_EQ(list.Item(2, ","), "c");
    EXPECT_EQ(list.Item(3, ","), "");
    EXPECT_EQ(list.Item(-1, ","), "");
    // Positions are in the trimmed string.
    EXPECT_EQ(list.LocateItem("a", ","), 0);
    EXPECT_EQ(list.LocateItem(" b ", ","), 2);
    EXPECT_EQ(list.LocateItem("c", ","), 6);
    EXPECT_EQ(list.LocateItem("b", ","), -1);
    EXPECT_TRUE(list.ContainsItem("c", ","));
    EXPECT_FALSE(list.ContainsItem("C", ","));
}

TEST(CStringTest, ItemListsWithLongSeparatorsAndOddOperands) {
    CString list("one::two::three");
    EXPECT_EQ(list.ItemCount("::"), 3);
    EXPECT_EQ(list.Item(2, "::"), "three");
    EXPECT_EQ(list.LocateItem("two", "::"), 5);

    EXPECT_EQ(list.ItemCount(""), 0);
    EXPECT_EQ(list.Item(0, ""), "one::two::three");
    EXPECT_EQ(list.Item(1, ""), "");
    EXPECT_EQ(CString(" \t\n").Item(0, ","), "");
    EXPECT_EQ(CString("").LocateItem("", ","), -1);
    // Carriage return is not white: it stays part of the last item.
    EXPECT_EQ(CString("a,b\r").Item(1, ","), "b\r");
}

TEST(CStringTest, BuildingAListItemByItem) {
    CString list;
    for (int i = 0; i < 1000; ++i) {
        list.AppendItem(CString(i), ",");
    }
    EXPECT_EQ(list.ItemCount(","), 1000);
    EXPECT_EQ(list.Item(999, ","), "999");
    EXPECT_EQ(list.LocateItem("10", ","), list.Find(",10,") + 1);
}

struct SearchCase {
    const char* text;
    const char* probe;
    int find;
    int count;
    bool startsWith;
    bool endsWith;
};

class CStringSearch : public ::testing::TestWithParam<SearchCase> {};

TEST_P(CStringSearch, FindCountAndAffixes) {
    const SearchCase& c = GetParam();
    CString text(c.text);
    EXPECT_EQ(text.Find(c.probe), c.find);
    EXPECT_EQ(text.CountOccurrences(c.probe), c.count);
    EXPECT_EQ(text.StartsWith(c.probe), c.startsWith);
    EXPECT_EQ(text.EndsWith(c.probe), c.endsWith);
}

INSTANTIATE_TEST_SUITE_P(Table, CStringSearch,
                         ::testing::Values(SearchCase{"a,b,c", ",", 1, 2, false, false},
                                           SearchCase{"abcabc", "abc", 0, 2, true, true},
                                           SearchCase{"aaaa", "aa", 0, 2, true, true},
                                           SearchCase{"abc", "", -1, 0, false, false},
                                           SearchCase{"", "a", -1, 0, false, false},
                                           SearchCase{"ab", "abc", -1, 0, false, false},
                                           SearchCase{"Abc", "a", -1, 0, false, false}));

TEST(CStringTest, NthOccurrenceCountsFromOneAndZeroMeansLast) {
    CString text("a,b,c");
    EXPECT_EQ(text.FindOccurrence(",", 1), 1);
    EXPECT_EQ(text.FindOccurrence(",", 2), 3);
    EXPECT_EQ(text.FindOccurrence(",", 0), 3);
    EXPECT_EQ(text.FindOccurrence(",", 3), -1);
    EXPECT_EQ(text.FindOccurrence(";", 0), -1);
    EXPECT_EQ(text.FindOccurrence("", 1), -1);
    EXPECT_EQ(CString("aaaa").FindOccurrence("aa", 2), 2);
}

TEST(CStringTest, LeftAndMidBounds) {
    CString text("abcdef");
    EXPECT_EQ(text.Left(0), "");
    EXPECT_EQ(text.Left(2), "ab");
    EXPECT_EQ(text.Left(6), "abcdef");
    EXPECT_EQ(text.Left(99), "abcdef");
    EXPECT_EQ(text.Left(-1), "abcdef");

    EXPECT_EQ(text.Mid(2), "cdef");
    EXPECT_EQ(text.Mid(2, 3), "cde");
    EXPECT_EQ(text.Mid(2, 99), "cdef");
    EXPECT_EQ(text.Mid(-4, 2), "ab");
    EXPECT_EQ(text.Mid(6), "");
    EXPECT_EQ(text.Mid(10, 1), "");
}

TEST(CStringTest, CaseConversionChangesTheStringAndReturnsACopy) {
    CString text("MiXed 1_");
    CString upper = text.MakeUpper();
    EXPECT_EQ(text, "MIXED 1_");
    EXPECT_EQ(upper, "MIXED 1_");
    text.MakeLowerAt(0);
    text.MakeLowerAt(99);
    EXPECT_EQ(text, "mIXED 1_");
    EXPECT_EQ(text.MakeLower(), "mixed 1_");
}

TEST(CStringTest, CaseInsensitiveCompareOrdersLikeLowerCase) {
    EXPECT_EQ(CString("ABC").CompareNoCase("abc"), 0);
    EXPECT_TRUE(CString("Ini").EqualsNoCase("INI"));
    EXPECT_LT(CString("abc").CompareNoCase("ABD"), 0);
    EXPECT_GT(CString("abcd").CompareNoCase("ABC"), 0);
    // Folding to lower case puts '_' (0x5F) before the letters.
    EXPECT_LT(CString("_").CompareNoCase("A"), 0);
    EXPECT_EQ(CString("").CompareNoCase(nullptr), 0);
}

TEST(CStringTest, EqualityIsByteExactAndNullIsEmpty) {
    EXPECT_TRUE(CString("a") == "a");
    EXPECT_TRUE(CString("a") != "A");
    EXPECT_TRUE(CString() == static_cast<const char*>(nullptr));
    EXPECT_TRUE(CString("ab") != CString("ab "));
}

TEST(CStringTest, NumberConversionsFollowAtoiRules) {
    EXPECT_EQ(CString("42abc").ToInt(), 42);
    EXPECT_EQ(CString("  -17").ToInt(), -17);
    EXPECT_EQ(CString("abc").ToInt(), 0);
    EXPECT_EQ(CString("").ToLong(), 0L);
    EXPECT_EQ(CString("+8").ToLong(), 8L);
    // Out-of-range texts saturate rather than overflow.
    EXPECT_EQ(CString("99999999999999999999999").ToInt(), INT_MAX);
    EXPECT_EQ(CString("-99999999999999999999999").ToLong(), LONG_MIN);
}

TEST(CStringTest, TrimUsesTheGivenSet) {
    CString text(" \t\na b\r\n ");
    EXPECT_EQ(text.Trim(), "a b\r");
    EXPECT_EQ(text.TrimLeft(), "a b\r\n ");
    EXPECT_EQ(text.TrimRight(), " \t\na b\r");
    EXPECT_EQ(CString("xxaxx").Trim("x"), "a");
    EXPECT_EQ(CString("xxx").Trim("x"), "");
    EXPECT_EQ(CString(" a ").Trim(""), " a ");
}

TEST(CStringTest, ConcatenationForms) {
    CString a("ab");
    EXPECT_EQ(a + CString("cd"), "abcd");
    EXPECT_EQ(a + "cd", "abcd");
    EXPECT_EQ(a + 'c', "abc");
    EXPECT_EQ("x" + a, "xab");
    EXPECT_EQ('x' + a, "xab");
    EXPECT_EQ(a, "ab");
    a += a;
    EXPECT_EQ(a, "abab");
    EXPECT_EQ(a.At(1), 'b');
    EXPECT_EQ(a.At(4), '\0');
    EXPECT_EQ(a.At(-1), '\0');
}

} // namespace
