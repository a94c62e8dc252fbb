// The caret value, the heading field's text and the heading search over
// line records.
#include <gtest/gtest.h>

#include <vector>

#include "view/core/LineText.h"

using namespace linetext;

TEST(CaretValue, RunsAroundTheCaretAndSelections) {
    struct Case {
        const char* window;
        long caret;
        const char* shown;
    };
    const Case cases[] = {
        {"1F 20", 2, "31"},                    // between 1F and a space
        {"00 8000 11", 5, "32768 (-32768)"},   // inside 8000
        {"80000000", 0, "2147483648 (-2147483648)"},
        {"80000000", 8, "2147483648 (-2147483648)"},
        {"123456789", 4, ""},                  // nine digits
        {"FF", 1, "255 (-1)"},
        {"00FF", 4, "255 (-1)"},
        {"7F", 2, "127"},
        {"0", 0, "0"},
        {"800000", 3, "8388608 (-8388608)"},
        {"1000080", 0, "16777344"},            // bit 23 clear: no signed reading
        {"  ", 1, ""},
        {"xyz", 1, ""},
        // A double-byte character counts as one position.
        {"\x82\xA0" "AB", 1, "171 (-85)"},
        {"\x82\xA0" "AB", 2, "171 (-85)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CaretValueText(CaretRun(c.window, c.caret)), c.shown) << c.window << " @" << c.caret;
    }
    EXPECT_EQ(CaretValueText(SelectionRun("ff")), "255 (-1)");
    EXPECT_EQ(CaretValueText(SelectionRun("ff ")), "");
    EXPECT_EQ(CaretValueText(SelectionRun("1F")), "31");
    EXPECT_EQ(CaretValueText(SelectionRun("123456789")), "");
    EXPECT_EQ(CaretValueText(SelectionRun("")), "");
}

TEST(Headings, TextAndSearchOverRecords) {
    EXPECT_EQ(HeadingFieldText("\t [ヘッダ] \r"), " [ヘッダ]");
    // The trail byte of "\x81\x40" (an ideographic space) is "@", of
    // "\x83\x5C" a backslash: neither is blank, nothing is cut.
    EXPECT_EQ(HeadingFieldText("[a]\x81\x40"), " [a]\x81\x40");
    EXPECT_EQ(HeadingFieldText("  "), " ");

    // Headings on lines 2, 5 and 6 of 9.
    std::vector<LineRecord> records(9, LineRecord{0, 0, 0});
    for (int n : {2, 5, 6}) records[n].heading = 1;
    const LineRecord* r = records.data();
    struct Case {
        long caret;
        long field, above, below;
    };
    const Case cases[] = {
        {0, -1, -1, 2}, {1, -1, -1, 2}, {2, 2, -1, 5}, {3, 2, 2, 5}, {5, 5, 2, 6},
        {6, 6, 5, -1},  {8, 6, 6, -1},
        // Beyond the records (the text grew since the last refresh).
        {20, 6, 6, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HeadingAtOrAbove(r, 9, c.caret), c.field) << c.caret;
        EXPECT_EQ(HeadingAbove(r, 9, c.caret), c.above) << c.caret;
        EXPECT_EQ(HeadingBelow(r, 9, c.caret), c.below) << c.caret;
    }
    EXPECT_EQ(HeadingAtOrAbove(r, 0, 3), -1);
    EXPECT_EQ(HeadingBelow(r, 0, 3), -1);
}
