// The output box's writes. Every program write reports exactly one change,
// whether or not the platform sends a notification for it (a multi-line
// edit box sends none for WM_SETTEXT under Wine, one under Windows).
// The box's text is mirrored here, so that readers during a run of writes
// need not copy it out of the control each time; so is the control's own
// copy, so that a batch's end rewrites only the lines that differ.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace ui {

class OutputBox {
public:
    OutputBox(HWND edit, std::function<void()> changed);

    // Replaces the whole text: one change.
    void setText(std::string_view text);
    // Moves the caret to the end, scrolls to it and inserts there: one change.
    void append(std::string_view text);
    // What the box shows (or will show when a batch ends).
    const std::string& text() const { return text_; }

    // The platform's change notification: a user edit is read back and
    // reported; our own writes report themselves.
    void onPlatformChange();

    HWND hwnd() const { return edit_; }

    // Gathers a run of writes (a composition) into one write of the control
    // at its end. Each write still reports its change at once, and text()
    // answers with the text as it stands; only the control's copy waits.
    class Batch {
    public:
        explicit Batch(OutputBox& box);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        OutputBox& box_;
        bool outer_;
    };

private:
    class WriteScope;
    class PaintingHeldBack;
    void writeControl();
    void replaceChangedLines();

    HWND edit_;
    std::function<void()> changed_;
    std::wstring shown_;  // what the control holds
    std::string text_;
    bool writing_ = false;
    bool batching_ = false;
    bool controlStale_ = false;
};

}  // namespace ui
