#include "ui/output_box.h"

#include "ui/win_text.h"

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
    : edit_(edit), changed_(std::move(changed)), text_(windowText(edit)) {}

// Wine's edit box repaints itself at once on every write (tens of
// milliseconds for a full box) and ignores WM_SETREDRAW. Clearing the
// visible bit is what WM_SETREDRAW does on Windows: the write then only
// updates the text, and one deferred repaint follows. Nothing is hidden.
class OutputBox::PaintingHeldBack {
public:
    explicit PaintingHeldBack(HWND edit) : edit_(edit), wasVisible_(GetWindowLongW(edit, GWL_STYLE) & WS_VISIBLE) {
        if (wasVisible_) SetWindowLongW(edit_, GWL_STYLE, GetWindowLongW(edit_, GWL_STYLE) & ~WS_VISIBLE);
    }
    ~PaintingHeldBack() {
        if (!wasVisible_) return;
        SetWindowLongW(edit_, GWL_STYLE, GetWindowLongW(edit_, GWL_STYLE) | WS_VISIBLE);
        InvalidateRect(edit_, nullptr, TRUE);
    }
    PaintingHeldBack(const PaintingHeldBack&) = delete;
    PaintingHeldBack& operator=(const PaintingHeldBack&) = delete;

private:
    HWND edit_;
    bool wasVisible_;
};

void OutputBox::writeControl(bool caretToEnd) {
    WriteScope scope(*this);
    PaintingHeldBack heldBack(edit_);
    SetWindowTextW(edit_, wide(text_).c_str());
    if (caretToEnd) {
        const int end = GetWindowTextLengthW(edit_);
        SendMessageW(edit_, EM_SETSEL, end, end);
        SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
    }
}

void OutputBox::setText(std::string_view text) {
    text_.assign(text);
    if (batching_) {
        controlStale_ = true;
    } else {
        writeControl(false);
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
        SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide(text).c_str()));
    }
    if (changed_) changed_();
}

void OutputBox::onPlatformChange() {
    if (writing_) return;
    text_ = windowText(edit_);
    if (changed_) changed_();
}

OutputBox::Batch::Batch(OutputBox& box) : box_(box), outer_(box.batching_) {
    box_.batching_ = true;
}

OutputBox::Batch::~Batch() {
    box_.batching_ = outer_;
    if (outer_ || !box_.controlStale_) return;
    box_.controlStale_ = false;
    // One write of the final text, the caret left at its end as the appends
    // would have left it.
    box_.writeControl(true);
}
