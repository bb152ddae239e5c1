// Builds small PE images in memory, so the reader of module resources is
// tested on both builds, for 32- and 64-bit images, without a linker.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "res_builder.h"

namespace smear::restest {

struct PeResource {
    std::string type;  // a name, or "#n"
    std::string name;  // a name, or "#n"
    uint16_t language = 0x409;
    std::vector<uint8_t> data;
};

constexpr uint32_t kPeSectionRva = 0x1000;
constexpr uint32_t kPeSectionFileOffset = 0x200;

inline void putU32At(std::vector<uint8_t> &out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// The resource section: a three-level tree of one directory per type and per
// name, one language each, then the data entries, the names and the data.
inline std::vector<uint8_t> resourceSection(const std::vector<PeResource> &resources) {
    const uint32_t kDirectory = 16, kEntry = 8, kDataEntry = 16;
    size_t n = resources.size();
    // Root with n type entries, n type directories with one name entry each,
    // n name directories with one language entry each.
    uint32_t typeDirs = kDirectory + uint32_t(n) * kEntry;
    uint32_t nameDirs = typeDirs + uint32_t(n) * (kDirectory + kEntry);
    uint32_t dataEntries = nameDirs + uint32_t(n) * (kDirectory + kEntry);
    uint32_t strings = dataEntries + uint32_t(n) * kDataEntry;
    std::vector<uint8_t> out(strings, 0);

    auto keyField = [&](const std::string &key) -> uint32_t {
        if (key[0] == '#') return uint32_t(std::stoul(key.substr(1)));
        uint32_t at = uint32_t(out.size());
        putU16(out, uint16_t(key.size()));
        for (char c : key) putU16(out, uint8_t(c));
        return 0x80000000u | at;
    };
    auto directory = [&](uint32_t at, uint16_t named, uint16_t ids) {
        out[at + 12] = uint8_t(named);
        out[at + 14] = uint8_t(ids);
    };
    directory(0, 0, uint16_t(n));
    for (size_t i = 0; i < n; ++i) {
        uint32_t typeDir = typeDirs + uint32_t(i) * (kDirectory + kEntry);
        uint32_t nameDir = nameDirs + uint32_t(i) * (kDirectory + kEntry);
        putU32At(out, kDirectory + i * kEntry, keyField(resources[i].type));
        putU32At(out, kDirectory + i * kEntry + 4, 0x80000000u | typeDir);
        directory(typeDir, 0, 1);
        putU32At(out, typeDir + kDirectory, keyField(resources[i].name));
        putU32At(out, typeDir + kDirectory + 4, 0x80000000u | nameDir);
        directory(nameDir, 0, 1);
        putU32At(out, nameDir + kDirectory, resources[i].language);
        putU32At(out, nameDir + kDirectory + 4, dataEntries + uint32_t(i) * kDataEntry);
    }
    padTo4(out);
    for (size_t i = 0; i < n; ++i) {
        uint32_t entry = dataEntries + uint32_t(i) * kDataEntry;
        putU32At(out, entry, kPeSectionRva + uint32_t(out.size()));
        putU32At(out, entry + 4, uint32_t(resources[i].data.size()));
        out.insert(out.end(), resources[i].data.begin(), resources[i].data.end());
        padTo4(out);
    }
    return out;
}

// A PE image with the given section as its resource section.
inline std::vector<uint8_t> peImage(const std::vector<uint8_t> &section, bool pe32Plus) {
    std::vector<uint8_t> out(kPeSectionFileOffset, 0);
    out[0] = 'M';
    out[1] = 'Z';
    putU32At(out, 0x3C, 0x40);
    const uint8_t signature[] = {'P', 'E', 0, 0};
    std::copy(signature, signature + 4, out.begin() + 0x40);
    size_t coff = 0x44;
    uint16_t optionalSize = pe32Plus ? 240 : 224;
    out[coff] = pe32Plus ? 0x64 : 0x4C;  // machine
    out[coff + 1] = pe32Plus ? 0x86 : 0x01;
    out[coff + 2] = 1;  // one section
    out[coff + 16] = uint8_t(optionalSize);
    size_t opt = coff + 20;
    out[opt] = 0x0B;
    out[opt + 1] = pe32Plus ? 0x02 : 0x01;
    size_t directories = opt + (pe32Plus ? 112 : 96);
    putU32At(out, directories - 4, 16);
    putU32At(out, directories + 2 * 8, kPeSectionRva);
    putU32At(out, directories + 2 * 8 + 4, uint32_t(section.size()));
    size_t header = opt + optionalSize;
    const char name[] = ".rsrc";
    std::copy(name, name + 5, out.begin() + long(header));
    putU32At(out, header + 8, uint32_t(section.size()));
    putU32At(out, header + 12, kPeSectionRva);
    putU32At(out, header + 16, uint32_t(section.size()));
    putU32At(out, header + 20, kPeSectionFileOffset);
    out.insert(out.end(), section.begin(), section.end());
    return out;
}

}  // namespace smear::restest
