// Reading input files whole, refusing what is no file or too large: a
// device such as /dev/zero would otherwise be read until memory runs out.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "svg.h"

namespace smear {

bool readInputFile(const std::string &path, size_t limit, std::string &text, std::string &error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        error = "cannot open " + path + ": " + (ec ? ec.message() : std::string(std::strerror(ENOENT)));
        return false;
    }
    if (!fs::is_regular_file(status)) {
        error = path + " is not a regular file; not read";
        return false;
    }
    const std::string tooLarge =
        path + " is larger than " + std::to_string(limit >> 20) + " MB; not read";
    const uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > limit) {
        error = tooLarge;
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    // The size said is no promise: the file may grow while it is read.
    text.clear();
    char chunk[1 << 16];
    while (in) {
        in.read(chunk, sizeof chunk);
        const size_t got = size_t(in.gcount());
        if (text.size() + got > limit) {
            error = tooLarge;
            text.clear();
            return false;
        }
        text.append(chunk, got);
    }
    if (in.bad()) {
        error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace smear
