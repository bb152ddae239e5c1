// The host's general suites: plug-in options, memory handles, undo, random
// numbers, preferences, document and tools. Real maths and strings live in
// their own sources.
#include <cstring>

#include "host.h"

namespace smear {

namespace {

const char kPlugin[] = "AI Plugin Suite";
const char kMemory[] = "AI MdMemory Suite";
const char kUndo[] = "AI Undo Suite";
const char kPreference[] = "AI Preference Suite";
const char kDocument[] = "AI Document Suite";
const char kTool[] = "AI Tool Suite";

// ---- Plug-in options

SPErr getPluginOptions(SPPluginRef plugin, ASInt32 *options) {
    if (SPErr e = enterSuite(kPlugin, "GetPluginOptions")) return e;
    if (plugin != currentHost().pluginRef() || options == nullptr) return kBadParameterErr;
    *options = currentHost().pluginOptions;
    return kNoErr;
}

SPErr setPluginOptions(SPPluginRef plugin, ASInt32 options) {
    if (SPErr e = enterSuite(kPlugin, "SetPluginOptions", std::to_string(options))) return e;
    if (plugin != currentHost().pluginRef()) return kBadParameterErr;
    currentHost().pluginOptions = options;
    return kNoErr;
}

SPErr getPluginName(SPPluginRef plugin, const char **name) {
    if (SPErr e = enterSuite(kPlugin, "GetPluginName")) return e;
    if (plugin != currentHost().pluginRef() || name == nullptr) return kBadParameterErr;
    *name = "Smearcraft";
    return kNoErr;
}

// ---- Memory handles

MemoryBlock *findBlock(AIMdMemoryHandle handle) {
    auto &handles = currentHost().memoryHandles;
    auto it = handles.find(handle);
    return it == handles.end() ? nullptr : it->second.get();
}

SPErr newHandle(size_t size, AIMdMemoryHandle *handle) {
    if (SPErr e = enterSuite(kMemory, "MdMemoryNewHandle", std::to_string(size))) return e;
    if (handle == nullptr) return kBadParameterErr;
    *handle = newMemoryHandle(size);
    return kNoErr;
}

SPErr disposeHandle(AIMdMemoryHandle handle) {
    if (SPErr e = enterSuite(kMemory, "MdMemoryDisposeHandle")) return e;
    if (findBlock(handle) == nullptr) return kBadParameterErr;  // never allocated, or released twice
    currentHost().memoryHandles.erase(handle);
    return kNoErr;
}

SPErr getSize(AIMdMemoryHandle handle, size_t *size) {
    if (SPErr e = enterSuite(kMemory, "MdMemoryGetSize")) return e;
    MemoryBlock *block = findBlock(handle);
    if (block == nullptr || size == nullptr) return kBadParameterErr;
    *size = block->bytes.size();
    return kNoErr;
}

SPErr resize(AIMdMemoryHandle handle, size_t newSize) {
    if (SPErr e = enterSuite(kMemory, "MdMemoryResize", std::to_string(newSize))) return e;
    MemoryBlock *block = findBlock(handle);
    if (block == nullptr) return kBadParameterErr;
    block->bytes.resize(newSize == 0 ? 1 : newSize, 0);
    block->master = block->bytes.data();
    return kNoErr;
}

// ---- Undo

SPErr setUndoText(const char *, const char *) { return enterSuite(kUndo, "SetUndoText"); }

SPErr closeUndoStep() {
    if (SPErr e = enterSuite(kUndo, "CloseUndoStep")) return e;
    currentHost().closeUndoStep();
    return kNoErr;
}

SPErr undoChanges() {
    if (SPErr e = enterSuite(kUndo, "UndoChanges")) return e;
    return currentHost().undo() ? kNoErr : kBadParameterErr;
}

// ---- Random numbers

AIReal floatRnd() {
    currentHost().log.record("AI Random Suite", "FloatRnd");
    return currentHost().random.next();
}
void setRndSeed(ASInt32 seed) { currentHost().random.seed(uint32_t(seed)); }
ASInt32 getRndSeed() { return ASInt32(currentHost().random.seedValue()); }

// ---- Preferences (not called by the plug-in; kept in memory)

std::map<std::string, ASInt32> &preferences() { return currentHost().preferences; }

SPErr getIntegerPreference(const char *prefix, const char *suffix, ASInt32 *value) {
    if (SPErr e = enterSuite(kPreference, "GetIntegerPreference")) return e;
    if (prefix == nullptr || suffix == nullptr || value == nullptr) return kBadParameterErr;
    auto it = preferences().find(std::string(prefix) + "/" + suffix);
    if (it == preferences().end()) return kNoSuchEntryErr;
    *value = it->second;
    return kNoErr;
}

SPErr putIntegerPreference(const char *prefix, const char *suffix, ASInt32 value) {
    if (SPErr e = enterSuite(kPreference, "PutIntegerPreference")) return e;
    if (prefix == nullptr || suffix == nullptr) return kBadParameterErr;
    preferences()[std::string(prefix) + "/" + suffix] = value;
    return kNoErr;
}

// ---- Document (not called by the plug-in)

SPErr getDocument(AIDocumentHandle *document) {
    if (SPErr e = enterSuite(kDocument, "GetDocument")) return e;
    if (document == nullptr) return kBadParameterErr;
    *document = reinterpret_cast<AIDocumentHandle>(&currentHost().document());
    return kNoErr;
}

SPErr getDocumentFileName(char *name, ASInt32 maxLength) {
    if (SPErr e = enterSuite(kDocument, "GetDocumentFileName")) return e;
    if (name == nullptr || maxLength <= 0) return kBadParameterErr;
    std::strncpy(name, "Untitled", size_t(maxLength) - 1);
    name[maxLength - 1] = '\0';
    return kNoErr;
}

// ---- Tools

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

const AIPluginSuite pluginSuite = {getPluginOptions, setPluginOptions, getPluginName};
const AIMdMemorySuite memorySuite = {newHandle, disposeHandle, getSize, resize};
const AIUndoSuite undoSuite = {setUndoText, closeUndoStep, undoChanges};
const AIRandomSuite randomSuite = {floatRnd, setRndSeed, getRndSeed};
const AIPreferenceSuite preferenceSuite = {getIntegerPreference, putIntegerPreference};
const AIDocumentSuite documentSuite = {getDocument, getDocumentFileName};
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

void registerRealMathSuite(SuiteRegistry &r);
void registerUserSuite(SuiteRegistry &r);

void registerHostSuites(SuiteRegistry &r) {
    r.add(kAIPluginSuite, kAIPluginSuiteVersion, &pluginSuite);
    r.add(kAIMdMemorySuite, kAIMdMemorySuiteVersion, &memorySuite);
    r.add(kAIUndoSuite, kAIUndoSuiteVersion, &undoSuite);
    r.add(kAIRandomSuite, kAIRandomSuiteVersion, &randomSuite);
    r.add(kAIPreferenceSuite, kAIPreferenceSuiteVersion, &preferenceSuite);
    r.add(kAIDocumentSuite, kAIDocumentSuiteVersion, &documentSuite);
    r.add(kAIToolSuite, kAIToolSuiteVersion, &toolSuite);
    registerRealMathSuite(r);
    registerUserSuite(r);
}

}  // namespace smear
