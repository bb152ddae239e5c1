// The page parses the drawing's markup inside a root that declares the
// namespaces its script names: every prefix the studio's markup uses must be
// one of them, or the browser refuses the whole drawing. The built-in sample
// holds every kind of paint, named styles and swatches.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "page_files.h"
#include "studio.h"
#include "studio_api.h"
#include "xml_namespace_check.h"

extern "C" SPErr PluginMain(const char *caller, const char *selector, void *message);

namespace smear {
namespace {

using nlohmann::json;

std::string pageScript() {
    for (const PageFile *f = studioPageFiles(); f->name; ++f)
        if (std::string(f->name) == "studio.js") return std::string(reinterpret_cast<const char *>(f->data), f->size);
    return {};
}

TEST(StudioPageNamespaces, EveryPrefixOfTheSampleDrawingIsOneThePageDeclares) {
    const std::string script = pageScript();
    ASSERT_FALSE(script.empty());
    std::string declarations = " xmlns=\"http://www.w3.org/2000/svg\"";
    const std::regex xmlns(R"re(xmlns:([A-Za-z_][\w.-]*)="([^"]+)")re");
    for (std::sregex_iterator m(script.begin(), script.end(), xmlns), end; m != end; ++m)
        declarations += " xmlns:" + (*m)[1].str() + "=\"" + (*m)[2].str() + "\"";

    StudioOptions options;  // no drawing: the built-in sample
    options.attach = [](Host &host, std::string &e) {
        return host.attachLinked(&PluginMain, std::string(SMEAR_BUILD_DIR) + "/Smearcraft.res", e);
    };
    Studio studio(options);
    std::string error;
    ASSERT_TRUE(studio.open(error)) << error;
    const StudioResponse r = handleStudioRequest(studio, StudioRequest{"POST", "/api/drawing", {}, "{}", {}, {}, {}});
    ASSERT_EQ(r.status, 200) << r.body;
    const json drawing = json::parse(r.body);
    std::string markup = drawing["defs"].get<std::string>();
    size_t objects = 0;
    for (const json &layer : drawing["layers"])
        for (const json &object : layer["objects"]) {
            markup += object[1].get<std::string>();
            ++objects;
        }
    ASSERT_GT(objects, 10u);
    EXPECT_EQ(namespaceProblem("<svg" + declarations + ">" + markup + "</svg>"), "");
}

}  // namespace
}  // namespace smear
