#include <cairo.h>

#include <cstring>
#include <memory>

#include "svg_render.h"

namespace smear::render {

namespace {

cairo_status_t appendBytes(void *closure, const unsigned char *data, unsigned int length) {
    static_cast<std::string *>(closure)->append(reinterpret_cast<const char *>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

bool encodePng(const Picture &picture, std::string &png, std::string &error) {
    png.clear();
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != size_t(picture.width) * size_t(picture.height)) {
        error = "the picture is empty";
        return false;
    }
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture.width, picture.height), cairo_surface_destroy);
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        error = cairo_status_to_string(cairo_surface_status(surface.get()));
        return false;
    }
    cairo_surface_flush(surface.get());
    unsigned char *data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(data + size_t(y) * size_t(stride), &picture.pixels[size_t(y) * size_t(picture.width)],
                    size_t(picture.width) * sizeof(uint32_t));
    cairo_surface_mark_dirty(surface.get());
    const cairo_status_t status = cairo_surface_write_to_png_stream(surface.get(), appendBytes, &png);
    if (status != CAIRO_STATUS_SUCCESS) {
        error = cairo_status_to_string(status);
        return false;
    }
    return true;
}

}  // namespace smear::render
