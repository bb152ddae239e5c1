// The tool suite: the palette the plug-in adds its tools to.
#include "host.h"

namespace smear {

namespace {

const char kTool[] = "AI Tool Suite";

// Tool numbers below this belong to the host's own tools.
const ASInt16 kFirstPluginToolNumber = 100;

PaletteTool *toTool(AIToolHandle tool) {
    for (PaletteTool &t : currentHost().palette)
        if (reinterpret_cast<AIToolHandle>(&t) == tool) return &t;
    return nullptr;
}

const PaletteTool *toolByNumber(ASInt16 number) {
    for (const PaletteTool &t : currentHost().palette)
        if (t.number == number) return &t;
    return nullptr;
}

SPErr addTool(SPPluginRef plugin, const char *name, const AIAddToolData *data, ASInt32 options,
              AIToolHandle *tool) {
    if (SPErr e = enterSuite(kTool, "AddTool", name ? name : "")) return e;
    Host &host = currentHost();
    if (plugin != host.pluginRef() || name == nullptr || data == nullptr || tool == nullptr)
        return kBadParameterErr;
    for (const PaletteTool &t : host.palette)
        if (t.name == name) return kBadParameterErr;  // names identify tools
    PaletteTool t;
    t.name = name;
    t.title = data->title ? data->title : name;
    t.tooltip = data->tooltip ? data->tooltip : "";
    t.icon = data->icon;
    t.number = ASInt16(kFirstPluginToolNumber + ASInt16(host.palette.size()));
    t.options = options;
    t.plugin = plugin;
    // A tool joins the group or toolset of an existing tool, or opens its own.
    auto join = [&](ASInt16 requested, ASInt16 &out) {
        if (requested == kNoTool) {
            out = t.number;
            return true;
        }
        const PaletteTool *other = toolByNumber(requested);
        if (other == nullptr) return false;
        out = &out == &t.groupNumber ? other->groupNumber : other->toolsetNumber;
        return true;
    };
    if (!join(data->sameGroupAs, t.groupNumber) || !join(data->sameToolsetAs, t.toolsetNumber))
        return kBadParameterErr;
    host.palette.push_back(std::move(t));
    *tool = reinterpret_cast<AIToolHandle>(&host.palette.back());
    return kNoErr;
}

SPErr getToolName(AIToolHandle tool, const char **name) {
    if (SPErr e = enterSuite(kTool, "GetToolName")) return e;
    PaletteTool *t = toTool(tool);
    if (t == nullptr || name == nullptr) return kBadParameterErr;
    *name = t->name.c_str();
    return kNoErr;
}

SPErr getToolOptions(AIToolHandle tool, ASInt32 *options) {
    if (SPErr e = enterSuite(kTool, "GetToolOptions")) return e;
    PaletteTool *t = toTool(tool);
    if (t == nullptr || options == nullptr) return kBadParameterErr;
    *options = t->options;
    return kNoErr;
}

SPErr setToolOptions(AIToolHandle tool, ASInt32 options) {
    if (SPErr e = enterSuite(kTool, "SetToolOptions")) return e;
    PaletteTool *t = toTool(tool);
    if (t == nullptr) return kBadParameterErr;
    t->options = options;
    return kNoErr;
}

SPErr getToolPlugin(AIToolHandle tool, SPPluginRef *plugin) {
    if (SPErr e = enterSuite(kTool, "GetToolPlugin")) return e;
    PaletteTool *t = toTool(tool);
    if (t == nullptr || plugin == nullptr) return kBadParameterErr;
    *plugin = t->plugin;
    return kNoErr;
}

SPErr getSelectedTool(AIToolHandle *tool) {
    if (SPErr e = enterSuite(kTool, "GetSelectedTool")) return e;
    if (tool == nullptr) return kBadParameterErr;
    *tool = currentHost().selectedTool;
    return kNoErr;
}

SPErr setSelectedTool(AIToolHandle tool) {
    if (SPErr e = enterSuite(kTool, "SetSelectedTool")) return e;
    if (toTool(tool) == nullptr) return kBadParameterErr;
    currentHost().selectedTool = tool;
    return kNoErr;
}

SPErr countTools(ASInt32 *count) {
    if (SPErr e = enterSuite(kTool, "CountTools")) return e;
    if (count == nullptr) return kBadParameterErr;
    *count = ASInt32(currentHost().palette.size());
    return kNoErr;
}

SPErr getNthTool(ASInt32 n, AIToolHandle *tool) {
    if (SPErr e = enterSuite(kTool, "GetNthTool")) return e;
    auto &palette = currentHost().palette;
    if (tool == nullptr || n < 0 || size_t(n) >= palette.size()) return kBadParameterErr;
    *tool = reinterpret_cast<AIToolHandle>(&palette[size_t(n)]);
    return kNoErr;
}

SPErr getToolHandleFromNumber(ASInt16 number, AIToolHandle *tool) {
    if (SPErr e = enterSuite(kTool, "GetToolHandleFromNumber")) return e;
    const PaletteTool *t = toolByNumber(number);
    if (t == nullptr || tool == nullptr) return kBadParameterErr;
    *tool = reinterpret_cast<AIToolHandle>(const_cast<PaletteTool *>(t));
    return kNoErr;
}

SPErr getToolNumberFromName(const char *name, ASInt16 *number) {
    if (SPErr e = enterSuite(kTool, "GetToolNumberFromName", name ? name : "")) return e;
    if (name == nullptr || number == nullptr) return kBadParameterErr;
    for (const PaletteTool &t : currentHost().palette) {
        if (t.name == name) {
            *number = t.number;
            return kNoErr;
        }
    }
    return kNoSuchEntryErr;
}

SPErr getToolNumberFromHandle(AIToolHandle tool, ASInt16 *number) {
    if (SPErr e = enterSuite(kTool, "GetToolNumberFromHandle")) return e;
    PaletteTool *t = toTool(tool);
    if (t == nullptr || number == nullptr) return kBadParameterErr;
    *number = t->number;
    return kNoErr;
}

SPErr systemHasPressure(ASBoolean *hasPressure) {
    if (SPErr e = enterSuite(kTool, "SystemHasPressure")) return e;
    if (hasPressure == nullptr) return kBadParameterErr;
    *hasPressure = currentHost().pressureSupport ? 1 : 0;
    return kNoErr;
}

const AIToolSuite toolSuite = {addTool,
                               getToolName,
                               getToolOptions,
                               setToolOptions,
                               getToolPlugin,
                               getSelectedTool,
                               setSelectedTool,
                               countTools,
                               getNthTool,
                               getToolHandleFromNumber,
                               getToolNumberFromName,
                               getToolNumberFromHandle,
                               systemHasPressure};

}  // namespace

void registerToolSuite(SuiteRegistry &r) { r.add(kAIToolSuite, kAIToolSuiteVersion, &toolSuite); }

}  // namespace smear
