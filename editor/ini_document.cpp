#include "editor/ini_document.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "editor/text.h"

namespace editor {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlockOpening = "<<<";
constexpr char kEscapeMark = '\\';
constexpr std::string_view kBlockTag = "END_OF_TEXT";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view trimmedRight(std::string_view s) {
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Characters a plain line or block cannot carry as they are.
bool isControl(unsigned char c) { return (c < 0x20 && c != '\t') || c == 0x7F; }

// A control character other than the CR LF pair at `i`.
bool needsEscapeAt(std::string_view s, std::size_t i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') return false;
    if (c == '\n' && i > 0 && s[i - 1] == '\r') return false;
    return isControl(c);
}

bool needsEscape(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (needsEscapeAt(s, i)) return true;
    }
    return false;
}

bool needsBlock(std::string_view value) {
    if (value.empty()) return false;
    return isBlank(value.front()) || isBlank(value.back()) || value.find('\r') != std::string_view::npos ||
           value.starts_with(kBlockOpening);
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Backslashes doubled, control characters as \xHH; CR LF pairs stay.
std::string escaped(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c == static_cast<unsigned char>(kEscapeMark)) {
            out += "\\\\";
        } else if (needsEscapeAt(s, i)) {
            out.append("\\x").append(1, kHexDigits[c >> 4]).append(1, kHexDigits[c & 0xF]);
        } else {
            out += s[i];
        }
    }
    return out;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The inverse of escaped() for one line; false on a sequence it never writes.
bool unescapeInto(std::string_view line, std::string& out) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != kEscapeMark) {
            out += line[i];
            continue;
        }
        if (i + 1 < line.size() && line[i + 1] == kEscapeMark) {
            out += kEscapeMark;
            ++i;
            continue;
        }
        if (i + 3 >= line.size() || line[i + 1] != 'x') return false;
        const int high = hexValue(line[i + 2]), low = hexValue(line[i + 3]);
        if (high < 0 || low < 0) return false;
        const auto c = static_cast<unsigned char>(high * 16 + low);
        if (c == 0 || !isControl(c)) return false;
        out += static_cast<char>(c);
        i += 3;
    }
    return true;
}

// Splits at CR LF only (values hold no other line break when written plain).
std::vector<std::string_view> crLfLines(std::string_view s) {
    std::vector<std::string_view> lines;
    std::size_t from = 0;
    for (std::size_t at = s.find(kLineBreak); at != std::string_view::npos; at = s.find(kLineBreak, from)) {
        lines.push_back(s.substr(from, at - from));
        from = at + kLineBreak.size();
    }
    lines.push_back(s.substr(from));
    return lines;
}

// A tag no line of the block equals once blanks at its end are cut: the
// first of END_OF_TEXT, END_OF_TEXT_2, ... that is free. n lines take at
// most n of them, so a bitmap of n + 2 numbers finds it in one pass.
std::string blockTagFor(const std::vector<std::string_view>& lines) {
    std::vector<bool> taken(lines.size() + 2, false);  // [0]: the plain tag; [n]: END_OF_TEXT_n
    for (std::string_view line : lines) {
        std::string_view cut = trimmedRight(line);
        if (!cut.starts_with(kBlockTag)) continue;
        cut.remove_prefix(kBlockTag.size());
        if (cut.empty()) {
            taken[0] = true;
            continue;
        }
        if (cut.size() < 2 || cut.front() != '_' || cut[1] == '0' || cut.size() > 20) continue;
        std::size_t n = 0;
        bool digits = true;
        for (char c : cut.substr(1)) {
            digits = digits && c >= '0' && c <= '9';
            if (digits) n = n * 10 + static_cast<std::size_t>(c - '0');
        }
        if (digits && n >= 2 && n < taken.size()) taken[n] = true;
    }
    if (!taken[0]) return std::string(kBlockTag);
    std::size_t n = 2;
    while (taken[n]) ++n;
    return std::string(kBlockTag) + "_" + std::to_string(n);
}

void writeBlock(std::string& out, std::string_view opening, std::string_view text) {
    const auto lines = crLfLines(text);
    const std::string tag = blockTagFor(lines);
    out.append(opening).append(tag).append(kLineBreak);
    for (std::string_view line : lines) out.append(line).append(kLineBreak);
    out.append(tag).append(kLineBreak);
}

void writeValue(std::string& out, std::string_view value) {
    if (needsEscape(value)) {
        writeBlock(out, std::string(kBlockOpening) + kEscapeMark, escaped(value));
    } else if (needsBlock(value)) {
        writeBlock(out, kBlockOpening, value);
    } else {
        out.append(value).append(kLineBreak);
    }
}

void writeComment(std::string& out, std::string_view comment) {
    if (!comment.empty()) out.append(comment).append(kLineBreak);
}

std::string lineError(std::size_t lineNumber, std::string_view what) {
    return "第 " + std::to_string(lineNumber) + " 行" + std::string(what);
}

// The text's lines, one at a time, each ended by CR LF, LF or CR; the
// empty piece after a final line break is no line.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool next(std::string_view& line) {
        if (done_) return false;
        std::size_t end = at_;
        while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n') ++end;
        line = text_.substr(at_, end - at_);
        if (end == text_.size()) {
            done_ = true;
        } else {
            at_ = end + ((text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n') ? 2 : 1);
            done_ = at_ == text_.size();
        }
        ++number_;
        return true;
    }
    std::size_t number() const { return number_; }

private:
    std::string_view text_;
    std::size_t at_ = 0;
    std::size_t number_ = 0;
    bool done_ = false;
};

void addLine(std::string& lines, std::string_view line) {
    if (!lines.empty()) lines.append(kLineBreak);
    lines.append(line);
}

struct SectionIndex {
    std::size_t position;  // in sections_
    std::unordered_map<std::string, std::size_t> keyLines;
};

}  // namespace

IniDocument::Parsed IniDocument::parse(std::string_view input) {
    if (input.starts_with(kByteOrderMark)) input.remove_prefix(kByteOrderMark.size());
    IniDocument document;
    std::unordered_map<std::string, SectionIndex> known;
    SectionIndex* current = nullptr;
    std::string pending;  // comment lines (and repeated headers) waiting for their key
    // A repeated header with no key below it says nothing: it goes.
    std::size_t repeatedHeaderAt = std::string::npos, repeatedHeaderSize = 0;
    const auto dropKeylessHeader = [&] {
        if (repeatedHeaderAt == std::string::npos) return;
        const bool lineBreakBefore = repeatedHeaderAt > 0;
        const std::size_t from = lineBreakBefore ? repeatedHeaderAt - kLineBreak.size() : repeatedHeaderAt;
        std::size_t size = repeatedHeaderSize + (lineBreakBefore ? kLineBreak.size() : 0);
        if (!lineBreakBefore && from + size < pending.size()) size += kLineBreak.size();
        pending.erase(from, size);
        repeatedHeaderAt = std::string::npos;
    };
    const auto fail = [](std::size_t line, std::string_view what) {
        return Parsed{std::nullopt, lineError(line, what)};
    };
    const auto open = [&](std::string name, std::string comment) -> SectionIndex& {
        auto [at, added] = known.try_emplace(name, SectionIndex{document.sections_.size(), {}});
        if (added) document.sections_.push_back({std::move(name), {}, std::move(comment)});
        return at->second;
    };

    LineReader reader(input);
    std::string_view raw;
    while (reader.next(raw)) {
        const std::size_t number = reader.number();
        if (raw.find('\0') != std::string_view::npos) return fail(number, "含有空字符，不是文本。");
        if (!isValidUtf8(raw)) return fail(number, "不是有效的 UTF-8 文本。");
        const std::string_view line = trimmed(raw);
        if (line.empty()) continue;
        if (line.front() == ';' || line.front() == '#') {
            addLine(pending, line);
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos) return fail(number, "的节名缺少“]”。");
            std::string name(trimmed(line.substr(1, close - 1)));
            // The nameless section is the keys above the first header only.
            if (name.empty()) return fail(number, "的节名是空的。");
            dropKeylessHeader();
            if (known.contains(name)) {
                // Read as one with the first; the header stays above the next key.
                addLine(pending, line);
                repeatedHeaderAt = pending.size() - line.size();
                repeatedHeaderSize = line.size();
                current = &known.at(name);
            } else {
                current = &open(std::move(name), std::exchange(pending, {}));
            }
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) return fail(number, "不是“名称=值”的形式。");
        const std::string_view key = trimmed(line.substr(0, equals));
        if (key.empty()) return fail(number, "的名称是空的。");
        std::string_view value = trimmed(line.substr(equals + 1));
        if (!current) current = &open({}, {});
        Section& section = document.sections_[current->position];
        const auto [seen, isNew] = current->keyLines.try_emplace(std::string(key), number);
        if (!isNew) {
            return fail(number, "的键“" + std::string(key) + "”在节 [" + section.name + "] 里重复：第 " +
                                    std::to_string(seen->second) + " 行已有这个键。");
        }
        repeatedHeaderAt = std::string::npos;
        Entry entry{std::string(key), {}, std::exchange(pending, {})};
        if (!value.starts_with(kBlockOpening)) {
            entry.value = value;
            section.entries.push_back(std::move(entry));
            continue;
        }
        std::string_view tag = value.substr(kBlockOpening.size());
        const bool escapes = tag.starts_with(kEscapeMark);
        if (escapes) tag.remove_prefix(1);
        tag = trimmed(tag);
        if (tag.empty()) return fail(number, "的多行值“<<<”后面缺少结束标记。");
        bool ended = false;
        bool firstLine = true;
        std::string_view blockLine;
        while (reader.next(blockLine)) {
            if (!isValidUtf8(blockLine)) return fail(reader.number(), "不是有效的 UTF-8 文本。");
            if (blockLine.find('\0') != std::string_view::npos) return fail(reader.number(), "含有空字符，不是文本。");
            if (trimmedRight(blockLine) == tag) {
                ended = true;
                break;
            }
            if (!firstLine) entry.value.append(kLineBreak);
            firstLine = false;
            if (!escapes) {
                entry.value.append(blockLine);
            } else if (!unescapeInto(blockLine, entry.value)) {
                return fail(reader.number(), "的转义写法无法识别（只能是“\\\\”或“\\x”加两位十六进制的控制字符）。");
            }
        }
        if (!ended) {
            return fail(number, "开始的多行值没有结束标记“" + std::string(tag) + "”，文件可能不完整。");
        }
        section.entries.push_back(std::move(entry));
    }
    // Keys above the first header made the nameless section first of all.
    dropKeylessHeader();
    document.closingComment_ = std::move(pending);
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
    if (!closingComment_.empty()) {
        if (!first) out.append(kLineBreak);
        writeComment(out, closingComment_);
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
    if (!isValidSectionName(sectionName) || !isValidKey(key) || !isValidValue(value)) return false;
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

bool IniDocument::replaceKeysIf(std::string_view sectionName, const std::function<bool(std::string_view key)>& which,
                                const std::vector<std::pair<std::string, std::string>>& keysAndValues) {
    if (!isValidSectionName(sectionName)) return false;
    for (const auto& [key, value] : keysAndValues) {
        if (!isValidKey(key) || !isValidValue(value)) return false;
    }
    addSection(sectionName);
    Section* target = findSection(sectionName);
    std::vector<Entry> entries;
    entries.reserve(std::max(target->entries.size(), keysAndValues.size()));
    std::size_t next = 0;
    std::size_t afterLast = 0;  // where values beyond the old keys go
    for (Entry& entry : target->entries) {
        if (!which(entry.key)) {
            entries.push_back(std::move(entry));
            continue;
        }
        if (next == keysAndValues.size()) continue;
        entry.key = keysAndValues[next].first;
        entry.value = keysAndValues[next].second;
        ++next;
        entries.push_back(std::move(entry));
        afterLast = entries.size();
    }
    if (next == 0) afterLast = entries.size();
    std::vector<Entry> rest;
    rest.reserve(keysAndValues.size() - next);
    for (; next < keysAndValues.size(); ++next)
        rest.push_back({keysAndValues[next].first, keysAndValues[next].second, {}});
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(afterLast), std::make_move_iterator(rest.begin()),
                   std::make_move_iterator(rest.end()));
    target->entries = std::move(entries);
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
    return trimmed(name) == name && isValidUtf8(name) && !needsEscape(name);
}

bool IniDocument::isValidKey(std::string_view key) {
    if (key.empty() || key.find_first_of(std::string_view("=\r\n\0", 4)) != std::string_view::npos) return false;
    if (key.front() == ';' || key.front() == '#' || key.front() == '[') return false;
    return trimmed(key) == key && isValidUtf8(key) && !needsEscape(key);
}

bool IniDocument::isValidValue(std::string_view value) {
    return value.find('\0') == std::string_view::npos && isValidUtf8(value);
}

}  // namespace editor
