#include "ui/output_box.h"

#include <algorithm>

#include "output/changed_lines.h"
#include "ui/win_text.h"

namespace ui {

class OutputBox::WriteScope {
public:
    explicit WriteScope(OutputBox& box) : box_(box), outer_(box.writing_) { box_.writing_ = true; }
    ~WriteScope() { box_.writing_ = outer_; }
    WriteScope(const WriteScope&) = delete;
    WriteScope& operator=(const WriteScope&) = delete;

private:
    OutputBox& box_;
    bool outer_;
};

OutputBox::OutputBox(HWND edit, std::function<void()> changed)
    : edit_(edit), changed_(std::move(changed)), shown_(windowTextW(edit)), text_(utf8(shown_)) {}

// Wine's edit box repaints itself at once on every write (tens of
// milliseconds for a full box) and ignores WM_SETREDRAW. Clearing the
// visible bit is what WM_SETREDRAW does on Windows: the write then only
// updates the text, and one deferred repaint of what changed follows.
// Nothing is hidden.
class OutputBox::PaintingHeldBack {
public:
    explicit PaintingHeldBack(HWND edit) : edit_(edit), wasVisible_(GetWindowLongW(edit, GWL_STYLE) & WS_VISIBLE) {
        GetClientRect(edit_, &dirty_);
        if (wasVisible_) SetWindowLongW(edit_, GWL_STYLE, GetWindowLongW(edit_, GWL_STYLE) & ~WS_VISIBLE);
    }
    ~PaintingHeldBack() {
        if (!wasVisible_) return;
        SetWindowLongW(edit_, GWL_STYLE, GetWindowLongW(edit_, GWL_STYLE) | WS_VISIBLE);
        if (!IsRectEmpty(&dirty_)) InvalidateRect(edit_, &dirty_, TRUE);
    }
    PaintingHeldBack(const PaintingHeldBack&) = delete;
    PaintingHeldBack& operator=(const PaintingHeldBack&) = delete;

    // Repaints only the client rows from `top` to `bottom` (clipped).
    void limitTo(int top, int bottom) {
        dirty_.top = std::max(dirty_.top, static_cast<LONG>(top));
        dirty_.bottom = std::min(dirty_.bottom, static_cast<LONG>(bottom));
    }

private:
    HWND edit_;
    bool wasVisible_;
    RECT dirty_;
};

void OutputBox::writeControl() {
    WriteScope scope(*this);
    PaintingHeldBack heldBack(edit_);
    shown_ = wide(text_);
    SetWindowTextW(edit_, shown_.c_str());
}

namespace {

int lineCount(HWND edit) { return static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0)); }

int firstVisibleLine(HWND edit) { return static_cast<int>(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0)); }

// The client row where the line holding `index` begins; `fallback` when the
// box cannot tell (an index past the last character).
int lineTop(HWND edit, std::size_t index, int fallback) {
    const auto line = SendMessageW(edit, EM_LINEFROMCHAR, index, 0);
    const auto position = SendMessageW(edit, EM_POSFROMCHAR, SendMessageW(edit, EM_LINEINDEX, line, 0), 0);
    return position == -1 ? fallback : static_cast<short>(HIWORD(position));
}

}  // namespace

// Replaces the lines that differ from what the control holds, then leaves
// the caret at the end and scrolled to it: the box's work follows the size
// of the change, not of the text.
void OutputBox::replaceChangedLines() {
    // Someone else's write that the platform did not report (WM_SETTEXT
    // under Wine): start from what the control really holds.
    if (static_cast<std::size_t>(GetWindowTextLengthW(edit_)) != shown_.size()) shown_ = windowTextW(edit_);
    std::wstring next = wide(text_);
    const output::ChangedLines span = output::changedLines<wchar_t>(shown_, next);
    WriteScope scope(*this);
    PaintingHeldBack heldBack(edit_);
    const int linesBefore = lineCount(edit_), firstVisibleBefore = firstVisibleLine(edit_);
    SendMessageW(edit_, EM_SETSEL, span.start, span.start + span.oldLength);
    SendMessageW(edit_, EM_REPLACESEL, FALSE,
                 reinterpret_cast<LPARAM>(next.substr(span.start, span.newLength).c_str()));
    shown_ = std::move(next);
    const auto end = static_cast<WPARAM>(shown_.size());
    SendMessageW(edit_, EM_SETSEL, end, end);
    SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
    if (firstVisibleLine(edit_) != firstVisibleBefore) return;  // scrolled: all of it
    RECT client;
    GetClientRect(edit_, &client);
    // Lines below a change in their number move; otherwise only the changed ones differ.
    const int top = lineTop(edit_, span.start, client.top);
    const bool linesMoved = lineCount(edit_) != linesBefore;
    heldBack.limitTo(top, linesMoved ? client.bottom : lineTop(edit_, span.start + span.newLength, client.bottom));
}

void OutputBox::setText(std::string_view text) {
    text_.assign(text);
    if (batching_) {
        controlStale_ = true;
    } else {
        writeControl();
    }
    if (changed_) changed_();
}

void OutputBox::append(std::string_view text) {
    text_.append(text);
    if (batching_) {
        controlStale_ = true;
    } else {
        WriteScope scope(*this);
        PaintingHeldBack heldBack(edit_);
        const int end = GetWindowTextLengthW(edit_);
        SendMessageW(edit_, EM_SETSEL, end, end);
        SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
        const std::wstring added = wide(text);
        SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(added.c_str()));
        shown_ += added;
    }
    if (changed_) changed_();
}

void OutputBox::onPlatformChange() {
    if (writing_) return;
    shown_ = windowTextW(edit_);
    text_ = utf8(shown_);
    if (changed_) changed_();
}

OutputBox::Batch::Batch(OutputBox& box) : box_(box), outer_(box.batching_) { box_.batching_ = true; }

OutputBox::Batch::~Batch() {
    box_.batching_ = outer_;
    if (outer_ || !box_.controlStale_) return;
    box_.controlStale_ = false;
    // One write of the lines that changed, the caret left at the end as the
    // appends would have left it.
    box_.replaceChangedLines();
}

}  // namespace ui
