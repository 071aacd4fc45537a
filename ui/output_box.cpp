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

void OutputBox::setText(std::string_view text) {
    {
        WriteScope scope(*this);
        SetWindowTextW(edit_, wide(text).c_str());
    }
    if (changed_) changed_();
}

void OutputBox::append(std::string_view text) {
    {
        WriteScope scope(*this);
        const int end = GetWindowTextLengthW(edit_);
        SendMessageW(edit_, EM_SETSEL, end, end);
        SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
        SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide(text).c_str()));
    }
    if (changed_) changed_();
}

std::string OutputBox::text() const {
    return windowText(edit_);
}

void OutputBox::onPlatformChange() {
    if (!writing_ && changed_) changed_();
}

// Clearing the visible bit is what WM_SETREDRAW does on Windows; Wine's edit
// control ignores WM_SETREDRAW and repaints on every insertion (about 20 ms
// each), so the bit is cleared directly. Nothing is hidden or moved.
OutputBox::BatchedPainting::BatchedPainting(OutputBox& box)
    : edit_(box.edit_), wasVisible_(GetWindowLongW(box.edit_, GWL_STYLE) & WS_VISIBLE) {
    if (wasVisible_) SetWindowLongW(edit_, GWL_STYLE, GetWindowLongW(edit_, GWL_STYLE) & ~WS_VISIBLE);
}

OutputBox::BatchedPainting::~BatchedPainting() {
    if (!wasVisible_) return;
    SetWindowLongW(edit_, GWL_STYLE, GetWindowLongW(edit_, GWL_STYLE) | WS_VISIBLE);
    InvalidateRect(edit_, nullptr, TRUE);
}
