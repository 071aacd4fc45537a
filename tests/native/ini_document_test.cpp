#include "editor/ini_document.h"

#include <gtest/gtest.h>

using namespace editor;

namespace {

IniDocument parsed(std::string_view text) {
    IniDocument::Parsed result = IniDocument::parse(text);
    EXPECT_TRUE(result.document) << result.error;
    return result.document.value_or(IniDocument{});
}

IniDocument reread(const IniDocument& document) { return parsed(document.serialize()); }

std::string keysOf(const IniDocument& document) {
    std::string out;
    for (const auto& section : document.sections()) {
        out += "[" + section.name + "]";
        for (const auto& entry : section.entries) out += entry.key + ",";
    }
    return out;
}

}  // namespace

class IniValueRoundTrip : public testing::TestWithParam<std::string> {};

TEST_P(IniValueRoundTrip, ComesBackExactly) {
    IniDocument document;
    ASSERT_TRUE(document.setValue("item", "value", GetParam()));
    ASSERT_TRUE(document.setValue("item", "after", "next"));
    const IniDocument back = reread(document);
    EXPECT_EQ(back.value("item", "value"), GetParam());
    EXPECT_EQ(back.value("item", "after"), "next");
    EXPECT_EQ(keysOf(back), "[item]value,after,");
}

INSTANTIATE_TEST_SUITE_P(HardTexts, IniValueRoundTrip,
                         testing::Values("", "plain", "disappear  ", "  leading", " ", "\t", "a=b=c", "; not a comment",
                                         "# nor this", "[not a section]", "x]", "\"quoted\"", "<<<END_OF_TEXT", "<<<",
                                         "line one\r\nline two", "\r\n", "\r\n\r\n", "ends with a break\r\n",
                                         "\r\nstarts with a break", "  both  \r\n  lines  ", "END_OF_TEXT",
                                         "a\r\nEND_OF_TEXT\r\nb", "a\r\nEND_OF_TEXT  \r\nEND_OF_TEXT_2\r\nb",
                                         "[section]\r\nkey=value\r\n;comment", "中文描述：攻击时有 20% 几率",
                                         "😀 outside the BMP 𠀀", "€ ½ ™ not in code page 936", std::string(100000, 'x'),
                                         "tab\tinside", "&sect;§6 colour"));

TEST(IniDocument, ControlCharactersAreWrittenEscapedAndComeBackExactly) {
    IniDocument document;
    ASSERT_TRUE(document.setValue("s", "lf", "a\nb"));
    ASSERT_TRUE(document.setValue("s", "cr", "a\rb"));
    ASSERT_TRUE(document.setValue("s", "esc", "\x1B[1m\\x1B\r\nnext"));
    const std::string bytes = document.serialize();
    EXPECT_EQ(bytes,
              "\xEF\xBB\xBF[s]\r\nlf=<<<\\END_OF_TEXT\r\na\\x0Ab\r\nEND_OF_TEXT\r\n"
              "cr=<<<\\END_OF_TEXT\r\na\\x0Db\r\nEND_OF_TEXT\r\n"
              "esc=<<<\\END_OF_TEXT\r\n\\x1B[1m\\\\x1B\r\nnext\r\nEND_OF_TEXT\r\n");
    const IniDocument back = reread(document);
    EXPECT_EQ(back.value("s", "lf"), "a\nb");
    EXPECT_EQ(back.value("s", "cr"), "a\rb");
    EXPECT_EQ(back.value("s", "esc"), "\x1B[1m\\x1B\r\nnext");
    // Outside an escaped block a backslash is only a backslash.
    EXPECT_EQ(parsed("[s]\r\nk=\\x1B\r\nb=<<<T\r\n\\\\\r\nT\r\n").value("s", "k"), "\\x1B");
    EXPECT_EQ(parsed("[s]\r\nb=<<<T\r\n\\\\\r\nT\r\n").value("s", "b"), "\\\\");
}

TEST(IniDocument, WritesByteOrderMarkAndCrLfEverywhere) {
    IniDocument document;
    document.setValue("a", "one", "1");
    document.setValue("a", "multi", "x\r\ny");
    document.setValue("b", "two", "2");
    const std::string bytes = document.serialize();
    EXPECT_EQ(bytes,
              "\xEF\xBB\xBF[a]\r\none=1\r\nmulti=<<<END_OF_TEXT\r\nx\r\ny\r\nEND_OF_TEXT\r\n\r\n[b]\r\ntwo=2\r\n");
}

TEST(IniDocument, ReadsFilesWithAndWithoutByteOrderMarkAndWithLfLines) {
    for (std::string_view text :
         {"\xEF\xBB\xBF[s]\r\nk=v\r\nm=<<<T\r\na\r\nb\r\nT\r\n", "[s]\nk=v\nm=<<<T\na\nb\nT\n"}) {
        const IniDocument document = parsed(text);
        EXPECT_EQ(document.value("s", "k"), "v");
        EXPECT_EQ(document.value("s", "m"), "a\r\nb");
    }
}

TEST(IniDocument, KeepsOrderCommentsAndUnknownEntriesThroughLoadAndSave) {
    const std::string text =
        "\xEF\xBB\xBF; written by hand\r\n[zeta]\r\nz=1\r\n; why a is here\r\na=2\r\n\r\n[alpha]\r\nm=3\r\nb=4\r\n";
    IniDocument document = parsed(text);
    EXPECT_EQ(keysOf(document), "[zeta]z,a,[alpha]m,b,");
    EXPECT_EQ(document.serialize(), text);
    ASSERT_TRUE(document.setValue("alpha", "m", "changed"));
    ASSERT_TRUE(document.setValue("alpha", "new", "5"));
    ASSERT_TRUE(document.setValue("new section", "k", "6"));
    const IniDocument back = reread(document);
    EXPECT_EQ(keysOf(back), "[zeta]z,a,[alpha]m,b,new,[new section]k,");
    EXPECT_EQ(back.value("alpha", "m"), "changed");
    EXPECT_EQ(back.section("zeta")->entries[1].comment, "; why a is here");
    EXPECT_EQ(back.section("zeta")->comment, "; written by hand");
}

TEST(IniDocument, KeysAboveTheFirstSectionStayFirst) {
    IniDocument document = parsed("top=1\r\n[s]\r\nk=2\r\n");
    EXPECT_EQ(keysOf(document), "[]top,[s]k,");
    document.setValue("", "second", "3");
    EXPECT_EQ(keysOf(reread(document)), "[]top,second,[s]k,");
    IniDocument fresh;
    fresh.setValue("s", "k", "1");
    fresh.setValue("", "top", "2");
    EXPECT_EQ(keysOf(reread(fresh)), "[]top,[s]k,");
}

TEST(IniDocument, NamesAreCaseSensitive) {
    const IniDocument document = parsed("[S]\r\nKey=1\r\nkey=2\r\n[s]\r\nkey=4\r\n");
    EXPECT_EQ(document.value("S", "Key"), "1");
    EXPECT_EQ(document.value("S", "key"), "2");
    EXPECT_EQ(document.value("s", "key"), "4");
    EXPECT_EQ(document.value("s", "Key"), std::nullopt);
}

TEST(IniDocument, RefusesNamesAndValuesTheFormatCannotHold) {
    IniDocument document;
    for (std::string_view key : {"", "a=b", ";c", "#c", "[c", " pad", "pad ", "two\r\nlines"}) {
        EXPECT_FALSE(document.setValue("s", key, "v")) << key;
    }
    for (std::string_view section : {"a]b", " pad", "two\nlines"}) EXPECT_FALSE(document.setValue(section, "k", "v"));
    EXPECT_FALSE(document.setValue("s", "k", std::string_view("nul\0inside", 10)));
    EXPECT_FALSE(document.setValue("s", "k", "\xFF\xFE"));
    EXPECT_TRUE(document.sections().empty());
    EXPECT_TRUE(document.setValue("s", "key with inner blanks", "v"));
}

TEST(IniDocument, RemovesKeysAndSections) {
    IniDocument document = parsed("[a]\r\nx=1\r\ny=2\r\n[b]\r\nz=3\r\n");
    EXPECT_TRUE(document.removeKey("a", "x"));
    EXPECT_FALSE(document.removeKey("a", "x"));
    EXPECT_TRUE(document.removeSection("b"));
    EXPECT_FALSE(document.removeSection("b"));
    EXPECT_EQ(keysOf(reread(document)), "[a]y,");
    IniDocument many = parsed("[l]\r\n1=a\r\nkeep=b\r\n2=c\r\n");
    EXPECT_EQ(many.removeKeysIf("l", [](std::string_view key) { return key != "keep"; }), 2u);
    EXPECT_EQ(many.removeKeysIf("missing", [](std::string_view) { return true; }), 0u);
    EXPECT_EQ(keysOf(many), "[l]keep,");
}

struct BadIni {
    std::string text;
    std::string errorPart;
};

class IniParseError : public testing::TestWithParam<BadIni> {};

TEST_P(IniParseError, NamesTheProblem) {
    const IniDocument::Parsed result = IniDocument::parse(GetParam().text);
    EXPECT_FALSE(result.document);
    EXPECT_NE(result.error.find(GetParam().errorPart), std::string::npos) << result.error;
}

INSTANTIATE_TEST_SUITE_P(Cases, IniParseError,
                         testing::Values(BadIni{std::string("[s]\r\nk=v\0w\r\n", 12), "空字符"},
                                         BadIni{"[s]\r\nk=\xC0\xAF\r\n", "UTF-8"},
                                         BadIni{"[s]\r\nk=<<<END_OF_TEXT\r\nfirst line\r\nsecond", "第 2 行"},
                                         BadIni{"[s]\r\nk=v\r\nhalf a ke", "第 3 行"},
                                         BadIni{"[s\r\nk=v\r\n", "第 1 行"}, BadIni{"[s]\r\n=v\r\n", "第 2 行"}));

TEST(IniDocument, EmptyAndBlankTextsAreEmptyDocuments) {
    for (std::string_view text : {"", "\xEF\xBB\xBF", "\r\n\r\n  \r\n", "; only a comment\r\n"}) {
        const IniDocument::Parsed result = IniDocument::parse(text);
        ASSERT_TRUE(result.document) << result.error;
        EXPECT_TRUE(result.document->sections().empty());
    }
}

// Files written by hand that the reader once read wrong, with what they hold.
struct HandWritten {
    std::string name;
    std::string text;
    std::vector<std::pair<std::string, std::string>> values;  // "section.key", value
};

class IniHandWritten : public testing::TestWithParam<HandWritten> {};

TEST_P(IniHandWritten, ReadsEveryValueAndSavesTheSameLines) {
    const IniDocument document = parsed(GetParam().text);
    for (const auto& [name, value] : GetParam().values) {
        const std::size_t dot = name.find('.');
        EXPECT_EQ(document.value(name.substr(0, dot), name.substr(dot + 1)), value) << name;
    }
    const IniDocument back = reread(document);
    for (const auto& [name, value] : GetParam().values) {
        const std::size_t dot = name.find('.');
        EXPECT_EQ(back.value(name.substr(0, dot), name.substr(dot + 1)), value) << name;
    }
    EXPECT_EQ(back.serialize(), document.serialize());
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniHandWritten,
    testing::Values(
        HandWritten{"EmptyBlock",
                    "[item]\r\ndescription=<<<END\r\nEND\r\nlore=x\r\n[s]\r\nk=v\r\n",
                    {{"item.description", ""}, {"item.lore", "x"}, {"s.k", "v"}}},
        HandWritten{"EmptyBlockLastInFile", "[item]\nd=<<<T\nT\n", {{"item.d", ""}}},
        HandWritten{"BlockOfOneEmptyLine", "[item]\r\nd=<<<T\r\n\r\nT\r\nn=1\r\n", {{"item.d", ""}, {"item.n", "1"}}},
        HandWritten{"BlockOfTwoEmptyLines", "[item]\r\nd=<<<T\r\n\r\n\r\nT\r\n", {{"item.d", "\r\n"}}},
        HandWritten{"TagWithBlanksAround", "[a]\r\nd=<<<  T  \r\nx\r\nT   \r\ne=2\r\n", {{"a.d", "x"}, {"a.e", "2"}}},
        HandWritten{"EscapedBlock", "[a]\r\nd=<<<\\T\r\n\\x1B[0m\\\\\r\nT\r\n", {{"a.d", "\x1B[0m\\"}}},
        HandWritten{"CrOnlyLines", "[a]\rk=v\rd=<<<T\ra\rb\rT\r", {{"a.k", "v"}, {"a.d", "a\r\nb"}}},
        HandWritten{"RepeatedSectionsWithoutKeys",
                    "[a]\r\nx=1\r\n[b]\r\n\r\n[b]\r\n; again\r\n[a]\r\ny=2\r\n[b]\r\n",
                    {{"a.x", "1"}, {"a.y", "2"}}},
        HandWritten{"RepeatedSection",
                    "[a]\r\nx=1\r\n[b]\r\ny=2\r\n; why\r\n[a]\r\nz=3\r\n",
                    {{"a.x", "1"}, {"a.z", "3"}, {"b.y", "2"}}}),
    [](const testing::TestParamInfo<HandWritten>& param) { return param.param.name; });

INSTANTIATE_TEST_SUITE_P(
    HandWritten, IniParseError,
    testing::Values(BadIni{"[item]\r\nlore=<<<\r\ndisplay=x\r\n[s]\r\nk=v\r\n", "第 2 行的多行值“<<<”后面缺少结束标记"},
                    BadIni{"[item]\r\nlore=<<<   \r\n", "第 2 行"}, BadIni{"[item]\r\nlore=<<<\\\r\nx\r\n", "第 2 行"},
                    BadIni{"[a]\r\nd=<<<\\T\r\n\\q\r\nT\r\n", "第 3 行的转义"},
                    BadIni{"[a]\r\nd=<<<\\T\r\n\\x41\r\nT\r\n", "第 3 行的转义"},
                    BadIni{"[a]\r\nd=<<<\\T\r\n\\x0\r\nT\r\n", "第 3 行的转义"},
                    BadIni{"[a]\r\nd=<<<\\T\r\n\\x00\r\nT\r\n", "第 3 行的转义"},
                    BadIni{"[item]\r\nid=a\r\n; c\r\nid=b\r\n", "第 4 行的键“id”在节 [item] 里重复：第 2 行已有这个键"},
                    BadIni{"[a]\r\nk=1\r\n[b]\r\n[a]\r\nk=2\r\n", "第 5 行的键“k”在节 [a] 里重复：第 2 行"},
                    BadIni{"top=1\r\ntop=2\r\n", "第 2 行的键“top”在节 [] 里重复：第 1 行"},
                    BadIni{"[s]\r\nk=\xE9t\xC3\xA9\r\n", "第 2 行"},
                    BadIni{"[item]\nid=x\nlore=y\r[]\n", "第 4 行的节名是空的"}));

TEST(IniDocument, CommentsStayInTheirPlaces) {
    const std::string text =
        "\xEF\xBB\xBF; file\r\n[skills]\r\nnote=a\r\n; first skill\r\n1=aoe\r\n# second\r\n2=fly\r\nafter=b\r\n"
        "\r\n; before b\r\n[b]\r\n; above repeated\r\n[skills]\r\n; third\r\n3=x\r\n\r\n; closing words\r\n# two "
        "lines\r\n";
    IniDocument document = parsed(text);
    EXPECT_EQ(document.closingComment(), "; closing words\r\n# two lines");
    EXPECT_EQ(keysOf(document), "[skills]note,1,2,after,3,[b]");
    // Rewriting the numbered keys keeps them where they stand, with their comments.
    ASSERT_TRUE(document.replaceKeysIf("skills", [](std::string_view k) { return k != "note" && k != "after"; },
                                       {{"1", "aoe"}, {"2", "fly"}, {"3", "x"}, {"4", "new"}}));
    // A repeated section's keys follow the first one's, its header with them.
    EXPECT_EQ(document.serialize(),
              "\xEF\xBB\xBF; file\r\n[skills]\r\nnote=a\r\n; first skill\r\n1=aoe\r\n# second\r\n2=fly\r\nafter=b\r\n"
              "; above repeated\r\n[skills]\r\n; third\r\n3=x\r\n4=new\r\n\r\n; before b\r\n[b]\r\n\r\n"
              "; closing words\r\n# two lines\r\n");
    const IniDocument back = reread(document);
    EXPECT_EQ(back.serialize(), document.serialize());
    EXPECT_EQ(back.section("skills")->entries[1].comment, "; first skill");
    EXPECT_EQ(back.section("skills")->entries[4].comment, "; above repeated\r\n[skills]\r\n; third");
    EXPECT_EQ(back.section("b")->comment, "; before b");
    EXPECT_EQ(back.closingComment(), "; closing words\r\n# two lines");
    EXPECT_EQ(keysOf(back), "[skills]note,1,2,after,3,4,[b]");
}
