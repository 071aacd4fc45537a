// The output box's history: every text the box has shown, in order, with a
// cursor. Snapshots share their bytes: a text that extends an earlier one
// (a composition appends line after line) stores only what it adds.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace output {

class OutputHistory {
public:
    // Writes a text into the box; the box's change runs record() before the
    // write returns.
    using WriteBox = std::function<void(const std::string& text)>;

    OutputHistory();

    // The box changed and now shows `boxText`: entries after the cursor are
    // dropped, the text becomes the last entry and the cursor moves onto it.
    void record(std::string_view boxText);

    // Restores the nearest earlier entry that differs from `boxText`.
    // Returns whether anything was written.
    bool undo(std::string_view boxText, const WriteBox& write);

    // Restores the entry after the cursor. Returns whether anything was written.
    bool redo(const WriteBox& write);

    // One step for a run of changes (an import fills many fields, each
    // recomposing): markStep() makes the box's text before the run the entry
    // at the cursor and returns its index; closeStep() drops the entries the
    // run recorded after it and records the box's text once.
    int markStep(std::string_view boxText);
    void closeStep(int mark, std::string_view boxText);

    std::size_t size() const { return entries_.size(); }
    int cursor() const { return cursor_; }  // -1: no cursor
    // The entry's text; empty outside the list.
    std::string entry(int index) const;

    // The entry's length in bytes, without building its text.
    std::size_t entryLength(int index) const;

    // Bytes held for all entries, the shared text included.
    std::size_t memoryBytes() const;

private:
    struct Node {
        std::int32_t parent;       // -1: the text starts here
        std::uint32_t pieceStart;  // this node's own bytes in pool_
        std::uint32_t pieceLength;
        std::uint32_t length;  // length of the whole text up to this node
    };

    std::string text(std::int32_t node) const;
    // The deepest node on `base`'s chain whose text is a prefix of `next`.
    std::int32_t sharedAncestor(std::int32_t base, std::string_view next) const;
    std::int32_t addNode(std::int32_t parent, std::string_view piece);
    void restore(int target, const WriteBox& write);

    static constexpr std::int32_t kEmptyText = 0;  // node of the empty text
    std::string pool_;                             // every node's own bytes, appended
    std::vector<Node> nodes_;
    std::vector<std::int32_t> entries_;  // node per entry
    int cursor_ = -1;
    // The text of the node recorded or restored last: what the box shows.
    std::int32_t shownNode_ = kEmptyText;
    std::string shownText_;
};

}  // namespace output
