// Writes .res files for tests: records in the standard 32-bit layout, so a
// test can make a module's resources differ from the built ones in one way.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace smear::restest {

struct ResRecord {
    std::string type;  // "PIPL", or "#5" for a numbered type
    uint16_t id = 0;
    std::vector<uint8_t> data;
    uint16_t language = 0x409;
};

inline void putU16(std::vector<uint8_t> &out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

inline void putU32(std::vector<uint8_t> &out, uint32_t v) {
    putU16(out, uint16_t(v));
    putU16(out, uint16_t(v >> 16));
}

inline void putUtf16z(std::vector<uint8_t> &out, const std::string &s) {
    for (char c : s) putU16(out, uint8_t(c));
    putU16(out, 0);
}

inline void padTo4(std::vector<uint8_t> &out) {
    while (out.size() % 4 != 0) out.push_back(0);
}

inline std::vector<uint8_t> resFile(const std::vector<ResRecord> &records) {
    std::vector<uint8_t> out = {0, 0, 0, 0, 0x20, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};
    out.resize(32, 0);
    for (const ResRecord &r : records) {
        std::vector<uint8_t> names;
        if (r.type.size() > 1 && r.type[0] == '#') {
            putU16(names, 0xFFFF);
            putU16(names, uint16_t(std::stoi(r.type.substr(1))));
        } else {
            putUtf16z(names, r.type);
        }
        putU16(names, 0xFFFF);
        putU16(names, r.id);
        padTo4(names);
        putU32(out, uint32_t(r.data.size()));
        putU32(out, uint32_t(8 + names.size() + 16));
        out.insert(out.end(), names.begin(), names.end());
        putU32(out, 0);  // data version
        putU16(out, 0x1030);
        putU16(out, r.language);
        putU32(out, 0);  // version
        putU32(out, 0);  // characteristics
        out.insert(out.end(), r.data.begin(), r.data.end());
        padTo4(out);
    }
    return out;
}

inline void writeFile(const std::string &path, const std::vector<uint8_t> &bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()),
                                                std::streamsize(bytes.size()));
}

// The property list the plug-in carries, byte for byte.
inline const std::vector<uint8_t> &expectedPipl() {
    static const std::vector<uint8_t> bytes = {
        0x01, 0x00,                                      // prefix 1
        0x00, 0x00, 0x00, 0x00,                          // version 0
        0x03, 0x00, 0x00, 0x00,                          // 3 properties
        'E', 'B', 'D', 'A', 'd', 'n', 'i', 'k',          // 'ADBE' 'kind'
        0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00,  // id 0, length 4
        'A', 'E', 'P', 'S',                              // 'SPEA'
        'E', 'B', 'D', 'A', 's', 'r', 'v', 'i',          // 'ADBE' 'ivrs'
        0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00,  // id 0, length 4
        0x02, 0x00, 0x00, 0x00,                          // version 2
        'E', 'B', 'D', 'A', '6', '8', 'x', 'w',          // 'ADBE' 'wx86'
        0x00, 0x00, 0x00, 0x00, 0x0C, 0x00, 0x00, 0x00,  // id 0, length 12
        'P', 'l', 'u', 'g', 'i', 'n', 'M', 'a', 'i', 'n', 0x00, 0x00,
        0x00,  // trailer
    };
    return bytes;
}

}  // namespace smear::restest
