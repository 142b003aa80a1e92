// A book laid out for Word: styles by built-in index, the spans of lowered and raised runs in
// UTF-16 units, tables and figures with their captions, the footer's field places, the fonts, and
// a book that cannot be read.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/fault.h"
#include "office/word_book.h"

namespace wallcalc::word {
namespace {

// A book of `blocks` (JSON text) under a fixed title, header, date and fonts.
std::string bookJson(const std::string& blocks) {
    return R"({"title":"复核计算书","header":"wallcalc　B1　现行规范","date":"2024-05-01",)"
           R"("fonts":{"body":"SimSun;Noto Serif CJK SC","heading":"SimHei;Noto Sans CJK SC",)"
           R"("latin":"Times New Roman;Liberation Serif"},"blocks":[)" +
           blocks + "]}";
}

const Paragraph& paragraphAt(const Book& book, std::size_t i) { return std::get<Paragraph>(book.blocks.at(i)); }

TEST(WordBook, HeadingsTakeTheBuiltInStyleOfTheirLevel) {
    struct Case {
        int level;
        long style;
    };
    // wdStyleHeading1..3; a level outside 1..3 takes the nearest.
    for (const Case c : {Case{1, -2}, Case{2, -3}, Case{3, -4}, Case{0, -2}, Case{7, -4}}) {
        SCOPED_TRACE(c.level);
        const Book book = bookOf(bookJson(R"({"kind":"heading","level":)" + std::to_string(c.level) +
                                          R"(,"runs":[{"text":"一、计算条件","script":""}]})"));
        ASSERT_EQ(book.blocks.size(), 2u);
        EXPECT_EQ(paragraphAt(book, 0).style, -63);  // the title, wdStyleTitle, centred
        EXPECT_EQ(paragraphAt(book, 0).alignment, 1);
        EXPECT_EQ(paragraphAt(book, 0).text.text, u"复核计算书");
        EXPECT_EQ(paragraphAt(book, 1).style, c.style);
        EXPECT_EQ(paragraphAt(book, 1).alignment, 0);
        EXPECT_EQ(paragraphAt(book, 1).text.text, u"一、计算条件");
    }
}

TEST(WordBook, LoweredAndRaisedRunsAreSpansInUtf16Units) {
    struct Case {
        const char* name;
        std::string runs;
        std::u16string text;
        std::vector<Span> spans;
    };
    const Case cases[] = {
        // "（1）跨中 A" is 7 units, "s,req" 5, "＝10" 3.
        {"index and power",
         R"([{"text":"（1）跨中 A","script":""},{"text":"s,req","script":"sub"},{"text":"＝10","script":""},)"
         R"({"text":"6","script":"super"}])",
         u"（1）跨中 As,req＝106",
         {{7, 5, false}, {15, 1, true}}},
        // A character beyond the basic plane is two units: the span after it starts at 3.
        {"surrogate pair", R"([{"text":"𝑥A","script":""},{"text":"s","script":"sub"}])", u"𝑥As", {{3, 1, false}}},
        {"empty lowered run", R"([{"text":"A","script":""},{"text":"","script":"sub"}])", u"A", {}},
        // The report's private-use ₁ and ² in their standard forms; line ends and tabs as spaces.
        {"symbols and control characters",
         R"([{"text":"As\uE020＝1527mm\uE010\r\n\tx","script":""}])",
         u"As₁＝1527mm²   x",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Book book = bookOf(bookJson(R"({"kind":"paragraph","runs":)" + c.runs + "}"));
        ASSERT_EQ(book.blocks.size(), 2u);
        EXPECT_EQ(paragraphAt(book, 1).style, -1);
        EXPECT_EQ(paragraphAt(book, 1).text.text, c.text);
        EXPECT_EQ(paragraphAt(book, 1).text.spans, c.spans);
    }
}

TEST(WordBook, TablesAndFiguresComeWithTheirCaptions) {
    const Book book = bookOf(bookJson(
        R"({"kind":"table","caption":"表1 计算条件","numeric":[false,true,true],"rows":[)"
        R"([[{"text":"项目","script":""}],[{"text":"数值","script":""}],[{"text":"A","script":""},{"text":"s","script":"sub"}]],)"
        R"([[{"text":"墙厚","script":""}],[{"text":"300","script":""}]]]},)"
        R"({"kind":"table","caption":"","rows":[]},)"
        R"({"kind":"figure","caption":"图1 侧压力标准值","width":150,"height":100,"svg":"<svg/>"})"));
    // Title, table caption, table (the one without columns left out), figure, figure caption.
    ASSERT_EQ(book.blocks.size(), 5u);
    EXPECT_EQ(paragraphAt(book, 1).style, -35);  // wdStyleCaption, centred
    EXPECT_EQ(paragraphAt(book, 1).alignment, 1);
    EXPECT_EQ(paragraphAt(book, 1).text.text, u"表1 计算条件");
    const Table& table = std::get<Table>(book.blocks[2]);
    EXPECT_EQ(table.columns, 3u);
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[0][2].text, u"As");
    EXPECT_EQ(table.rows[0][2].spans, (std::vector<Span>{{1, 1, false}}));
    // The short row has its third cell, empty.
    ASSERT_EQ(table.rows[1].size(), 3u);
    EXPECT_EQ(table.rows[1][1].text, u"300");
    EXPECT_EQ(table.rows[1][2].text, u"");
    EXPECT_EQ(table.numeric, (std::vector<bool>{false, true, true}));
    const Figure& figure = std::get<Figure>(book.blocks[3]);
    EXPECT_EQ(figure.svg, "<svg/>");
    // 150 mm and 100 mm at 72 / 25.4 points a millimetre.
    EXPECT_NEAR(figure.width, 425.197, 0.001);
    EXPECT_NEAR(figure.height, 283.465, 0.001);
    EXPECT_EQ(paragraphAt(book, 4).style, -35);
    EXPECT_EQ(paragraphAt(book, 4).text.text, u"图1 侧压力标准值");
}

TEST(WordBook, PageFontsAndFieldPlaces) {
    const Book book = bookOf(bookJson(""));
    EXPECT_EQ(book.header, u"wallcalc　B1　现行规范");
    // "第 " is 2 units, " 页 / 共 " 7 more.
    EXPECT_EQ(book.footer, u"第  页 / 共  页　　2024-05-01");
    EXPECT_EQ(book.pageAt, 2u);
    EXPECT_EQ(book.pagesAt, 9u);
    EXPECT_EQ(book.latinFont, u"Times New Roman");
    struct Expected {
        long style;
        std::u16string farEast;
        double size;
        bool bold;
    };
    const Expected expected[] = {{-1, u"SimSun", 10.5, false}, {-2, u"SimHei", 16, true},  {-3, u"SimHei", 13, true},
                                 {-4, u"SimHei", 12, true},    {-63, u"SimHei", 20, true}, {-35, u"SimSun", 10, false},
                                 {-32, u"SimSun", 9, false},   {-33, u"SimSun", 9, false}};
    ASSERT_EQ(book.styles.size(), std::size(expected));
    for (std::size_t i = 0; i < book.styles.size(); ++i) {
        SCOPED_TRACE(book.styles[i].style);
        EXPECT_EQ(book.styles[i].style, expected[i].style);
        EXPECT_EQ(book.styles[i].farEast, expected[i].farEast);
        EXPECT_EQ(book.styles[i].size, expected[i].size);
        EXPECT_EQ(book.styles[i].bold, expected[i].bold);
    }
}

TEST(WordBook, ABookThatCannotBeReadIsAnAutomationFault) {
    for (const char* json : {"", "[]", "{\"blocks\":", R"({"blocks":[{"kind":"heading","level":1}]})",
                             R"({"blocks":[{"kind":"table","rows":{"a":1}}]})"}) {
        SCOPED_TRACE(json);
        try {
            bookOf(json);
            ADD_FAILURE() << "read";
        } catch (const FaultError& error) {
            EXPECT_EQ(error.fault().number, 440);
            EXPECT_EQ(error.fault().what, "计算书的内容无法读取");
        }
    }
}

TEST(WordBook, Utf16OfUtf8) {
    EXPECT_EQ(utf16("A²墙𝑥"), u"A²墙𝑥");
    EXPECT_EQ(utf16("𝑥"), std::u16string({0xD835, 0xDC65}));
    EXPECT_EQ(utf16("a\xff"
                    "b"),
              u"a\uFFFDb");
    EXPECT_EQ(utf16(""), u"");
}

}  // namespace
}  // namespace wallcalc::word
