#include "save_folder.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "session_files.h"

namespace smear {

namespace fs = std::filesystem;

namespace {

// The next code point of UTF-8 `s` at `i` (moved past it); false on a byte
// sequence that is no character: overlong, a surrogate, past U+10FFFF.
bool nextCodePoint(const std::string &s, size_t &i, uint32_t &cp) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    const int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || i + size_t(extra) >= s.size()) return false;
    cp = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        if ((byte(i + size_t(k)) & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (byte(i + size_t(k)) & 0x3F);
    }
    static const uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += size_t(extra) + 1;
    return true;
}

// Characters that show nothing or change how the text around them is shown,
// so that a listing would show a name other than the file's.
bool hiddenOrControl(uint32_t cp) {
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == 0xAD || cp == 0x61C || cp == 0x180E ||
           (cp >= 0x200B && cp <= 0x200F) || (cp >= 0x2028 && cp <= 0x202E) || (cp >= 0x2060 && cp <= 0x206F) ||
           cp == 0xFEFF || (cp >= 0xFFF9 && cp <= 0xFFFB) || (cp >= 0xE0000 && cp <= 0xE007F);
}

std::string codePointName(uint32_t cp) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", unsigned(cp));
    return text;
}

// The name as a message may print it: hidden characters and stray bytes
// written out, so that the message shows what the name really holds.
std::string shown(const std::string &name) {
    std::string out;
    for (size_t i = 0; i < name.size();) {
        uint32_t cp = 0;
        const size_t at = i;
        if (!nextCodePoint(name, i, cp)) {
            char text[8];
            std::snprintf(text, sizeof text, "\\x%02X", unsigned(static_cast<unsigned char>(name[at])));
            out += text;
            i = at + 1;
        } else if (hiddenOrControl(cp)) {
            out += "<" + codePointName(cp) + ">";
        } else {
            out.append(name, at, i - at);
        }
    }
    return out;
}

std::string lower(std::string s) {
    for (char &c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A name Windows takes as a device whatever its extension: CON, NUL, COM1 ...
bool windowsDeviceName(const std::string &name) {
    std::string stem = lower(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul") return true;
    return stem.size() == 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0) &&
           std::isdigit(static_cast<unsigned char>(stem[3]));
}

// What is wrong with `name` as a save's name, or empty.
std::string nameFault(const std::string &name, const std::string &extension) {
    if (name.size() <= extension.size() || lower(name.substr(name.size() - extension.size())) != lower(extension))
        return "it does not end in " + extension;
    if (name.size() > 255) return "it is longer than 255 bytes";
    if (name[0] == '.') return "it starts with a dot (a hidden file)";
    if (name[0] == ' ') return "it starts with a space";
    for (size_t i = 0; i < name.size();) {
        uint32_t cp = 0;
        if (!nextCodePoint(name, i, cp)) return "it is not valid UTF-8";
        if (cp == '/' || cp == '\\') return "it names a folder; a save goes straight into the output folder";
        if (hiddenOrControl(cp)) return "it holds " + codePointName(cp) + ", a control or invisible character";
        if (cp < 0x80 && std::string("<>:\"|?*").find(char(cp)) != std::string::npos)
            return std::string("it holds '") + char(cp) + "', which Windows does not take in a file name";
    }
    if (windowsDeviceName(name)) return "Windows takes it for a device";
    return {};
}

// `path` made absolute and plain, links followed as far as they exist.
fs::path plain(const fs::path &path, std::error_code &ec) {
    const fs::path absolute = fs::absolute(path, ec);
    return ec ? fs::path() : fs::weakly_canonical(absolute, ec).lexically_normal();
}

// Whether `inner` is `folder` or lies below it (both plain).
bool inside(const fs::path &folder, const fs::path &inner) {
    auto f = folder.begin(), i = inner.begin();
    for (; f != folder.end() && !f->empty(); ++f, ++i)
        if (i == inner.end() || *i != *f) return false;
    return true;
}

}  // namespace

bool checkSaveName(const std::string &name, const std::string &extension, std::string &error) {
    const std::string fault = nameFault(name, extension);
    if (fault.empty()) return true;
    error = "'" + shown(name) + "' must be a plain file name ending in " + extension + ": " + fault;
    return false;
}

std::string sessionOutputFolder(const std::string &sessionPath) {
    const fs::path session(sessionPath);
    fs::path name = session.filename();
    if (lower(name.extension().string()) == ".json") name = name.stem();
    return (session.parent_path() / name).string() + ".out";
}

bool makeSessionOutputFolder(const std::string &dir, std::string &error) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(dir, ec))) {
        error = dir + ": cannot make the session's output folder: a link of that name is in the way";
        return false;
    }
    return makeFolders(dir, error);
}

SaveRefusal savePath(const SaveFolder &folder, const std::string &name, const std::string &extension,
                     std::string &path, std::string &error) {
    if (!checkSaveName(name, extension, error)) return SaveRefusal::Name;
    path = joinPath(folder.dir, name);
    // A link at the name may lead anywhere: where it leads must be the folder
    // too.
    std::string resolved;
    if (!checkWriteTarget(path, resolved, error)) return SaveRefusal::Target;
    std::error_code ec;
    const fs::path base = plain(folder.dir.empty() ? fs::path(".") : fs::path(folder.dir), ec);
    const fs::path target = ec ? fs::path() : plain(resolved, ec);
    if (ec || !inside(base, target)) {
        error = name + ": a saved file must stay inside the output folder (" +
                (ec ? ec.message() : "a link there leads out of it") + ")";
        return SaveRefusal::Target;
    }
    for (const auto &kept : folder.keep)
        if (sameFile(path, kept.first)) {
            error = name + " is " + kept.second + "; a save never replaces it, save under another name";
            return SaveRefusal::Target;
        }
    return SaveRefusal::None;
}

}  // namespace smear
