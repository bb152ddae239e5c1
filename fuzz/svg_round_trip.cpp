// What the reader takes in, the writer writes so that it reads again, with
// as many art objects; and so does the drawing after a stroke of one tool
// over all of it. The sum of the input's bytes picks the tool, so that the
// seeds stay plain SVG files and any change to one may change the tool. Every file
// written must be well-formed XML with every prefix declared: expat, with
// namespaces, refuses an unbound prefix, where a plain XML parser does not.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include <expat.h>

#include "host.h"
#include "session.h"
#include "svg.h"
#include "tool_names.h"

extern "C" SPErr PluginMain(const char *caller, const char *selector, void *message);

namespace {

size_t countArt(const smear::Document &doc) {
    size_t n = 0;
    doc.forEachArt([&](const smear::Art &) { ++n; });
    return n;
}

[[noreturn]] void fail(const char *what, const std::string &detail, const std::string &written) {
    std::fprintf(stderr, "%s: %s\n%s\n", what, detail.c_str(), written.c_str());
    std::abort();
}

// Empty when `text` is well-formed XML whose prefixes are all declared.
std::string namespaceError(const std::string &text) {
    XML_Parser parser = XML_ParserCreateNS(nullptr, '\x01');
    std::string error;
    if (XML_Parse(parser, text.data(), int(text.size()), 1) == XML_STATUS_ERROR)
        error = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
                std::to_string(XML_GetCurrentLineNumber(parser));
    XML_ParserFree(parser);
    return error;
}

// Writes the document, checks the text (when the input was well-formed) and reads it back: as many objects.
void writeAndReadBack(const smear::Document &doc, bool wellFormed, const char *when) {
    std::string written, error;
    if (!smear::writeSvg(doc, written, error)) fail(when, "what was read does not write: " + error, "");
    const std::string malformed = wellFormed ? namespaceError(written) : std::string();
    if (!malformed.empty()) fail(when, "the written file is not well-formed: " + malformed, written);
    smear::Document again;
    smear::SvgReadReport report;
    if (!smear::readSvgString(written, again, report, error)) fail(when, "the written file does not read: " + error, written);
    if (countArt(doc) != countArt(again))
        fail(when, std::to_string(countArt(doc)) + " art objects, " + std::to_string(countArt(again)) + " read back",
             written);
}

// The drawing's bounds in SVG user units, corner to corner; false for a
// drawing without any.
bool drawingDiagonal(const smear::Document &doc, AIRealPoint &from, AIRealPoint &to) {
    bool any = false;
    AIRealRect all{};
    doc.forEachArt([&](const smear::Art &art) {
        AIRealRect r{};
        if (!smear::artBounds(art, r)) return;
        if (!any) all = r;
        all.left = std::min(all.left, r.left);
        all.right = std::max(all.right, r.right);
        all.top = std::max(all.top, r.top);
        all.bottom = std::min(all.bottom, r.bottom);
        any = true;
    });
    // Document space has y up; SVG's has it down.
    from = AIRealPoint{all.left, -all.top};
    to = AIRealPoint{all.right, -all.bottom};
    return any;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    size_t toolChoice = 0;
    for (size_t i = 0; i < size; ++i) toolChoice += data[i];
    auto doc = std::make_unique<smear::Document>();
    smear::SvgReadReport report;
    std::string error;
    const std::string text(reinterpret_cast<const char *>(data), size);
    if (!smear::readSvgString(text, *doc, report, error)) return 0;
    const bool wellFormed = namespaceError(text).empty();
    writeAndReadBack(*doc, wellFormed, "as read");

    // Painting is slower than reading: a few hundred objects say as much.
    AIRealPoint from{}, to{};
    if (countArt(*doc) > 400 || !drawingDiagonal(*doc, from, to)) return 0;
    smear::Host host;
    if (!host.attachLinked(&PluginMain, std::string(SMEAR_BUILD_DIR) + "/Smearcraft.res", error)) __builtin_trap();
    host.replaceDocument(std::move(doc));
    std::ostringstream transcript;
    {
        smear::SessionRunner runner(host, transcript);
        smear::SessionStep startup, select;
        startup.kind = smear::SessionStep::Kind::Startup;
        select.kind = smear::SessionStep::Kind::Select;
        select.selectAll = true;
        if (runner.runStep(startup, error) && !host.palette.empty() && runner.runStep(select, error)) {
            const std::string tool = smear::shortToolName(host.palette[toolChoice % host.palette.size()].title);
            runner.runStep(smear::straightStroke(tool, from, to, 6, 255), error);
        }
        runner.quit();
    }
    writeAndReadBack(host.document(), wellFormed, "after a stroke");
    return 0;
}
