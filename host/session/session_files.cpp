#include "session_files.h"

#include <cstdio>
#include <fstream>

namespace smear {

bool writeFileAtomically(const std::string &path, const std::string &content, std::string &error) {
    const std::string temp = path + ".partial";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << content;
        out.close();
        if (!out) {
            std::remove(temp.c_str());
            error = path + ": cannot write the file";
            return false;
        }
    }
    // Windows will not rename over an existing file.
    std::remove(path.c_str());
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        error = path + ": cannot write the file";
        return false;
    }
    return true;
}

std::string joinPath(const std::string &dir, const std::string &path) {
    const bool absolute = !path.empty() && (path[0] == '/' || path[0] == '\\' || (path.size() > 1 && path[1] == ':'));
    if (dir.empty() || absolute) return path;
    const char last = dir.back();
    return dir + (last == '/' || last == '\\' ? "" : "/") + path;
}

}  // namespace smear
