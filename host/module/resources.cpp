// The resource store and the readers of string tables, icon groups and
// cursor groups.
#include "resources.h"

#include "byte_reader.h"

namespace smear {

namespace {

constexpr uint16_t kUsEnglish = 0x409;
constexpr uint32_t kBitmapInfoHeaderSize = 40;

std::string numberedName(uint16_t id) { return "#" + std::to_string(id); }

// Width, height and bit depth from the image's BITMAPINFOHEADER; icon and
// cursor DIBs give twice the height (colour rows, then the mask). Images in
// another encoding (PNG) keep what their group entry says.
void readDibHeader(const std::vector<uint8_t> &dib, IconImage &image) {
    ByteReader r(dib, "icon image");
    if (dib.size() < kBitmapInfoHeaderSize || r.u32() != kBitmapInfoHeaderSize) return;
    int32_t width = int32_t(r.u32());
    int32_t height = int32_t(r.u32());
    r.u16();  // planes
    image.width = width;
    image.height = height / 2;
    image.bitCount = r.u16();
}

// GRPICONDIR / cursor NEWHEADER: reserved 0, type 1 (icons) or 2 (cursors),
// then one 14-byte entry per image naming it by id.
std::optional<std::vector<IconImage>> readGroup(const ResourceSet &set, uint16_t groupType, uint16_t imageType,
                                                uint16_t id, uint16_t kind) {
    const std::vector<uint8_t> *group = set.find(groupType, id);
    if (group == nullptr) return std::nullopt;
    try {
        ByteReader r(*group, "resource group");
        if (r.u16() != 0 || r.u16() != kind) r.fail("not a group of this kind");
        uint16_t count = r.u16();
        std::vector<IconImage> images;
        images.reserve(count);
        for (uint16_t i = 0; i < count; ++i) {
            IconImage image;
            if (kind == 1) {
                uint8_t w = r.u8(), h = r.u8();
                image.width = w == 0 ? 256 : w;
                image.height = h == 0 ? 256 : h;
                image.colorCount = r.u8();
                r.u8();  // reserved
            } else {
                image.width = r.u16();
                image.height = r.u16() / 2;
            }
            r.u16();  // planes
            image.bitCount = r.u16();
            r.u32();  // bytes in resource
            image.id = r.u16();
            const std::vector<uint8_t> *bytes = set.find(imageType, image.id);
            if (bytes == nullptr) return std::nullopt;
            if (kind == 2) {
                ByteReader c(*bytes, "cursor image");
                image.hotspotX = c.u16();
                image.hotspotY = c.u16();
                image.data.assign(bytes->begin() + 4, bytes->end());
            } else {
                image.data = *bytes;
            }
            readDibHeader(image.data, image);
            if (kind == 2) image.colorCount = image.bitCount > 0 && image.bitCount <= 8 ? 1 << image.bitCount : 0;
            images.push_back(std::move(image));
        }
        return images;
    } catch (const FormatError &) {
        return std::nullopt;
    }
}

}  // namespace

std::string ResourceSet::typeName(uint16_t type) { return numberedName(type); }

void ResourceSet::add(const std::string &type, uint16_t id, uint16_t language, std::vector<uint8_t> bytes) {
    add(type, numberedName(id), language, std::move(bytes));
}

void ResourceSet::add(const std::string &type, const std::string &name, uint16_t language,
                      std::vector<uint8_t> bytes) {
    auto [it, inserted] = entries_.try_emplace({type, name}, Entry{language, {}});
    if (inserted || (language == kUsEnglish && it->second.language != kUsEnglish))
        it->second = Entry{language, std::move(bytes)};
}

const std::vector<uint8_t> *ResourceSet::find(const std::string &type, const std::string &name) const {
    auto it = entries_.find({type, name});
    return it == entries_.end() ? nullptr : &it->second.bytes;
}

const std::vector<uint8_t> *ResourceSet::find(const std::string &type, uint16_t id) const {
    return find(type, numberedName(id));
}

const std::vector<uint8_t> *ResourceSet::find(uint16_t type, uint16_t id) const {
    return find(typeName(type), numberedName(id));
}

std::optional<uint16_t> ResourceSet::languageOf(const std::string &type, uint16_t id) const {
    auto it = entries_.find({type, numberedName(id)});
    if (it == entries_.end()) return std::nullopt;
    return it->second.language;
}

// String tables hold 16 strings per block: block n + 1 holds the ids 16n to
// 16n + 15, each a 16-bit length and that many UTF-16 units.
std::optional<std::string> ResourceSet::string(uint16_t id) const {
    const std::vector<uint8_t> *block = find(kRtString, uint16_t((id >> 4) + 1));
    if (block == nullptr) return std::nullopt;
    try {
        ByteReader r(*block, "string table");
        for (unsigned slot = 0; slot < (id & 15u); ++slot) r.skip(size_t(r.u16()) * 2);
        uint16_t length = r.u16();
        if (length == 0) return std::nullopt;
        std::vector<uint16_t> units(length);
        for (uint16_t &u : units) u = r.u16();
        return utf16ToUtf8(units);
    } catch (const FormatError &) {
        return std::nullopt;
    }
}

std::optional<DialogTemplate> ResourceSet::dialog(uint16_t id) const {
    const std::vector<uint8_t> *bytes = find(kRtDialog, id);
    if (bytes == nullptr) return std::nullopt;
    DialogTemplate dialog;
    std::string error;
    if (!parseDialogTemplate(*bytes, dialog, error)) return std::nullopt;
    return dialog;
}

std::optional<std::vector<IconImage>> ResourceSet::iconGroup(uint16_t id) const {
    return readGroup(*this, kRtGroupIcon, kRtIcon, id, 1);
}

std::optional<std::vector<IconImage>> ResourceSet::cursorGroup(uint16_t id) const {
    return readGroup(*this, kRtGroupCursor, kRtCursor, id, 2);
}

}  // namespace smear
