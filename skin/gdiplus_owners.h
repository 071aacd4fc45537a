// Small owners for the skin's GDI+ (flat interface) and GDI objects. Each
// releases what it holds on every path and counts itself, so that a test
// can check that the number of live objects stays flat.
#pragma once

#include <objidl.h>
#include <gdiplus.h>

#include <utility>

namespace skin {

namespace gp = Gdiplus::DllExports;

// Live objects held by the owners below, by family.
struct LiveObjects {
    long gdiplus = 0;
    long gdi = 0;
    long dcs = 0;
};
LiveObjects& liveObjects();

template <typename T, Gdiplus::GpStatus (*Release)(T*)>
class GpOwner {
public:
    GpOwner() = default;
    explicit GpOwner(T* object) { reset(object); }
    ~GpOwner() { reset(); }
    GpOwner(const GpOwner&) = delete;
    GpOwner& operator=(const GpOwner&) = delete;
    GpOwner(GpOwner&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    GpOwner& operator=(GpOwner&& other) noexcept {
        if (this != &other) {
            reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    void reset(T* object = nullptr) {
        if (object_) {
            Release(object_);
            --liveObjects().gdiplus;
        }
        object_ = object;
        if (object_) ++liveObjects().gdiplus;
    }
    // For the flat functions' output arguments: releases what is held first.
    T** out() {
        reset();
        return &pending_;
    }
    // Takes over what out() received.
    void adopt() { reset(std::exchange(pending_, nullptr)); }
    T* get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_ = nullptr;
    T* pending_ = nullptr;
};

// The flat functions are __stdcall: plain functions stand in for them.
namespace release {
inline Gdiplus::GpStatus graphics(Gdiplus::GpGraphics* o) { return gp::GdipDeleteGraphics(o); }
inline Gdiplus::GpStatus path(Gdiplus::GpPath* o) { return gp::GdipDeletePath(o); }
inline Gdiplus::GpStatus pen(Gdiplus::GpPen* o) { return gp::GdipDeletePen(o); }
inline Gdiplus::GpStatus image(Gdiplus::GpImage* o) { return gp::GdipDisposeImage(o); }
inline Gdiplus::GpStatus font(Gdiplus::GpFont* o) { return gp::GdipDeleteFont(o); }
inline Gdiplus::GpStatus family(Gdiplus::GpFontFamily* o) { return gp::GdipDeleteFontFamily(o); }
inline Gdiplus::GpStatus format(Gdiplus::GpStringFormat* o) { return gp::GdipDeleteStringFormat(o); }
inline Gdiplus::GpStatus brush(Gdiplus::GpBrush* o) { return gp::GdipDeleteBrush(o); }
}  // namespace release

using Graphics = GpOwner<Gdiplus::GpGraphics, release::graphics>;
using Path = GpOwner<Gdiplus::GpPath, release::path>;
using Pen = GpOwner<Gdiplus::GpPen, release::pen>;
using Image = GpOwner<Gdiplus::GpImage, release::image>;
using Font = GpOwner<Gdiplus::GpFont, release::font>;
using FontFamily = GpOwner<Gdiplus::GpFontFamily, release::family>;
using StringFormat = GpOwner<Gdiplus::GpStringFormat, release::format>;
using Brush = GpOwner<Gdiplus::GpBrush, release::brush>;

// A bitmap is an image: created through a GpBitmap** and held as an image.
class Bitmap {
public:
    Gdiplus::GpBitmap** out() { return reinterpret_cast<Gdiplus::GpBitmap**>(image_.out()); }
    void adopt() { image_.adopt(); }
    Gdiplus::GpBitmap* get() const { return reinterpret_cast<Gdiplus::GpBitmap*>(image_.get()); }
    Gdiplus::GpImage* image() const { return image_.get(); }
    explicit operator bool() const { return static_cast<bool>(image_); }
    void reset() { image_.reset(); }

private:
    Image image_;
};

// GDI objects the skin creates (bitmaps, brushes, regions it keeps).
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(HGDIOBJ object) { reset(object); }
    ~GdiObject() { reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    void reset(HGDIOBJ object = nullptr) {
        if (object_) {
            DeleteObject(object_);
            --liveObjects().gdi;
        }
        object_ = object;
        if (object_) ++liveObjects().gdi;
    }
    // Hands the object to someone else (a window region, a property).
    HGDIOBJ release() {
        if (object_) --liveObjects().gdi;
        return std::exchange(object_, nullptr);
    }
    HGDIOBJ get() const { return object_; }
    HBITMAP bitmap() const { return static_cast<HBITMAP>(object_); }
    HBRUSH brush() const { return static_cast<HBRUSH>(object_); }
    explicit operator bool() const { return object_ != nullptr; }

private:
    HGDIOBJ object_ = nullptr;
};

// A memory DC with the bitmap selected into it; the DC's initial bitmap is
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
        if (!dc_) {
            dc_ = CreateCompatibleDC(nullptr);
            if (!dc_) {
                GdiObject discard(bitmap);
                return;
            }
            ++liveObjects().dcs;
        }
        HGDIOBJ previous = SelectObject(dc_, bitmap);
        if (!initial_) initial_ = previous;
        bitmap_.reset(bitmap);
    }
    void reset() {
        if (!dc_) return;
        if (initial_) SelectObject(dc_, initial_);
        bitmap_.reset();
        DeleteDC(dc_);
        --liveObjects().dcs;
        dc_ = nullptr;
        initial_ = nullptr;
    }
    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_.bitmap(); }
    HGDIOBJ initial() const { return initial_; }

private:
    HDC dc_ = nullptr;
    HGDIOBJ initial_ = nullptr;
    GdiObject bitmap_;
};

// A window DC obtained with GetDC, released on every path.
class WindowDC {
public:
    WindowDC(HWND hwnd, HDC dc) : hwnd_(hwnd), dc_(dc) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

}  // namespace skin
