// The output box's writes. Every program write reports exactly one change,
// whether or not the platform sends a notification for it (a multi-line
// edit box sends none for WM_SETTEXT under some systems, one under others).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

class OutputBox {
public:
    OutputBox(HWND edit, std::function<void()> changed) : edit_(edit), changed_(std::move(changed)) {}

    // Replaces the whole text: one change.
    void setText(std::string_view text);
    // Moves the caret to the end, scrolls to it and inserts there: one change.
    void append(std::string_view text);
    std::string text() const;

    // The platform's change notification: reported unless it stems from one
    // of our own writes (which report themselves).
    void onPlatformChange();

    HWND hwnd() const { return edit_; }

    // Holds the box's painting back while a run of writes rebuilds it, and
    // paints the result once.
    class BatchedPainting {
    public:
        explicit BatchedPainting(OutputBox& box);
        ~BatchedPainting();
        BatchedPainting(const BatchedPainting&) = delete;
        BatchedPainting& operator=(const BatchedPainting&) = delete;

    private:
        HWND edit_;
        bool wasVisible_;
    };

private:
    class WriteScope;
    HWND edit_;
    std::function<void()> changed_;
    bool writing_ = false;
};
