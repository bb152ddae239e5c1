// 32-bit .res files: a sequence of RESOURCEHEADER records, each followed by
// its data, every record starting on a 4-byte boundary. The file opens with
// an empty record (data size 0, header size 32) that marks the 32-bit format.
#include "byte_reader.h"
#include "resources.h"

namespace smear {

namespace {

constexpr uint32_t kEmptyHeaderSize = 32;
constexpr uint16_t kOrdinalMark = 0xFFFF;

// A type or name field: 0xFFFF and a number, or a zero-terminated string.
std::string readTypeOrName(ByteReader &r, bool isType) {
    uint16_t first = r.u16();
    if (first == kOrdinalMark) {
        uint16_t number = r.u16();
        return isType ? ResourceSet::typeName(number) : "#" + std::to_string(number);
    }
    std::vector<uint16_t> units;
    for (uint16_t u = first; u != 0; u = r.u16()) units.push_back(u);
    if (units.empty()) r.fail("empty resource name");
    return utf16ToUtf8(units);
}

bool isEmptyMarker(const std::vector<uint8_t> &file) {
    static const uint8_t kMarker[] = {0, 0, 0, 0, 0x20, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};
    if (file.size() < kEmptyHeaderSize) return false;
    for (size_t i = 0; i < sizeof kMarker; ++i)
        if (file[i] != kMarker[i]) return false;
    return true;
}

}  // namespace

bool parseResFile(const std::vector<uint8_t> &file, ResourceSet &out, std::string &error) {
    if (!isEmptyMarker(file)) {
        error = "not a 32-bit .res file (it does not start with the empty resource record)";
        return false;
    }
    try {
        ResourceSet set;
        ByteReader r(file, ".res file");
        r.seek(kEmptyHeaderSize);
        while (r.remaining() > 0) {
            size_t start = r.pos();
            uint32_t dataSize = r.u32();
            uint32_t headerSize = r.u32();
            if (headerSize > r.remaining() + 8 || headerSize < kEmptyHeaderSize) r.fail("bad header size");
            // The header's fields are read within the header's own bytes.
            ByteReader header(file.data() + start, headerSize, ".res record header");
            header.seek(8);
            std::string type = readTypeOrName(header, true);
            std::string name = readTypeOrName(header, false);
            header.alignTo4();
            header.u32();  // data version
            header.u16();  // memory flags
            uint16_t language = header.u16();
            r.seek(start + headerSize);
            if (dataSize > r.remaining()) r.fail("resource " + type + "/" + name + " runs past the end of the file");
            const uint8_t *data = r.bytes(dataSize);
            set.add(type, name, language, std::vector<uint8_t>(data, data + dataSize));
            r.alignTo4();
        }
        out = std::move(set);
        return true;
    } catch (const FormatError &e) {
        error = e.what();
        return false;
    }
}

bool readResFile(const std::string &path, ResourceSet &out, std::string &error) {
    std::vector<uint8_t> file;
    if (!readFileBytes(path, file, error)) return false;
    if (!parseResFile(file, out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

}  // namespace smear
