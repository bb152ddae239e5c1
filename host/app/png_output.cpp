// --png: the written drawing drawn by librsvg (the renderer of Debian's
// rsvg-convert), where this build has it.
#include "app.h"
#include "session_files.h"
#include "svg.h"

#ifdef SMEAR_HAVE_RENDER
#include "svg_render.h"
#endif

namespace smear::app {

namespace {

// Past this a picture is refused rather than filling the memory: 16384 x 16384.
constexpr size_t kMaxPngPixels = size_t(1) << 28;

}  // namespace

bool pngAvailable(std::string &why) {
#ifdef SMEAR_HAVE_RENDER
    why.clear();
    return true;
#else
#ifdef _WIN32
    why = "--png is not available on Windows: smearhost.exe is built without librsvg; "
          "draw the SVG file with another program";
#else
    why = "--png is not available: this smearhost was built without librsvg "
          "(install librsvg2-dev, as scripts/setup.sh does, and build again)";
#endif
    return false;
#endif
}

bool writePngOf(const std::string &svg, const std::string &baseFile, const std::string &pngPath, std::string &error) {
#ifdef SMEAR_HAVE_RENDER
    std::string png;
    render::Picture picture;
    if (!render::renderSvg(svg, baseFile, 1.0, kMaxPngPixels, picture, error) ||
        !render::encodePng(picture, png, error)) {
        error = pngPath + ": cannot draw " + baseFile + ": " + error;
        return false;
    }
    return writeOutput(pngPath, png, error);
#else
    (void)svg;
    (void)baseFile;
    (void)pngPath;
    pngAvailable(error);
    return false;
#endif
}

}  // namespace smear::app
