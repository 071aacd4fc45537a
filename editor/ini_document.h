// An INI document as ordered data: sections and keys keep their file order,
// and whatever the program does not know survives a load and a save. Reading
// goes through SimpleIni; values are exact (see below), so one document type
// serves the item files and the server list alike.
//
// Values: any UTF-8 text, including blanks at either end, "=", ";", "[",
// "#", line breaks and characters outside the BMP, of any length. A value
// that would not survive a plain "key=value" line is written as a block:
//     key=<<<END_OF_TEXT
//     ...lines...
//     END_OF_TEXT
// (a longer tag when a line of the value equals it). Line breaks inside
// values are CR LF in memory; a lone CR or LF in a value is written as a line
// break and so reads back as CR LF.
// Files: written as UTF-8 with a byte-order mark and CR LF; read with or
// without the mark and with CR LF or LF.
// Names: section names and keys are single-line, without blanks at either
// end; a key holds no "=" and does not start with ";", "#" or "[", and a
// section name holds no "]". setValue refuses other names.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace editor {

class IniDocument {
public:
    struct Entry {
        std::string key;
        std::string value;
        std::string comment;  // the comment lines above the key, as read ("" for none)
    };
    struct Section {
        std::string name;  // "" for keys above the first section header
        std::vector<Entry> entries;
        std::string comment;  // the comment lines above the header
    };

    // Parses UTF-8 text (a byte-order mark is skipped). On failure `error`
    // says what is wrong in a sentence (Chinese) and `document` is empty.
    struct Parsed;
    static Parsed parse(std::string_view text);

    // The whole file: byte-order mark, CR LF line ends, sections and keys in
    // their order, a blank line between sections.
    std::string serialize() const;

    std::optional<std::string_view> value(std::string_view section, std::string_view key) const;
    const Section* section(std::string_view name) const;
    const std::vector<Section>& sections() const { return sections_; }

    // Replaces the value where the key stands, or appends the key to its
    // section (appending the section when new). False, and nothing changes,
    // for a name the file format cannot hold or a value that is not UTF-8
    // text (malformed bytes, a NUL character).
    bool setValue(std::string_view section, std::string_view key, std::string_view value);
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

private:
    Section* findSection(std::string_view name);

    std::vector<Section> sections_;
};

struct IniDocument::Parsed {
    std::optional<IniDocument> document;
    std::string error;  // empty when the text was read
};

}  // namespace editor
