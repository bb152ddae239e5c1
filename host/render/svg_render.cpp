#include "svg_render.h"

#include <cairo.h>
#include <gio/gio.h>
#include <librsvg/rsvg.h>

#include <cmath>
#include <cstring>
#include <memory>

namespace smear::render {

namespace {

struct GObjectFree {
    void operator()(void *p) const { g_object_unref(p); }
};
template <class T> using GPtr = std::unique_ptr<T, GObjectFree>;

std::string takeMessage(GError *e, const char *fallback) {
    std::string message = e != nullptr && e->message != nullptr ? e->message : fallback;
    if (e != nullptr) g_error_free(e);
    return message;
}

// The file's text as a handle; relative references resolve against
// `baseFile` as they would for the file itself.
GPtr<RsvgHandle> load(const std::string &svg, const std::string &baseFile, std::string &error) {
    GPtr<GInputStream> stream(g_memory_input_stream_new_from_data(svg.data(), gssize(svg.size()), nullptr));
    GPtr<GFile> base(g_file_new_for_path(baseFile.empty() ? "." : baseFile.c_str()));
    GError *e = nullptr;
    GPtr<RsvgHandle> handle(
        rsvg_handle_new_from_stream_sync(stream.get(), base.get(), RSVG_HANDLE_FLAGS_NONE, nullptr, &e));
    if (!handle) {
        error = "librsvg cannot read it: " + takeMessage(e, "no reason given");
        return handle;
    }
    // Lengths in mm, in, pt or pc are CSS pixels at 96 to the inch, as the
    // reader takes them and browsers and rsvg-convert draw them. The
    // library's own default is 90: a painted rect written back as a path in
    // pixels would be drawn away from where its untouched neighbours in mm
    // are drawn.
    rsvg_handle_set_dpi(handle.get(), 96.0);
    return handle;
}

void frameOf(RsvgHandle *handle, SvgFrame &frame) {
    gboolean hasWidth = FALSE, hasHeight = FALSE, hasViewBox = FALSE;
    RsvgLength w{}, h{};
    RsvgRectangle box{};
    rsvg_handle_get_intrinsic_dimensions(handle, &hasWidth, &w, &hasHeight, &h, &hasViewBox, &box);
    frame.hasViewBox = hasViewBox != FALSE;
    if (frame.hasViewBox) {
        frame.viewBox[0] = box.x;
        frame.viewBox[1] = box.y;
        frame.viewBox[2] = box.width;
        frame.viewBox[3] = box.height;
    }
    double pw = 0, ph = 0;
    if (rsvg_handle_get_intrinsic_size_in_pixels(handle, &pw, &ph) && pw > 0 && ph > 0) {
        frame.width = pw;
        frame.height = ph;
        frame.sized = true;
    } else if (frame.hasViewBox && box.width > 0 && box.height > 0) {
        frame.width = box.width;
        frame.height = box.height;
    } else {
        frame.width = frame.height = 100;
    }
}

}  // namespace

bool svgFrame(const std::string &svg, const std::string &baseFile, SvgFrame &frame, std::string &error) {
    GPtr<RsvgHandle> handle = load(svg, baseFile, error);
    if (!handle) return false;
    frameOf(handle.get(), frame);
    return true;
}

bool renderSvg(const std::string &svg, const std::string &baseFile, double scale, size_t maxPixels,
               Picture &picture, std::string &error) {
    GPtr<RsvgHandle> handle = load(svg, baseFile, error);
    if (!handle) return false;
    SvgFrame frame;
    frameOf(handle.get(), frame);
    const double w = frame.width * scale, h = frame.height * scale;
    if (!(w > 0 && h > 0 && w * h <= double(maxPixels) && w < 1e6 && h < 1e6)) {
        error = "the picture would be " + std::to_string(w) + " x " + std::to_string(h) + " pixels";
        return false;
    }
    picture.width = std::max(1, int(std::ceil(w)));
    picture.height = std::max(1, int(std::ceil(h)));
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture.width, picture.height), cairo_surface_destroy);
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(surface.get()), cairo_destroy);
    const RsvgRectangle viewport{0, 0, w, h};
    GError *e = nullptr;
    if (!rsvg_handle_render_document(handle.get(), cr.get(), &viewport, &e)) {
        error = "librsvg cannot draw it: " + takeMessage(e, "no reason given");
        return false;
    }
    cairo_surface_flush(surface.get());
    const unsigned char *data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    picture.pixels.resize(size_t(picture.width) * size_t(picture.height));
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(&picture.pixels[size_t(y) * size_t(picture.width)], data + size_t(y) * size_t(stride),
                    size_t(picture.width) * 4);
    return true;
}

}  // namespace smear::render
