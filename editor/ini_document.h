// An INI document as ordered data: sections and keys keep their file order,
// and whatever the program does not know survives a load and a save. The
// reader and the writer are this file's own, line by line, and linear in the
// size of the text; values are exact (see below), so one document type serves
// the item files, the server list and the settings alike.
//
// Lines: "[section]", "key=value", comments (";" or "#" first), blank lines.
// Names and one-line values lose the blanks (space, tab) at either end.
// Values: any UTF-8 text except NUL, including blanks at either end, "=",
// ";", "[", "#", line breaks, control characters and characters outside the
// BMP, of any length. A value that would not survive a plain "key=value"
// line is written as a block:
//     key=<<<END_OF_TEXT
//     ...lines, joined by CR LF...
//     END_OF_TEXT
// (a longer tag when a line of the value equals it). The block ends at the
// first line that equals its tag once blanks at its end are cut; "<<<" with
// no tag is refused. A value holding control characters (other than tab and
// CR LF pairs: a lone CR or LF, an escape, a bell...) is written as an
// escaped block, opened by "<<<\" and its tag: inside it "\\" is a backslash
// and "\xHH" (two hex digits) the character of that code, below 0x20 or 0x7F.
// Comments: the lines above a key or header belong to it; those after the
// last key stay at the end. A section that appears again is read as one
// with the first: its header is kept with the key below it (its comment
// lines), so a save writes it back. A key twice in one section is refused.
// Files: written as UTF-8 with a byte-order mark and CR LF; read with or
// without the mark, with CR LF, LF or CR.
// Names: section names and keys are single-line, without blanks at either
// end; a key holds no "=" and does not start with ";", "#" or "[", and a
// section name holds no "]". setValue refuses other names.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace editor {

class IniDocument {
public:
    struct Entry {
        std::string key;
        std::string value;
        std::string comment;  // the lines above the key, as read, CR LF between ("" for none)
    };
    struct Section {
        std::string name;  // "" for keys above the first section header
        std::vector<Entry> entries;
        std::string comment;  // the comment lines above the header
    };

    // Parses UTF-8 text (a byte-order mark is skipped). On failure `error`
    // says what is wrong in a sentence (Chinese) naming the line and
    // `document` is empty.
    struct Parsed;
    static Parsed parse(std::string_view text);

    // The whole file: byte-order mark, CR LF line ends, sections and keys in
    // their order, a blank line between sections, the closing comment last.
    std::string serialize() const;

    std::optional<std::string_view> value(std::string_view section, std::string_view key) const;
    const Section* section(std::string_view name) const;
    const std::vector<Section>& sections() const { return sections_; }
    // The comment lines after the last key.
    const std::string& closingComment() const { return closingComment_; }

    // Replaces the value where the key stands, or appends the key to its
    // section (appending the section when new). False, and nothing changes,
    // for a name the file format cannot hold or a value that is not UTF-8
    // text (malformed bytes, a NUL character).
    bool setValue(std::string_view section, std::string_view key, std::string_view value);
    // Makes the section's keys for which `which` holds read `values`, in
    // order: the first of them in file order takes the first value and so
    // on (their places and comments stay); values beyond them follow the
    // last of them (or end the section), keys beyond the values go. False,
    // and nothing changes, for a value setValue refuses. Linear.
    bool replaceKeysIf(std::string_view section, const std::function<bool(std::string_view key)>& which,
                       const std::vector<std::pair<std::string, std::string>>& keysAndValues);
    // Appends an empty section unless it is there; false for a name the
    // format cannot hold.
    bool addSection(std::string_view name);
    // False when there was nothing to remove.
    bool removeKey(std::string_view section, std::string_view key);
    bool removeSection(std::string_view name);
    // Removes the section's keys for which `which` holds; returns how many.
    std::size_t removeKeysIf(std::string_view section, const std::function<bool(std::string_view key)>& which);

    static bool isValidSectionName(std::string_view name);
    static bool isValidKey(std::string_view key);
    static bool isValidValue(std::string_view value);

private:
    Section* findSection(std::string_view name);

    std::vector<Section> sections_;
    std::string closingComment_;
};

struct IniDocument::Parsed {
    std::optional<IniDocument> document;
    std::string error;  // empty when the text was read
};

}  // namespace editor
