// One small owner per kind of Windows handle, for the skin, the user
// interface and the tests alike: each releases exactly what it holds, on
// every path. Copies are deleted; the movable ones hand over on a move.
// GDI objects, memory DCs and owned icons count themselves in
// liveObjects(), so that a test can check that the numbers stay flat.
// (The GDI+ objects have their owners in gdiplus_owners.h.)
#pragma once

#include <windows.h>

#include <utility>

namespace skin {

// Live objects held by the owners (and by the GDI+ owners), by family.
struct LiveObjects {
    long gdiplus = 0;
    long gdi = 0;
    long dcs = 0;
};
LiveObjects& liveObjects();

// The one owner of a counted object: `Free` releases it when the owner goes,
// and liveObjects().*Count holds how many are alive. GDI objects and the
// GDI+ objects of gdiplus_owners.h are both owned through it.
template <typename T, auto Free, long LiveObjects::*Count>
class CountedOwner {
public:
    CountedOwner() = default;
    explicit CountedOwner(T object) { reset(object); }
    ~CountedOwner() { reset(); }
    CountedOwner(const CountedOwner&) = delete;
    CountedOwner& operator=(const CountedOwner&) = delete;
    CountedOwner(CountedOwner&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    CountedOwner& operator=(CountedOwner&& other) noexcept {
        if (this != &other) {
            reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    void reset(T object = nullptr) {
        if (object_) {
            Free(object_);
            --(liveObjects().*Count);
        }
        object_ = object;
        if (object_) ++(liveObjects().*Count);
    }
    // Hands the object to someone else (a window region, a property).
    T release() {
        if (object_) --(liveObjects().*Count);
        return std::exchange(object_, nullptr);
    }
    // For the output arguments of creating functions: releases what is held
    // first; adopt() then takes over what was received.
    T* out() {
        reset();
        return &pending_;
    }
    void adopt() { reset(std::exchange(pending_, nullptr)); }
    T get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T object_ = nullptr;
    T pending_ = nullptr;
};

// A GDI object (bitmap, brush, pen, font, region), deleted with DeleteObject.
inline void deleteGdiObject(HGDIOBJ object) { DeleteObject(object); }
template <typename Handle>
class GdiOwner : public CountedOwner<Handle, deleteGdiObject, &LiveObjects::gdi> {
public:
    using CountedOwner<Handle, deleteGdiObject, &LiveObjects::gdi>::CountedOwner;
    HBITMAP bitmap() const { return static_cast<HBITMAP>(this->get()); }
    HBRUSH brush() const { return static_cast<HBRUSH>(this->get()); }
    HRGN region() const { return static_cast<HRGN>(this->get()); }
};

using GdiObject = GdiOwner<HGDIOBJ>;
using GdiFont = GdiOwner<HFONT>;
using GdiBrush = GdiOwner<HBRUSH>;

// An icon handed out for us to destroy (ImageList_GetIcon).
inline void destroyIcon(HICON icon) { DestroyIcon(icon); }
using OwnedIcon = CountedOwner<HICON, destroyIcon, &LiveObjects::gdi>;

// A memory DC (CreateCompatibleDC), deleted with DeleteDC.
inline void deleteMemoryDC(HDC dc) { DeleteDC(dc); }
using MemoryDCOwner = CountedOwner<HDC, deleteMemoryDC, &LiveObjects::dcs>;
class MemoryDC : public MemoryDCOwner {
public:
    explicit MemoryDC(HDC compatibleWith) : MemoryDCOwner(CreateCompatibleDC(compatibleWith)) {}
};

// A memory DC with a bitmap selected into it; the DC's initial bitmap is
// put back before the DC goes.
class MemoryCanvas {
public:
    MemoryCanvas() = default;
    ~MemoryCanvas() { reset(); }
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;

    // Creates the DC when needed and selects `bitmap` (owned from now on),
    // deleting the bitmap it replaces.
    void select(HBITMAP bitmap) {
        if (!dc_) dc_.reset(CreateCompatibleDC(nullptr));
        if (!dc_) {
            GdiObject discard(bitmap);
            return;
        }
        HGDIOBJ previous = SelectObject(dc_.get(), bitmap);
        if (!initial_) initial_ = previous;
        bitmap_.reset(bitmap);
    }
    void reset() {
        if (!dc_) return;
        if (initial_) SelectObject(dc_.get(), initial_);
        bitmap_.reset();
        dc_.reset();
        initial_ = nullptr;
    }
    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return bitmap_.bitmap(); }
    HGDIOBJ initial() const { return initial_; }

private:
    MemoryDCOwner dc_;
    HGDIOBJ initial_ = nullptr;
    GdiObject bitmap_;
};

// The DC of a window's client area (GetDC; the screen for a null window),
// released with ReleaseDC; or a DC handed in (a paint DC), which stays the
// caller's.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : WindowDC(hwnd, GetDC(hwnd), true) {}
    WindowDC(HWND hwnd, HDC given) : WindowDC(hwnd, given ? given : GetDC(hwnd), !given) {}
    ~WindowDC() {
        if (dc_ && owned_) ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

protected:
    WindowDC(HWND hwnd, HDC dc, bool owned) : hwnd_(hwnd), dc_(dc), owned_(owned) {}

private:
    HWND hwnd_;
    HDC dc_;
    bool owned_;
};

// The DC of the whole window, border and scroll bars included (GetWindowDC),
// released like the client area's.
class WholeWindowDC : public WindowDC {
public:
    explicit WholeWindowDC(HWND hwnd) : WindowDC(hwnd, GetWindowDC(hwnd), true) {}
};

// A WM_PAINT's BeginPaint, ended with EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ~PaintDC() { EndPaint(hwnd_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return dc_; }
    const RECT& dirty() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// An object selected into a DC; the one it replaced is selected back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (previous_) SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A COM interface pointer, released once.
template <typename Interface>
class ComPointer {
public:
    ComPointer() = default;
    explicit ComPointer(Interface* pointer) : pointer_(pointer) {}
    ~ComPointer() {
        if (pointer_) pointer_->Release();
    }
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;
    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    // For creation functions' output arguments (only while empty).
    Interface** out() { return &pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

private:
    Interface* pointer_ = nullptr;
};

}  // namespace skin
