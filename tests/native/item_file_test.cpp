#include "editor/item_file.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "editor/compose.h"
#include "editor/layout.h"
#include "tests/native/gbk_codec.h"

using namespace editor;

namespace {

const Cp936ToUtf8 kGbk = gbk_codec::toUtf8;

bool isMultiLine(std::string_view control) {
    return (editor::findControl(control)->editStyle & editor::kMultiLine) != 0;
}

// Every field of the table set, texts taken in turn from `texts`.
ItemFileData everyField(const std::vector<std::string>& singleLine, const std::vector<std::string>& multiLine) {
    ItemFileData data;
    std::size_t n = 0;
    for (const ItemFileField& field : itemFileFields()) {
        const std::string control(field.control);
        switch (field.kind) {
        case ItemFileKind::Text:
            data.texts[control] =
                isMultiLine(field.control) ? multiLine[n % multiLine.size()] : singleLine[n % singleLine.size()];
            break;
        case ItemFileKind::Check:
            data.checks[control] = n % 2 == 0;
            break;
        case ItemFileKind::Selection: {
            const int count = static_cast<int>(editor::findControl(field.control)->items.size());
            data.selections[control] = static_cast<int>(n % (count + 1)) - 1;  // -1 (none) included
            break;
        }
        case ItemFileKind::List:
            // A list entry holds no LF (it would compose into a line of its own).
            for (std::size_t k = 0; k < 3; ++k) {
                const std::string& entry = singleLine[(n + k) % singleLine.size()];
                data.lists[control].push_back(entry.find('\n') == std::string::npos ? entry : "no LF here");
            }
            break;
        }
        ++n;
    }
    data.handEditedOutput = multiLine[n % multiLine.size()];
    return data;
}

void expectSameFields(const ItemFileData& a, const ItemFileData& b) {
    EXPECT_EQ(a.texts, b.texts);
    EXPECT_EQ(a.checks, b.checks);
    EXPECT_EQ(a.selections, b.selections);
    EXPECT_EQ(a.lists, b.lists);
    EXPECT_EQ(a.handEditedOutput, b.handEditedOutput);
}

ItemFileData parsedOk(std::string_view bytes) {
    ParsedItemFile parsed = parseItemFile(bytes, kGbk);
    EXPECT_TRUE(parsed.data) << parsed.error;
    return parsed.data.value_or(ItemFileData{});
}

const std::vector<std::string> kHardSingleLines{
    "",
    "disappear  ",
    "  both ends  ",
    "a=b",
    "; semicolon",
    "# hash",
    "[bracket]",
    "<<<END_OF_TEXT",
    "END_OF_TEXT",
    "中文：攻击时 20%",
    "😀𠀀 outside the BMP",
    "€ not in code page 936",
    "\"quoted\"",
    "true",
    "tab\there",
    std::string(100000, 'w'),
    "\x1B[31mpasted escape",
    "bell\x07",
    "lone\rCR",
    "lone\nLF",
    "\rstarts with CR",
    "back\\slash \\x41 \\\\",
    "\x7F\x01\x1F",
    "form\ffeed",
};
const std::vector<std::string> kHardMultiLines{
    "line one\r\nline two",
    "\r\n",
    "ends with a break\r\n",
    "\r\nstarts with one",
    "  blank\r\n\r\n  lines  ",
    "END_OF_TEXT\r\nEND_OF_TEXT_2\r\n",
    "[section]\r\nkey=value",
    "",
    "中文\r\n😀",
    std::string(100000, 'm'),
    "escape \x1B\r\nlone\rCR\nLF\r\n\\x1B",
    "\r\n\r",
};

}  // namespace

TEST(ItemFileFields, NameEveryControlOnceWithTheKindItHas) {
    std::set<std::string_view> controls;
    std::set<std::string> keys;
    for (const ItemFileField& field : itemFileFields()) {
        const editor::Control* control = editor::findControl(field.control);
        ASSERT_NE(control, nullptr) << field.control;
        EXPECT_TRUE(controls.insert(field.control).second) << field.control;
        EXPECT_TRUE(IniDocument::isValidSectionName(field.section));
        if (field.kind == ItemFileKind::List) {
            EXPECT_TRUE(field.key.empty());
            EXPECT_EQ(control->kind, editor::ControlKind::ListBox);
        } else {
            EXPECT_TRUE(IniDocument::isValidKey(field.key)) << field.key;
            EXPECT_TRUE(keys.insert(std::string(field.section) + "." + std::string(field.key)).second) << field.key;
        }
        const auto kind = control->kind;
        switch (field.kind) {
        case ItemFileKind::Text:
            EXPECT_EQ(kind, editor::ControlKind::Edit) << field.control;
            break;
        case ItemFileKind::Check:
            EXPECT_TRUE(kind == editor::ControlKind::CheckBox || kind == editor::ControlKind::Radio) << field.control;
            break;
        case ItemFileKind::Selection:
            EXPECT_FALSE(control->items.empty()) << field.control;
            break;
        case ItemFileKind::List:
            break;
        }
        EXPECT_EQ(itemFileFieldOf(field.control), &field);
    }
    // Every control the composer reads has a field (itemFileDataOf names them all).
    const ItemFileData formData = itemFileDataOf(ItemForm{});
    for (const auto& [control, value] : formData.texts) EXPECT_TRUE(controls.count(control)) << control;
    for (const auto& [control, value] : formData.checks) EXPECT_TRUE(controls.count(control)) << control;
    for (const auto& [control, value] : formData.selections) EXPECT_TRUE(controls.count(control)) << control;
    EXPECT_EQ(formData.lists.size(), 3u);
}

TEST(ItemFile, EveryFieldRoundTripsExactlyWithHardTexts) {
    for (std::size_t shift = 0; shift < kHardSingleLines.size(); ++shift) {
        std::vector<std::string> single = kHardSingleLines, multi = kHardMultiLines;
        std::rotate(single.begin(), single.begin() + static_cast<std::ptrdiff_t>(shift), single.end());
        std::rotate(multi.begin(), multi.begin() + static_cast<std::ptrdiff_t>(shift % multi.size()), multi.end());
        const ItemFileData data = everyField(single, multi);
        const std::string bytes = serializeItemFile(data);
        expectSameFields(parsedOk(bytes), data);
        // Saving what was opened gives the same bytes.
        EXPECT_EQ(serializeItemFile(parsedOk(bytes)), bytes);
    }
}

TEST(ItemFile, IsUtf8WithByteOrderMarkAndCrLfOnly) {
    const std::string bytes = serializeItemFile(everyField(kHardSingleLines, kHardMultiLines));
    ASSERT_TRUE(bytes.starts_with("\xEF\xBB\xBF[file]\r\nformat=1\r\n\r\n[item]\r\nid="));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ASSERT_EQ(bytes[i - 1], '\r') << "at " << i;
        }
        if (bytes[i] == '\r') {
            ASSERT_EQ(bytes[i + 1], '\n') << "at " << i;
        }
    }
}

TEST(ItemFile, WritesSelectionsAsItemTextAndReadsThemByTextOrKey) {
    ItemFileData data;
    data.selections["组合框5"] = 1;
    data.selections["组合框_掉落"] = -1;
    const std::string bytes = serializeItemFile(data);
    EXPECT_NE(bytes.find("keep_enchant=false|不可以附魔\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("mob=\r\n"), std::string::npos);
    const ItemFileData byKey = parsedOk("[usage]\r\nkeep_enchant=true\r\n[drop]\r\nmob=僵尸猪人(PigZombie)\r\n");
    EXPECT_EQ(byKey.selections.at("组合框5"), 0);
    EXPECT_EQ(editor::creatureItems()[static_cast<std::size_t>(byKey.selections.at("组合框_掉落"))],
              "僵尸猪人(PigZombie)");
}

TEST(ItemFile, ReadsListsInNumberOrderAndRewritesThemWhole) {
    ItemFileData data = parsedOk("[skills]\r\n10=ten\r\n2=two\r\nnote=kept\r\n9=nine\r\n1=one\r\n");
    EXPECT_EQ(data.lists.at("列表框_技能"), (std::vector<std::string>{"one", "two", "nine", "ten"}));
    data.lists["列表框_技能"] = {"only"};
    const ItemFileData back = parsedOk(serializeItemFile(data));
    EXPECT_EQ(back.lists.at("列表框_技能"), std::vector<std::string>{"only"});
    EXPECT_EQ(back.document.value("skills", "note"), "kept");
    EXPECT_EQ(back.document.value("skills", "10"), std::nullopt);
}

TEST(ItemFile, EmptyListsKeepTheirSection) {
    ItemFileData data;
    data.lists["列表框_药水"] = {};
    const ItemFileData back = parsedOk(serializeItemFile(data));
    EXPECT_EQ(back.lists.at("列表框_药水"), std::vector<std::string>{});
}

TEST(ItemFile, UnknownSectionsAndKeysSurviveASave) {
    const std::string file =
        "\xEF\xBB\xBF; kept comment\r\n[mine]\r\nnote=for my server\r\n\r\n[item]\r\nid=sword\r\nfuture_key=42\r\n"
        "\r\n[output]\r\ntext=old hand edit\r\n";
    ItemFileData data = parsedOk(file);
    EXPECT_EQ(data.handEditedOutput, "old hand edit");
    data.texts["编辑框2"] = "axe";
    data.handEditedOutput.reset();  // the output is the composition again
    const std::string saved = serializeItemFile(data);
    EXPECT_TRUE(
        saved.starts_with("\xEF\xBB\xBF; kept comment\r\n[mine]\r\nnote=for my server\r\n\r\n[item]\r\n"
                          "id=axe\r\nfuture_key=42\r\n"))
        << saved;
    const ItemFileData back = parsedOk(saved);
    EXPECT_EQ(back.texts.at("编辑框2"), "axe");
    EXPECT_EQ(back.handEditedOutput, std::nullopt);
    EXPECT_EQ(back.document.section("output"), nullptr);
}

TEST(ItemFile, FieldsMissingFromTheFileTakeTheNewFormsState) {
    const ItemFileData data = parsedOk("[item]\r\nid=x\r\n[skills]\r\n1=aoe tick 1\r\n");
    EXPECT_EQ(data.texts.at("编辑框2"), "x");
    EXPECT_EQ(data.lists.at("列表框_技能"), std::vector<std::string>{"aoe tick 1"});
    for (const ItemFileField& field : itemFileFields()) {
        const editor::Control* control = editor::findControl(field.control);
        const std::string name(field.control);
        if (name == "编辑框2" || name == "列表框_技能") continue;
        switch (field.kind) {
        case ItemFileKind::Text:
            EXPECT_EQ(data.texts.at(name), control->text) << name;
            break;
        case ItemFileKind::Check:
            EXPECT_EQ(data.checks.at(name), control->checked) << name;
            break;
        case ItemFileKind::Selection:
            EXPECT_EQ(data.selections.at(name), -1) << name;
            break;
        case ItemFileKind::List:
            EXPECT_TRUE(data.lists.at(name).empty()) << name;
            break;
        }
    }
    EXPECT_EQ(data.texts.at("剑雨延迟"), "0:39");
    EXPECT_TRUE(data.checks.at("选择框4"));
    EXPECT_TRUE(data.checks.at("单选框1"));
    EXPECT_FALSE(data.checks.at("单选框2"));
}

TEST(ItemFile, ReadsFilesWithoutByteOrderMarkAsUtf8OrCodePage936) {
    const std::string utf8Text = "[item]\r\nid=剑\r\ndisplay=§6传说之剑\r\n[skills]\r\n1=flame tick  300\r\n";
    const auto gbk = gbk_codec::fromUtf8Exact(utf8Text);
    ASSERT_TRUE(gbk);
    ASSERT_NE(*gbk, utf8Text);
    for (const std::string& bytes : {utf8Text, *gbk}) {
        const ItemFileData data = parsedOk(bytes);
        EXPECT_EQ(data.texts.at("编辑框2"), "剑");
        EXPECT_EQ(data.texts.at("编辑框3"), "§6传说之剑");
        EXPECT_EQ(data.lists.at("列表框_技能"), std::vector<std::string>{"flame tick  300"});
    }
    // Without a converter, or with the mark, such bytes are refused.
    EXPECT_FALSE(parseItemFile(*gbk, nullptr).data);
    EXPECT_FALSE(parseItemFile("\xEF\xBB\xBF" + *gbk, kGbk).data);
}

struct BadFile {
    std::string name;
    std::string bytes;
    std::string errorPart;
};

class ItemFileRefuses : public testing::TestWithParam<BadFile> {};

TEST_P(ItemFileRefuses, WithAMessageNamingTheProblem) {
    const ParsedItemFile parsed = parseItemFile(GetParam().bytes, kGbk);
    EXPECT_FALSE(parsed.data);
    EXPECT_NE(parsed.error.find(GetParam().errorPart), std::string::npos) << parsed.error;
}

INSTANTIATE_TEST_SUITE_P(
    BadFiles, ItemFileRefuses,
    testing::Values(BadFile{"Empty", "", "空"}, BadFile{"OnlyMark", "\xEF\xBB\xBF", "空"},
                    BadFile{"Blank", " \r\n\t\r\n", "空"},
                    BadFile{"Binary", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), "二进制"},
                    BadFile{"Utf16", std::string("\xFF\xFE[\0i\0t\0e\0m\0]\0", 14), "UTF-16"},
                    BadFile{"ControlBytes", "[item]\r\nid=\x01\x02\x03\r\n", "二进制"},
                    BadFile{"Large", std::string(50u * 1024 * 1024, 'a'), "太大（50.0 MB）"},
                    BadFile{"JustAboveTheCap", std::string(kMaxItemFileBytes + 1, 'a'), "16.0 MB"},
                    BadFile{"CutInABlock", "[item]\r\nid=x\r\ndescription=<<<END_OF_TEXT\r\nfirst\r\nsec", "不完整"},
                    BadFile{"CutInAKey", "[item]\r\nid=x\r\ndispl", "第 3 行"},
                    BadFile{"NotGbkEither", "[item]\r\nid=\xFF\xFF\r\n", "GBK"},
                    BadFile{"PlainText", "Just some notes\r\nabout an item\r\n", "第 1 行"},
                    BadFile{"OtherIni", "[server]\r\nhost=127.0.0.1\r\n", "不是物品文件"},
                    BadFile{"CheckNotBoolean", "[attributes]\r\ngive=yes\r\n", "attributes.give"},
                    BadFile{"SelectionNotAnItem", "[drop]\r\nmob=Dragon\r\n", "drop.mob"},
                    BadFile{"LineBreakInSingleLine", "[item]\r\nid=<<<E\r\na\r\nb\r\nE\r\n", "item.id"},
                    BadFile{"NewerFormat", "[file]\r\nformat=2\r\n[item]\r\nid=x\r\n", "格式版本"}),
    [](const testing::TestParamInfo<BadFile>& param) { return param.param.name; });

TEST(ItemFile, FormConvertsToDataAndBack) {
    ItemForm form;
    form.id = "sword";
    form.displayName = "§6剑";
    form.description = "a\r\nb";
    form.durability = "100";
    form.infiniteDurability = true;
    form.giveItem = false;
    form.keepEnchant = 1;
    form.dropSelection = 3;
    form.dropItemText = std::string(editor::creatureItems()[3]);
    form.dropChance = "50";
    form.skillPowers = {"aoe tick 5"};
    form.potionPowers = {"potionthrow hit 0 speed"};
    form.consumePowers = {"consume tick"};
    const ItemForm back = itemFormOf(parsedOk(serializeItemFile(itemFileDataOf(form))));
    EXPECT_EQ(composeCommands(back), composeCommands(form));
    EXPECT_EQ(back.dropItemText, form.dropItemText);
    EXPECT_EQ(back.giveItem, false);
    EXPECT_EQ(back.description, form.description);
}

TEST(ItemFile, TheReadmeExampleComposesAsDocumented) {
    const std::string example =
        "[file]\nformat=1\n\n[item]\nid=frost_blade\ndisplay=§b霜之刃\ndescription=<<<END_OF_TEXT\n寒冰之力\n"
        "  攻击时减速敌人\nEND_OF_TEXT\n\n[attributes]\nmaterial=267\ndata=0\ndamage=12\ngive=true\n\n[usage]\n"
        "keep_enchant=false\n\n[skills]\n1=ice damage 60\n2=crit damage 5 30\n\n[potions]\n"
        "1=potionhit damage 100 0 slow 30\n\n[drop]\nmob=僵尸(Zombie)\nchance=5\n\n[consumes]\n\n[potion_editor]\n"
        "hit=true\neffect=slow\ntrigger=damage\n";
    const ItemFileData data = parsedOk(example);
    EXPECT_EQ(composeCommands(itemFormOf(data)),
              (CommandList{"remove", "create", "display §b霜之刃", "description desc add 寒冰之力",
                           "description desc add   攻击时减速敌人", "item 267 0", "damage 12", "keep enchant false",
                           "power ice damage 60", "power crit damage 5 30", "power potionhit damage 100 0 slow 30",
                           "drop Zombie 5", "give"}));
    EXPECT_EQ(data.selections.at("组合框_触发"), 1);  // "damage|攻击时" by its key
}

namespace {

std::string gbk(const std::string& utf8) { return gbk_codec::fromUtf8Exact(utf8).value_or("not code page 936"); }

}  // namespace

// Files that were read wrong, refused, or lost parts on the next save.
INSTANTIATE_TEST_SUITE_P(
    FilesThatBroke, ItemFileRefuses,
    testing::Values(
        BadFile{"EmptyEndTag", "[item]\r\nid=x\r\nlore=<<<\r\n\r\n[mine]\r\nkeep=1\r\n",
                "第 3 行的多行值“<<<”后面缺少结束标记"},
        BadFile{"ListEntryWithLineBreak", "[skills]\r\n1=aoe tick 5\r\n2=<<<E\r\nflame\r\ntick\r\nE\r\n",
                "skills.2 的值含有换行"},
        BadFile{"ListEntryWithEscapedLf", "[skills]\r\n1=<<<\\E\r\na\\x0Ab\r\nE\r\n", "skills.1 的值含有换行"},
        BadFile{"DuplicateKey", "[item]\r\nid=sword\r\ndisplay=a\r\n\r\ndisplay=b\r\n",
                "第 5 行的键“display”在节 [item] 里重复：第 3 行已有这个键"},
        BadFile{"StrayByteBesideChinese", "[item]\r\nid=x\r\ndisplay=冰霜\r\nlore=caf\xE9s\r\n",
                "第 3 行像 UTF-8 文本，第 4 行却像 GBK"},
        BadFile{"MarkThenGbk", "\xEF\xBB\xBF[item]\r\nid=x\r\ndisplay=" + gbk("传说之剑") + "\r\n",
                "第 3 行却不是有效的 UTF-8"},
        BadFile{"Utf8ThenGbkLines", "[item]\r\nid=§6剑\r\ndisplay=" + gbk("传说之剑") + "\r\n", "第 2 行像 UTF-8"}),
    [](const testing::TestParamInfo<BadFile>& param) { return param.param.name; });

struct GoodFile {
    std::string name;
    std::string bytes;
    std::map<std::string, std::string> texts;
};

class ItemFileReads : public testing::TestWithParam<GoodFile> {};

TEST_P(ItemFileReads, EveryFieldAsWrittenAndSavesItBack) {
    const ItemFileData data = parsedOk(GetParam().bytes);
    for (const auto& [control, text] : GetParam().texts) EXPECT_EQ(data.texts.at(control), text) << control;
    const ItemFileData back = parsedOk(serializeItemFile(data));
    expectSameFields(back, data);
}

INSTANTIATE_TEST_SUITE_P(
    FilesThatBroke, ItemFileReads,
    testing::Values(GoodFile{"EmptyBlock",
                             "[item]\r\nid=x\r\ndescription=<<<END\r\nEND\r\nlore=kept\r\n[attributes]\r\ndamage=3\r\n",
                             {{"编辑框13", ""}, {"编辑框6", "kept"}, {"编辑框9", "3"}}},
                    GoodFile{"GbkThatIsValidUtf8", gbk("[item]\r\nid=x\r\ndisplay=拳\r\n"), {{"编辑框3", "拳"}}},
                    GoodFile{"GbkFile",
                             gbk("[item]\r\nid=剑\r\ndisplay=§6拳\r\nlore=冰霜\r\n"),
                             {{"编辑框2", "剑"}, {"编辑框3", "§6拳"}, {"编辑框6", "冰霜"}}},
                    GoodFile{"Utf8WithLatin1",
                             "[item]\r\nid=x\r\ndisplay=§b霜\r\nlore=café ×2\r\n",
                             {{"编辑框3", "§b霜"}, {"编辑框6", "café ×2"}}},
                    GoodFile{"ControlCharactersEscaped",
                             "\xEF\xBB\xBF[item]\r\nid=<<<\\END_OF_TEXT\r\na\\x0Db\r\nEND_OF_TEXT\r\n"
                             "display=<<<\\END_OF_TEXT\r\n\\x1B[1m\\x07\r\nEND_OF_TEXT\r\n",
                             {{"编辑框2", "a\rb"}, {"编辑框3", "\x1B[1m\x07"}}}),
    [](const testing::TestParamInfo<GoodFile>& param) { return param.param.name; });

TEST(ItemFile, ASaveKeepsCommentsAndTheListsPlaceAmongItsKeys) {
    const std::string file =
        "\xEF\xBB\xBF[item]\r\nid=x\r\n\r\n[skills]\r\nnote=before\r\n; the first skill\r\n1=aoe tick 5\r\n"
        "# the second\r\n2=flame tick 1\r\nafter=kept\r\n\r\n; the end of the file\r\n";
    ItemFileData data = parsedOk(file);
    const std::string saved = serializeItemFile(data);
    EXPECT_NE(saved.find("[skills]\r\nnote=before\r\n; the first skill\r\n1=aoe tick 5\r\n# the second\r\n"
                         "2=flame tick 1\r\nafter=kept\r\n"),
              std::string::npos)
        << saved;
    EXPECT_TRUE(saved.ends_with("\r\n; the end of the file\r\n")) << saved;
    data.lists["列表框_技能"] = {"one", "two", "three"};
    const std::string grown = serializeItemFile(data);
    EXPECT_NE(grown.find("; the first skill\r\n1=one\r\n# the second\r\n2=two\r\n3=three\r\nafter=kept\r\n"),
              std::string::npos)
        << grown;
}
