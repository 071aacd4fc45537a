#include "output/output_history.h"

#include <algorithm>

namespace output {

OutputHistory::OutputHistory() { nodes_.push_back({-1, 0, 0, 0}); }

std::string OutputHistory::text(std::int32_t node) const {
    if (node == shownNode_) return shownText_;
    std::string out(nodes_[node].length, '\0');
    for (std::int32_t at = node; at != -1; at = nodes_[at].parent) {
        const Node& n = nodes_[at];
        std::copy_n(pool_.data() + n.pieceStart, n.pieceLength, out.data() + (n.length - n.pieceLength));
    }
    return out;
}

std::int32_t OutputHistory::sharedAncestor(std::int32_t base, std::string_view next) const {
    std::string copied;
    const std::string_view baseText = base == shownNode_ ? std::string_view(shownText_) : (copied = text(base));
    // A composition's writes each extend the last: one block comparison.
    if (next.starts_with(baseText)) return base;
    const auto mismatch = std::mismatch(baseText.begin(), baseText.end(), next.begin(), next.end());
    const auto common = static_cast<std::uint32_t>(mismatch.first - baseText.begin());
    std::int32_t at = base;
    while (at != -1 && nodes_[at].length > common) at = nodes_[at].parent;
    return at;
}

std::int32_t OutputHistory::addNode(std::int32_t parent, std::string_view piece) {
    const std::uint32_t before = parent == -1 ? 0 : nodes_[parent].length;
    nodes_.push_back({parent, static_cast<std::uint32_t>(pool_.size()), static_cast<std::uint32_t>(piece.size()),
                      before + static_cast<std::uint32_t>(piece.size())});
    pool_.append(piece);
    return static_cast<std::int32_t>(nodes_.size() - 1);
}

void OutputHistory::record(std::string_view boxText) {
    if (cursor_ != -1) entries_.resize(static_cast<std::size_t>(cursor_) + 1);
    std::int32_t node = kEmptyText;
    if (!boxText.empty()) {
        // Share bytes with the entry the box showed before this change.
        const std::int32_t base = entries_.empty() ? -1 : entries_.back();
        const std::int32_t ancestor = base == -1 ? -1 : sharedAncestor(base, boxText);
        const std::uint32_t shared = ancestor == -1 ? 0 : nodes_[ancestor].length;
        node = shared == boxText.size() ? ancestor : addNode(ancestor, boxText.substr(shared));
    }
    entries_.push_back(node);
    cursor_ = static_cast<int>(entries_.size()) - 1;
    // What the box shows: extended in place when it grew, so that a run of
    // appends costs the length of what they add.
    if (boxText.starts_with(shownText_)) {
        shownText_.append(boxText.substr(shownText_.size()));
    } else {
        shownText_.assign(boxText);
    }
    shownNode_ = node;
}

std::string OutputHistory::entry(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return {};
    return text(entries_[static_cast<std::size_t>(index)]);
}

std::size_t OutputHistory::entryLength(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return 0;
    return nodes_[entries_[static_cast<std::size_t>(index)]].length;
}

void OutputHistory::restore(int target, const WriteBox& write) {
    const std::string restored = entry(target);
    write(restored);  // records a copy of the restored text, nested
    cursor_ = target < 0 ? -1 : target;
}

bool OutputHistory::undo(std::string_view boxText, const WriteBox& write) {
    const auto passes = static_cast<int>(entries_.size());
    for (int pass = 0, k = 1; pass < passes; ++pass) {
        const int s = cursor_;
        if (s == 0) continue;
        const int t = s != -1 ? s - k : static_cast<int>(entries_.size()) - k;
        if (entry(t) != boxText) {
            restore(t, write);
            return true;
        }
        ++k;
    }
    return false;
}

bool OutputHistory::redo(const WriteBox& write) {
    const int s = cursor_;
    if (s == static_cast<int>(entries_.size()) - 1) return false;
    restore(s + 1, write);
    return true;
}

std::size_t OutputHistory::memoryBytes() const {
    return pool_.capacity() + nodes_.capacity() * sizeof(Node) + entries_.capacity() * sizeof(std::int32_t) +
           shownText_.capacity();
}

int OutputHistory::markStep(std::string_view boxText) {
    if (cursor_ == -1 || entry(cursor_) != boxText) record(boxText);
    return cursor_;
}

void OutputHistory::closeStep(int mark, std::string_view boxText) {
    if (mark < 0 || static_cast<std::size_t>(mark) >= entries_.size()) {
        record(boxText);
        return;
    }
    entries_.resize(static_cast<std::size_t>(mark) + 1);
    cursor_ = mark;
    if (entry(mark) != boxText) {
        record(boxText);
        return;
    }
    shownNode_ = entries_.back();
    shownText_.assign(boxText);
}

}  // namespace output
