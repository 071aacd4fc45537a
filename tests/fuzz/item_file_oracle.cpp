#include "tests/fuzz/item_file_oracle.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/ini_document.h"
#include "editor/item_file.h"

namespace fuzz {

namespace {

[[noreturn]] void broken(const char* what, std::string_view input) {
    std::fprintf(stderr, "round trip broken: %s\ninput (%zu bytes): ", what, input.size());
    for (unsigned char c : input.substr(0, 400)) std::fprintf(stderr, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02X", c);
    std::fprintf(stderr, "\n");
    std::abort();
}

bool sameDocument(const editor::IniDocument& a, const editor::IniDocument& b) {
    if (a.sections().size() != b.sections().size() || a.closingComment() != b.closingComment()) return false;
    for (std::size_t i = 0; i < a.sections().size(); ++i) {
        const auto &x = a.sections()[i], &y = b.sections()[i];
        if (x.name != y.name || x.comment != y.comment || x.entries.size() != y.entries.size()) return false;
        for (std::size_t k = 0; k < x.entries.size(); ++k) {
            const auto &e = x.entries[k], &f = y.entries[k];
            if (e.key != f.key || e.value != f.value || e.comment != f.comment) return false;
        }
    }
    return true;
}

bool sameData(const editor::ItemFileData& a, const editor::ItemFileData& b) {
    return a.texts == b.texts && a.checks == b.checks && a.selections == b.selections && a.lists == b.lists &&
           a.handEditedOutput == b.handEditedOutput;
}

// Code page 936 stands in as Latin-1 here: any bytes convert, as most do on
// Windows; the oracle is about the format, not the code page.
std::optional<std::string> latin1(std::string_view bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

void checkDocument(std::string_view input) {
    const editor::IniDocument::Parsed first = editor::IniDocument::parse(input);
    if (!first.document) {
        if (first.error.empty()) broken("a refused document without a message", input);
        return;
    }
    const std::string written = first.document->serialize();
    const editor::IniDocument::Parsed second = editor::IniDocument::parse(written);
    if (!second.document) broken(("the written document is refused: " + second.error).c_str(), input);
    if (!sameDocument(*first.document, *second.document)) broken("the document read back differs", input);
    if (second.document->serialize() != written) broken("writing again gives other bytes", input);
}

// The writer on its own: the input's lines as values of every kind of key.
void checkWriter(std::string_view input) {
    editor::IniDocument document;
    std::size_t n = 0;
    for (std::size_t from = 0; from <= input.size() && n < 64; ++n) {
        std::size_t end = input.find('\x1F', from);
        if (end == std::string_view::npos) end = input.size();
        const std::string_view value = input.substr(from, end - from);
        from = end + 1;
        if (!editor::IniDocument::isValidValue(value)) continue;
        if (!document.setValue(n % 3 == 0 ? "" : "s" + std::to_string(n % 3), "k" + std::to_string(n), value)) {
            broken("a valid value is refused", input);
        }
        const editor::IniDocument::Parsed back = editor::IniDocument::parse(document.serialize());
        if (!back.document) broken(("a written value is refused: " + back.error).c_str(), input);
        if (!sameDocument(document, *back.document)) broken("a written value reads back differently", input);
    }
}

void checkItemFile(std::string_view input) {
    const editor::ParsedItemFile first = editor::parseItemFile(input, latin1);
    if (!first.data) {
        if (first.error.empty()) broken("a refused item file without a message", input);
        return;
    }
    const std::string written = editor::serializeItemFile(*first.data);
    const editor::ParsedItemFile second = editor::parseItemFile(written, latin1);
    if (!second.data) broken(("the written item file is refused: " + second.error).c_str(), input);
    if (!sameData(*first.data, *second.data)) broken("the item data read back differs", input);
    if (editor::serializeItemFile(*second.data) != written) broken("saving again gives other bytes", input);
}

}  // namespace

void checkItemFileRoundTrip(std::string_view bytes) {
    checkItemFile(bytes);
    checkDocument(bytes);
    checkWriter(bytes);
}

}  // namespace fuzz
