// Small owners for GDI+ objects (flat interface) and for GDI+ itself. Each
// releases what it holds on every path and counts itself in liveObjects(),
// so that a test can check that the number of live objects stays flat.
#pragma once

#include <objidl.h>
#include <gdiplus.h>

#include <utility>

#include "skin/handle_owners.h"

namespace skin {

namespace gp = Gdiplus::DllExports;

// Keeps GDI+ running for the lifetime of the object: the one place that
// starts it (GDI+ counts the sessions, so nested ones are safe).
class GdiplusSession {
public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
    }
    ~GdiplusSession() {
        if (token_) Gdiplus::GdiplusShutdown(token_);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool ok() const { return token_ != 0; }

private:
    ULONG_PTR token_ = 0;
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

// A GDI+ object owned and counted like a GDI object, released by `Release`.
template <typename T, Gdiplus::GpStatus (*Release)(T*)>
using GpOwner = CountedOwner<T*, Release, &LiveObjects::gdiplus>;

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

}  // namespace skin
