// The resource section of a PE module (PE32 or PE32+): a three-level tree of
// directories (type, name, language) whose leaves point at the data by RVA.
#include <algorithm>

#include "byte_reader.h"
#include "resources.h"

namespace smear {

namespace {

constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint32_t kHighBit = 0x80000000u;
constexpr size_t kSectionHeaderSize = 40;
// More leaves than any real module has: bounds the walk of a tree whose
// entries all point at the same directories.
constexpr size_t kMaxResources = 65536;

struct Section {
    uint32_t virtualAddress = 0;
    uint32_t virtualSize = 0;
    uint32_t rawSize = 0;
    uint32_t rawOffset = 0;
};

class PeImage {
public:
    explicit PeImage(const std::vector<uint8_t> &file) : file_(file) {}

    // Reads the headers; returns the resource directory's RVA and size.
    std::pair<uint32_t, uint32_t> readHeaders() {
        ByteReader r(file_, "PE file");
        if (r.u16() != 0x5A4D) r.fail("no MZ signature");
        r.seek(0x3C);
        r.seek(r.u32());
        if (r.u32() != 0x00004550) r.fail("no PE signature");
        r.u16();  // machine
        uint16_t sectionCount = r.u16();
        r.skip(12);  // time stamp, symbol table, symbol count
        uint16_t optionalSize = r.u16();
        r.u16();  // characteristics
        size_t optionalStart = r.pos();
        ByteReader opt(r.bytes(optionalSize), optionalSize, "PE optional header");
        uint16_t magic = opt.u16();
        if (magic != kPe32Magic && magic != kPe32PlusMagic) opt.fail("unknown optional header magic");
        opt.seek(magic == kPe32Magic ? 92 : 108);
        uint32_t directoryCount = opt.u32();
        uint32_t rva = 0, size = 0;
        if (directoryCount > kResourceDirectoryIndex) {
            opt.skip(8 * kResourceDirectoryIndex);
            rva = opt.u32();
            size = opt.u32();
        }
        r.seek(optionalStart + optionalSize);
        for (uint16_t i = 0; i < sectionCount; ++i) {
            ByteReader s(r.bytes(kSectionHeaderSize), kSectionHeaderSize, "PE section header");
            s.skip(8);  // name
            Section section;
            section.virtualSize = s.u32();
            section.virtualAddress = s.u32();
            section.rawSize = s.u32();
            section.rawOffset = s.u32();
            sections_.push_back(section);
        }
        return {rva, size};
    }

    // The `size` bytes at an RVA; they must lie in one section's raw data.
    ByteReader at(uint32_t rva, uint32_t size, const char *what) const {
        const Section &s = sectionOf(rva, what);
        uint64_t offset = uint64_t(rva) - s.virtualAddress;
        if (offset + size > s.rawSize) throw FormatError(std::string(what) + ": lies outside the file's data");
        return ByteReader(file_.data() + s.rawOffset + offset, size, what);
    }

    // From an RVA to the end of its section's raw data. The resource tree is
    // read this way: its offsets are relative to its start, and some linkers
    // give the directory a size that leaves out the data after it.
    ByteReader from(uint32_t rva, const char *what) const {
        const Section &s = sectionOf(rva, what);
        uint64_t offset = uint64_t(rva) - s.virtualAddress;
        if (offset >= s.rawSize) throw FormatError(std::string(what) + ": lies outside the file's data");
        return ByteReader(file_.data() + s.rawOffset + offset, size_t(s.rawSize - offset), what);
    }

private:
    const Section &sectionOf(uint32_t rva, const char *what) const {
        for (const Section &s : sections_) {
            if (rva < s.virtualAddress || rva - s.virtualAddress >= std::max(s.virtualSize, s.rawSize)) continue;
            if (uint64_t(s.rawOffset) + s.rawSize > file_.size())
                throw FormatError(std::string(what) + ": section runs past the end of the file");
            return s;
        }
        throw FormatError(std::string(what) + ": address in no section");
    }

    const std::vector<uint8_t> &file_;
    std::vector<Section> sections_;
};

class ResourceTreeReader {
public:
    ResourceTreeReader(const PeImage &image, ByteReader tree, ResourceSet &out)
        : image_(image), tree_(tree), out_(out) {}

    void read() { readDirectory(0, 0); }

private:
    // Level 0 holds types, level 1 names, level 2 languages.
    void readDirectory(uint32_t offset, int level) {
        tree_.seek(offset);
        tree_.skip(12);  // characteristics, time stamp, version
        uint32_t count = uint32_t(tree_.u16()) + tree_.u16();
        for (uint32_t i = 0; i < count; ++i) {
            tree_.seek(size_t(offset) + 16 + size_t(i) * 8);
            uint32_t nameField = tree_.u32();
            uint32_t target = tree_.u32();
            std::string key = nameOf(nameField, level == 0);
            size_t resume = tree_.pos();
            bool isDirectory = (target & kHighBit) != 0;
            if (level < 2) {
                if (!isDirectory) tree_.fail("a resource where a directory belongs");
                path_[level] = key;
                readDirectory(target & ~kHighBit, level + 1);
            } else {
                if (isDirectory) tree_.fail("a directory below the language level");
                if ((nameField & kHighBit) != 0) tree_.fail("a named language");
                readLeaf(target, uint16_t(nameField));
            }
            tree_.seek(resume);
        }
    }

    std::string nameOf(uint32_t field, bool isType) {
        if ((field & kHighBit) == 0) {
            if (field > 0xFFFF) tree_.fail("resource id out of range");
            return isType ? ResourceSet::typeName(uint16_t(field)) : "#" + std::to_string(field);
        }
        size_t back = tree_.pos();
        tree_.seek(field & ~kHighBit);
        std::vector<uint16_t> units(tree_.u16());
        for (uint16_t &u : units) u = tree_.u16();
        tree_.seek(back);
        return utf16ToUtf8(units);
    }

    void readLeaf(uint32_t offset, uint16_t language) {
        if (++leaves_ > kMaxResources) tree_.fail("too many resources");
        size_t back = tree_.pos();
        tree_.seek(offset);
        uint32_t dataRva = tree_.u32();
        uint32_t size = tree_.u32();
        tree_.seek(back);
        ByteReader data = image_.at(dataRva, size, "resource data");
        const uint8_t *bytes = data.bytes(size);
        out_.add(path_[0], path_[1], language, std::vector<uint8_t>(bytes, bytes + size));
    }

    const PeImage &image_;
    ByteReader tree_;
    ResourceSet &out_;
    std::string path_[2];
    size_t leaves_ = 0;
};

}  // namespace

bool parsePeResources(const std::vector<uint8_t> &file, ResourceSet &out, std::string &error) {
    try {
        PeImage image(file);
        auto [rva, size] = image.readHeaders();
        if (rva == 0 || size == 0) {
            error = "the module has no resources";
            return false;
        }
        ResourceSet set;
        ResourceTreeReader(image, image.from(rva, "resource directory"), set).read();
        out = std::move(set);
        return true;
    } catch (const FormatError &e) {
        error = e.what();
        return false;
    }
}

bool readPeResources(const std::string &path, ResourceSet &out, std::string &error) {
    std::vector<uint8_t> file;
    if (!readFileBytes(path, file, error)) return false;
    if (!parsePeResources(file, out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

}  // namespace smear
