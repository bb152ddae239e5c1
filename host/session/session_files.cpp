#include "session_files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace smear {

namespace fs = std::filesystem;

namespace {

// Names of temporary files differ within one process by a counter and
// between processes by the process id; exclusive creation settles the rest.
std::string temporaryName(const std::string &path, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
#ifdef _WIN32
    const unsigned long pid = GetCurrentProcessId();
#else
    const unsigned long pid = static_cast<unsigned long>(getpid());
#endif
    return path + ".partial-" + std::to_string(pid) + "-" + std::to_string(counter++) + "-" + std::to_string(attempt);
}

#ifdef _WIN32

std::string systemReason(DWORD code) { return std::error_code(int(code), std::system_category()).message(); }

// A new file that did not exist before: CREATE_NEW fails on any existing
// name, a link included, so nothing else is ever opened.
bool createExclusive(const std::string &temp, HANDLE &file, DWORD &code) {
    file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    code = file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    return file != INVALID_HANDLE_VALUE;
}

bool writeTemporary(const std::string &path, const std::string &content, std::string &temp, std::string &reason) {
    HANDLE file = INVALID_HANDLE_VALUE;
    DWORD code = 0;
    for (unsigned attempt = 0;; ++attempt) {
        temp = temporaryName(path, attempt);
        if (createExclusive(temp, file, code)) break;
        if ((code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) || attempt == 100) {
            reason = systemReason(code);
            return false;
        }
    }
    size_t done = 0;
    while (done < content.size()) {
        DWORD written = 0;
        const DWORD chunk = DWORD(std::min<size_t>(content.size() - done, 1u << 20));
        if (!WriteFile(file, content.data() + done, chunk, &written, nullptr)) {
            reason = systemReason(GetLastError());
            CloseHandle(file);
            DeleteFileA(temp.c_str());
            return false;
        }
        done += written;
    }
    if (!CloseHandle(file)) {
        reason = systemReason(GetLastError());
        DeleteFileA(temp.c_str());
        return false;
    }
    return true;
}

// Replaces the target in one move; the old file stays until the new one is there.
bool moveIntoPlace(const std::string &temp, const std::string &path, std::string &reason) {
    if (MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    reason = systemReason(GetLastError());
    return false;
}

#else

// O_EXCL refuses any existing name and O_NOFOLLOW a link, so the write can
// only ever go into the file made here.
bool writeTemporary(const std::string &path, const std::string &content, std::string &temp, std::string &reason) {
    int fd = -1;
    for (unsigned attempt = 0;; ++attempt) {
        temp = temporaryName(path, attempt);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) break;
        if (errno != EEXIST || attempt == 100) {
            reason = std::strerror(errno);
            return false;
        }
    }
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            reason = std::strerror(n < 0 ? errno : ENOSPC);
            ::close(fd);
            ::unlink(temp.c_str());
            return false;
        }
        done += size_t(n);
    }
    if (::close(fd) != 0) {
        reason = std::strerror(errno);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool moveIntoPlace(const std::string &temp, const std::string &path, std::string &reason) {
    if (::rename(temp.c_str(), path.c_str()) == 0) return true;
    reason = std::strerror(errno);
    return false;
}

#endif

void removeQuietly(const std::string &temp) {
    std::error_code ignored;
    fs::remove(temp, ignored);
}

}  // namespace

bool writeFileAtomically(const std::string &path, const std::string &content, std::string &error) {
    const std::string prefix = path + ": cannot write the file: ";
    std::error_code ec;
    if (fs::is_directory(fs::path(path), ec)) {
        error = prefix + "it is a folder";
        return false;
    }
    std::string temp, reason;
    if (!writeTemporary(path, content, temp, reason)) {
        error = prefix + reason;
        return false;
    }
    if (!moveIntoPlace(temp, path, reason)) {
        removeQuietly(temp);
        error = prefix + reason;
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

bool pathInsideFolder(const std::string &dir, const std::string &path, std::string &error) {
    const fs::path relative = fs::path(path);
    if (path.empty() || relative.is_absolute() || relative.has_root_name() || relative.has_root_directory()) {
        error = path + ": a saved file must be named relative to the output folder";
        return false;
    }
    for (const fs::path &part : relative)
        if (part == "..") {
            error = path + ": a saved file must stay inside the output folder";
            return false;
        }
    // Links are followed as far as they exist, so a link inside the folder
    // that points out of it is caught too.
    std::error_code ec;
    const fs::path base = fs::weakly_canonical(fs::absolute(fs::path(dir.empty() ? "." : dir), ec), ec);
    const fs::path target = ec ? fs::path() : fs::weakly_canonical(base / relative, ec);
    if (ec) {
        error = path + ": " + ec.message();
        return false;
    }
    auto b = base.begin(), t = target.begin();
    for (; b != base.end() && !b->empty(); ++b, ++t)
        if (t == target.end() || *t != *b) {
            error = path + ": a saved file must stay inside the output folder (a link leads out of it)";
            return false;
        }
    return true;
}

bool makeFolders(const std::string &dir, std::string &error) {
    std::error_code ec;
    fs::create_directories(fs::path(dir), ec);
    if (!ec && fs::is_directory(fs::path(dir), ec)) return true;
    error = dir + ": cannot make the folder: " + (ec ? ec.message() : std::string("a file of that name is in the way"));
    return false;
}

}  // namespace smear
