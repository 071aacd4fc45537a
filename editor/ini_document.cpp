#include "editor/ini_document.h"

#include <algorithm>
#include <utility>

#include "editor/text.h"

#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wignored-qualifiers"
#include "SimpleIni.h"

namespace editor {
#pragma GCC diagnostic pop

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlockOpening = "<<<";
constexpr std::string_view kBlockTag = "END_OF_TEXT";

// The blanks SimpleIni trims around names and values.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view trimmedRight(std::string_view s) {
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Splits at CR LF, lone CR and lone LF; "a\n" gives "a" and "".
std::vector<std::string_view> physicalLines(std::string_view s) {
    std::vector<std::string_view> lines;
    std::size_t from = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\r' && s[i] != '\n') continue;
        lines.push_back(s.substr(from, i - from));
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        from = i + 1;
    }
    lines.push_back(s.substr(from));
    return lines;
}

// SimpleIni joins the lines of blocks and comments with LF.
std::string withCrLf(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 16);
    for (char c : s) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

bool needsBlock(std::string_view value) {
    if (value.empty()) return false;
    return isBlank(value.front()) || isBlank(value.back()) || value.find_first_of("\r\n") != std::string_view::npos ||
           value.starts_with(kBlockOpening);
}

// SimpleIni ends a block at the first line that equals its tag once trailing
// blanks are cut, so the tag must differ from every line of the value.
std::string blockTagFor(const std::vector<std::string_view>& lines) {
    std::string tag(kBlockTag);
    for (int n = 2;; ++n) {
        const bool clash =
            std::any_of(lines.begin(), lines.end(), [&](auto line) { return trimmedRight(line) == tag; });
        if (!clash) return tag;
        tag = std::string(kBlockTag) + "_" + std::to_string(n);
    }
}

void writeValue(std::string& out, std::string_view value) {
    if (!needsBlock(value)) {
        out.append(value).append(kLineBreak);
        return;
    }
    const auto lines = physicalLines(value);
    const std::string tag = blockTagFor(lines);
    out.append(kBlockOpening).append(tag).append(kLineBreak);
    for (std::string_view line : lines) out.append(line).append(kLineBreak);
    out.append(tag).append(kLineBreak);
}

void writeComment(std::string& out, std::string_view comment) {
    if (comment.empty()) return;
    for (std::string_view line : physicalLines(comment)) out.append(line).append(kLineBreak);
}

std::string lineError(std::size_t lineNumber, std::string_view what) {
    return "第 " + std::to_string(lineNumber) + " 行" + std::string(what);
}

// What SimpleIni passes over in silence: lines that are neither blank, a
// comment, a section header nor "key=value", and a block without its end
// tag (a cut-off file). Returns the first such problem.
std::string structureError(std::string_view text) {
    const auto lines = physicalLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = trimmed(lines[i]);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            if (line.find(']') == std::string_view::npos) return lineError(i + 1, "的节名缺少“]”。");
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0) return lineError(i + 1, "不是“名称=值”的形式。");
        const std::string_view value = trimmed(line.substr(equals + 1));
        if (!value.starts_with(kBlockOpening)) continue;
        const std::string_view tag = value.substr(kBlockOpening.size());
        std::size_t end = i + 1;
        while (end < lines.size() && trimmedRight(lines[end]) != tag) ++end;
        if (end == lines.size()) {
            return lineError(i + 1, "开始的多行值没有结束标记“" + std::string(tag) + "”，文件可能不完整。");
        }
        i = end;
    }
    return {};
}

std::string commentOf(const char* comment) { return comment ? withCrLf(comment) : std::string(); }

}  // namespace

IniDocument::Parsed IniDocument::parse(std::string_view input) {
    if (input.starts_with(kByteOrderMark)) input.remove_prefix(kByteOrderMark.size());
    if (input.find('\0') != std::string_view::npos) return {std::nullopt, "含有空字符，不是文本文件。"};
    if (!isValidUtf8(input)) return {std::nullopt, "不是有效的 UTF-8 文本。"};
    if (std::string problem = structureError(input); !problem.empty()) return {std::nullopt, std::move(problem)};

    CSimpleIniCaseA ini(/*a_bIsUtf8=*/true, /*a_bMultiKey=*/false, /*a_bMultiLine=*/true);
    // A leading line break keeps SimpleIni from taking the first comment as
    // the file's comment, which it does not hand out: every comment then
    // belongs to the section or key below it.
    std::string data = "\n";
    data.append(input);
    if (ini.LoadData(data.data(), data.size()) < 0) return {std::nullopt, "内存不足，无法读取。"};

    IniDocument document;
    CSimpleIniCaseA::TNamesDepend sectionNames;
    ini.GetAllSections(sectionNames);
    sectionNames.sort(CSimpleIniCaseA::Entry::LoadOrder());
    for (const auto& sectionName : sectionNames) {
        Section section{sectionName.pItem, {}, commentOf(sectionName.pComment)};
        CSimpleIniCaseA::TNamesDepend keys;
        ini.GetAllKeys(sectionName.pItem, keys);
        keys.sort(CSimpleIniCaseA::Entry::LoadOrder());
        for (const auto& key : keys) {
            section.entries.push_back(
                {key.pItem, withCrLf(ini.GetValue(sectionName.pItem, key.pItem, "")), commentOf(key.pComment)});
        }
        // Keys above the first header form the nameless section, written first.
        if (section.name.empty()) {
            document.sections_.insert(document.sections_.begin(), std::move(section));
        } else {
            document.sections_.push_back(std::move(section));
        }
    }
    return {std::move(document), {}};
}

std::string IniDocument::serialize() const {
    std::string out(kByteOrderMark);
    bool first = true;
    for (const Section& section : sections_) {
        if (!first) out.append(kLineBreak);
        first = false;
        writeComment(out, section.comment);
        if (!section.name.empty()) out.append("[").append(section.name).append("]").append(kLineBreak);
        for (const Entry& entry : section.entries) {
            writeComment(out, entry.comment);
            out.append(entry.key).append("=");
            writeValue(out, entry.value);
        }
    }
    return out;
}

std::optional<std::string_view> IniDocument::value(std::string_view sectionName, std::string_view key) const {
    const Section* found = section(sectionName);
    if (!found) return std::nullopt;
    for (const Entry& entry : found->entries) {
        if (entry.key == key) return std::string_view(entry.value);
    }
    return std::nullopt;
}

const IniDocument::Section* IniDocument::section(std::string_view name) const {
    for (const Section& s : sections_) {
        if (s.name == name) return &s;
    }
    return nullptr;
}

IniDocument::Section* IniDocument::findSection(std::string_view name) {
    return const_cast<Section*>(std::as_const(*this).section(name));
}

bool IniDocument::addSection(std::string_view name) {
    if (!isValidSectionName(name)) return false;
    if (findSection(name)) return true;
    Section fresh{std::string(name), {}, {}};
    if (name.empty()) {
        sections_.insert(sections_.begin(), std::move(fresh));
    } else {
        sections_.push_back(std::move(fresh));
    }
    return true;
}

bool IniDocument::setValue(std::string_view sectionName, std::string_view key, std::string_view value) {
    if (!isValidSectionName(sectionName) || !isValidKey(key)) return false;
    if (value.find('\0') != std::string_view::npos || !isValidUtf8(value)) return false;
    addSection(sectionName);
    Section* target = findSection(sectionName);
    for (Entry& entry : target->entries) {
        if (entry.key == key) {
            entry.value = value;
            return true;
        }
    }
    target->entries.push_back({std::string(key), std::string(value), {}});
    return true;
}

bool IniDocument::removeKey(std::string_view sectionName, std::string_view key) {
    Section* target = findSection(sectionName);
    if (!target) return false;
    return std::erase_if(target->entries, [&](const Entry& e) { return e.key == key; }) > 0;
}

std::size_t IniDocument::removeKeysIf(std::string_view sectionName,
                                      const std::function<bool(std::string_view key)>& which) {
    Section* target = findSection(sectionName);
    if (!target) return 0;
    return std::erase_if(target->entries, [&](const Entry& e) { return which(e.key); });
}

bool IniDocument::removeSection(std::string_view name) {
    return std::erase_if(sections_, [&](const Section& s) { return s.name == name; }) > 0;
}

bool IniDocument::isValidSectionName(std::string_view name) {
    if (name.find_first_of(std::string_view("]\r\n\0", 4)) != std::string_view::npos) return false;
    return trimmed(name) == name && isValidUtf8(name);
}

bool IniDocument::isValidKey(std::string_view key) {
    if (key.empty() || key.find_first_of(std::string_view("=\r\n\0", 4)) != std::string_view::npos) return false;
    if (key.front() == ';' || key.front() == '#' || key.front() == '[') return false;
    return trimmed(key) == key && isValidUtf8(key);
}

}  // namespace editor
