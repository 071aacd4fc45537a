// The command-line tool's compose, check and import, run as a process on
// files written by the item file's own writer.
#include <gtest/gtest.h>

#include "editor/command_import.h"
#include "editor/compose.h"
#include "editor/item_file.h"
#include "editor/text.h"
#include "res/version.h"
#include "tests/cli/generated_forms.h"
#include "tests/cli/tool_process.h"
#include "tests/native/gbk_codec.h"

namespace {

using cli_test::exists;
using cli_test::runTool;
using cli_test::ScratchFolder;

std::string withLineEnds(const std::string& crlfText, const std::string& lineEnd) {
    std::string out;
    for (const std::string& line : editor::splitLines(crlfText)) out += line + lineEnd;
    return out;
}

TEST(RpgitemCompose, WritesTheComposersLinesForGeneratedFormsSavedAsFiles) {
    std::mt19937 random(24);
    const ScratchFolder folder;
    std::vector<std::string> paths;
    std::string expected;
    for (int i = 0; i < 40; ++i) {
        const editor::ItemForm form = cli_test::generatedForm(random);
        paths.push_back(
            folder.write("item" + std::to_string(i) + ".ini", editor::serializeItemFile(editor::itemFileDataOf(form))));
        expected += editor::composeText(form);
    }
    std::vector<std::string> args = {"compose", "--crlf"};
    args.insert(args.end(), paths.begin(), paths.end());
    const cli_test::ToolRun crlf = runTool(args);
    EXPECT_EQ(crlf.status, 0) << crlf.err;
    EXPECT_EQ(crlf.out, expected);
    args.erase(args.begin() + 1);
    const cli_test::ToolRun lf = runTool(args);
    EXPECT_EQ(lf.status, 0) << lf.err;
    EXPECT_EQ(lf.out, withLineEnds(expected, "\n"));
    EXPECT_EQ(lf.err, "");
}

TEST(RpgitemCompose, AHandEditedOutputIsWrittenAsKeptUnlessOnlyTheFormIsAsked) {
    editor::ItemForm form;
    form.id = "剑";
    form.displayName = "&a绿色的剑";
    editor::ItemFileData data = editor::itemFileDataOf(form);
    data.handEditedOutput = "/rpgitem 剑 create\r\n/rpgitem 剑 display 手改的名字\r\n/say 你好";
    const ScratchFolder folder;
    const std::string path = folder.write("edited.ini", editor::serializeItemFile(data));
    const cli_test::ToolRun kept = runTool({"compose", path});
    EXPECT_EQ(kept.status, 0) << kept.err;
    EXPECT_EQ(kept.out, "/rpgitem 剑 create\n/rpgitem 剑 display 手改的名字\n/say 你好\n");
    const cli_test::ToolRun formOnly = runTool({"compose", "--form", "--crlf", path});
    EXPECT_EQ(formOnly.out, editor::composeText(form));
}

TEST(RpgitemCompose, AFileThatCannotBeReadIsNamedAndTheOthersAreStillWritten) {
    editor::ItemForm form;
    form.id = "ok";
    const ScratchFolder folder;
    const std::string good = folder.write("good.ini", editor::serializeItemFile(editor::itemFileDataOf(form)));
    const std::string bad = folder.write("bad.ini", "[item]\r\nid=a\r\nid=b\r\n");
    const cli_test::ToolRun run = runTool({"compose", bad, good, folder.path("missing.ini")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, withLineEnds(editor::composeText(form), "\n"));
    const auto parsed = editor::parseItemFile(cli_test::readBytes(bad), gbk_codec::toUtf8);
    EXPECT_NE(run.err.find(bad + ": " + parsed.error + "\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(folder.path("missing.ini") + ": 文件不存在。"), std::string::npos) << run.err;
}

TEST(RpgitemCheck, BadFilesGetTheWindowsMessagesAndLongOrStrayLinesAreNamed) {
    const ScratchFolder folder;
    struct Case {
        std::string name;
        std::string bytes;
        std::string inError;  // "" : the reader's own message
    };
    editor::ItemForm longForm;
    longForm.id = "sword";
    longForm.displayName = std::string(95, 'x');
    editor::ItemForm hugeForm;
    hugeForm.id = "sword";
    hugeForm.lore = std::string(1440, 'y');
    editor::ItemFileData typo = editor::itemFileDataOf(longForm);
    typo.handEditedOutput = "/rpgitem sword create\r\n/rpgitem sword dispaly 名字\r\n";
    const Case cases[] = {
        {"empty.ini", "", ""},
        {"duplicate.ini", "[item]\r\nid=a\r\nid=b\r\n", ""},
        {"no_tag.ini", "[item]\r\ndescription=<<<\r\n", ""},
        {"gbk_and_utf8.ini", "[item]\r\nid=" + gbk_codec::fromUtf8("剑") + "\r\ndisplay=剑\r\n", ""},
        {"binary.ini", std::string("\x00\x01\x02", 3), ""},
        {"long_line.ini", editor::serializeItemFile(editor::itemFileDataOf(longForm)), ":3: 输出第 3 行有 118 个字符"},
        {"huge_line.ini", editor::serializeItemFile(editor::itemFileDataOf(hugeForm)),
         ":3: 输出第 3 行编码后有 1459 字节"},
        {"typo.ini", editor::serializeItemFile(typo),
         ":2: 手工修改的输出第 2 行无法导入（可能是笔误）：/rpgitem sword dispaly 名字"},
    };
    for (const Case& c : cases) {
        const std::string path = folder.write(c.name, c.bytes);
        const cli_test::ToolRun run = runTool({"check", path});
        EXPECT_EQ(run.status, 1) << c.name;
        std::string wanted = path + c.inError;
        if (c.inError.empty()) {
            const auto parsed = editor::parseItemFile(c.bytes, gbk_codec::toUtf8);
            ASSERT_FALSE(parsed.data) << c.name;
            wanted = path + ": " + parsed.error + "\n";
        }
        EXPECT_NE(run.err.find(wanted), std::string::npos) << c.name << "\n" << run.err;
        EXPECT_EQ(run.out, "") << c.name;
    }
    editor::ItemForm fine;
    fine.id = "sword";
    fine.displayName = std::string(77, 'x');  // a line of exactly 100 characters
    const std::string good = folder.write("good.ini", editor::serializeItemFile(editor::itemFileDataOf(fine)));
    const cli_test::ToolRun run = runTool({"check", good});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, good + ": 没有发现问题\n");
}

TEST(RpgitemImport, CommandListsComeBackAsTheSameItemInEitherEncoding) {
    std::mt19937 random(2024);
    const ScratchFolder folder;
    for (int i = 0; i < 12; ++i) {
        editor::ItemForm form = cli_test::generatedForm(random);
        form.id = "剑";
        // The import sorts powers into lists by their kind: one list here keeps the order comparable.
        form.potionPowers.clear();
        form.consumePowers.clear();
        form.skillPowers = {"arrow 20"};
        const std::string commands = editor::composeText(form);
        const bool gbk = i % 3 == 0 && gbk_codec::fromUtf8Exact(commands);
        const bool fromStdin = i % 3 == 1;
        const std::string bytes = gbk ? *gbk_codec::fromUtf8Exact(commands) : withLineEnds(commands, "\n");
        const std::string item = folder.path("imported" + std::to_string(i) + ".ini");
        const cli_test::ToolRun imported =
            fromStdin ? runTool({"import", "-", "-o", item}, bytes)
                      : runTool({"import", folder.write("commands" + std::to_string(i) + ".txt", bytes), "-o", item});
        ASSERT_EQ(imported.status, 0) << imported.err;
        const cli_test::ToolRun composed = runTool({"compose", "--crlf", item});
        EXPECT_EQ(composed.out, commands) << "case " << i;
    }
}

TEST(RpgitemImport, LinesThatCannotBePlacedAreListedAndStopTheWriteUnlessKeptGoing) {
    const ScratchFolder folder;
    const std::string commands =
        folder.write("c.txt", "/rpgitem 剑 create\n/rpgitem 剑 dispaly 名字\n/rpgitem 剑 give\n");
    const std::string item = folder.path("out.ini");
    const cli_test::ToolRun stopped = runTool({"import", commands, "-o", item});
    EXPECT_EQ(stopped.status, 1);
    EXPECT_NE(stopped.err.find(commands + ":2: 无法导入：/rpgitem 剑 dispaly 名字\n"), std::string::npos)
        << stopped.err;
    EXPECT_FALSE(exists(item));
    const cli_test::ToolRun kept = runTool({"import", commands, "-o", item, "--keep-going"});
    EXPECT_EQ(kept.status, 1);
    ASSERT_TRUE(exists(item));
    EXPECT_EQ(runTool({"compose", item}).out, "/rpgitem 剑 remove\n/rpgitem 剑 create\n/rpgitem 剑 give\n");
    const cli_test::ToolRun nothing = runTool({"import", folder.write("none.txt", "hello\n"), "-o", item});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_NE(nothing.err.find("没有可导入的指令"), std::string::npos);
}

TEST(RpgitemUsage, ExitStatusesAndTheConventionalOptions) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string inOut;
        std::string inErr;
    };
    const Case cases[] = {
        {{}, 2, "", "缺少命令"},
        {{"frobnicate"}, 2, "", "未知命令 frobnicate"},
        {{"compose"}, 2, "", "compose 需要至少一个物品文件"},
        {{"compose", "--wide", "a.ini"}, 2, "", "未知选项 --wide"},
        {{"import", "c.txt"}, 2, "", "-o"},
        {{"send", "a.ini", "--server"}, 2, "", "选项 --server 需要一个值"},
        {{"--help"}, 0, "用法: rpgitem", ""},
        {{"send", "--help"}, 0, "password_env", ""},
        {{"--version"}, 0, "rpgitem " RPGITEM_VERSION_TEXT "\n", ""},
    };
    for (const Case& c : cases) {
        const cli_test::ToolRun run = runTool(c.args);
        const std::string shown = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(run.status, c.status) << shown;
        EXPECT_NE(run.out.find(c.inOut), std::string::npos) << shown << ": " << run.out;
        EXPECT_NE(run.err.find(c.inErr), std::string::npos) << shown << ": " << run.err;
        if (c.status == 2) {
            EXPECT_EQ(run.out, "") << shown;
        }
    }
}

}  // namespace
