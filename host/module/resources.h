// The plug-in's compiled resources, read from a standard .res file (beside the
// module on Linux) or from the resource section of a PE module.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace smear {

// Standard resource type numbers.
enum ResourceType : uint16_t {
    kRtCursor = 1,
    kRtIcon = 3,
    kRtDialog = 5,
    kRtString = 6,
    kRtGroupCursor = 12,
    kRtGroupIcon = 14,
    kRtVersion = 16,
};

struct DialogItemTemplate {
    uint16_t id = 0;
    std::string windowClass;  // "BUTTON", "STATIC", ... or the class's name
    std::string text;         // "#n" when the template names a resource by number
    int16_t x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    uint32_t style = 0;
};

struct DialogTemplate {
    std::string title;
    int16_t x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    uint32_t style = 0;
    std::string fontName;
    uint16_t fontSize = 0;
    std::vector<DialogItemTemplate> items;
};

struct IconImage {
    uint16_t id = 0;          // the RT_ICON / RT_CURSOR resource id
    int width = 0, height = 0;  // of the image itself (the DIB), not doubled
    int colorCount = 0;       // 0 means 256 or more
    int bitCount = 0;
    int hotspotX = 0, hotspotY = 0;  // cursors only
    std::vector<uint8_t> data;       // the image's DIB (a cursor's without its hot spot words)
};

class ResourceSet {
public:
    // Raw resource bytes by numeric type and id or by a named type ("PIPL").
    // Numeric types are kept under typeName(); when several languages carry
    // the same resource, US English wins, else the first one read.
    void add(const std::string &type, uint16_t id, uint16_t language, std::vector<uint8_t> bytes);
    void add(const std::string &type, const std::string &name, uint16_t language, std::vector<uint8_t> bytes);
    const std::vector<uint8_t> *find(const std::string &type, uint16_t id) const;
    const std::vector<uint8_t> *find(uint16_t type, uint16_t id) const;
    const std::vector<uint8_t> *find(const std::string &type, const std::string &name) const;
    std::optional<uint16_t> languageOf(const std::string &type, uint16_t id) const;

    // A string of a string table, by string id; nullopt when absent (an
    // empty slot of a block counts as absent) or when its block is malformed.
    std::optional<std::string> string(uint16_t id) const;
    // nullopt when absent or malformed.
    std::optional<DialogTemplate> dialog(uint16_t id) const;
    // The images of an icon group or cursor group; nullopt when the group is
    // absent, malformed or names an image that is missing.
    std::optional<std::vector<IconImage>> iconGroup(uint16_t id) const;
    std::optional<std::vector<IconImage>> cursorGroup(uint16_t id) const;

    // Drops a resource, as a damaged or trimmed module would lack it.
    void remove(uint16_t type, uint16_t id);

    bool empty() const { return entries_.empty(); }
    size_t size() const { return entries_.size(); }
    static std::string typeName(uint16_t type);  // "#5" for numbered types

private:
    struct Entry {
        uint16_t language = 0;
        std::vector<uint8_t> bytes;
    };
    // Keyed by type and name; numbered names are kept as "#id".
    std::map<std::pair<std::string, std::string>, Entry> entries_;
};

// Parses a 32-bit .res file; false with a message on a malformed file.
bool readResFile(const std::string &path, ResourceSet &out, std::string &error);
// Parses the resource section of a PE file (32- or 64-bit).
bool readPeResources(const std::string &path, ResourceSet &out, std::string &error);

// The same from bytes already in memory; `out` is left untouched on failure.
bool parseResFile(const std::vector<uint8_t> &file, ResourceSet &out, std::string &error);
bool parsePeResources(const std::vector<uint8_t> &file, ResourceSet &out, std::string &error);
// Parses a DLGTEMPLATE or DLGTEMPLATEEX; false with a message when malformed.
bool parseDialogTemplate(const std::vector<uint8_t> &bytes, DialogTemplate &out, std::string &error);

}  // namespace smear
