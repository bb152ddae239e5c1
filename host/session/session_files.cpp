#include "session_files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
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

bool writeTemporary(const std::string &path, const std::string &content, int /*mode*/, std::string &temp,
                    std::string &reason) {
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
// only ever go into the file made here. `mode`: the permissions of the file
// replaced (-1: none, the umask's).
bool writeTemporary(const std::string &path, const std::string &content, int mode, std::string &temp,
                    std::string &reason) {
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
    if (mode >= 0 && ::fchmod(fd, mode_t(mode)) != 0) {
        reason = std::strerror(errno);
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
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

// What stands at `target` (no link: the caller followed them), in words,
// when a write may not replace it; empty for a regular file or a new name.
std::string whyNotWritable(const fs::path &target, std::string &systemError) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(target, ec);
    switch (status.type()) {
    case fs::file_type::not_found: return {};
    case fs::file_type::regular: break;
    case fs::file_type::directory: return "a folder";
    case fs::file_type::character: return "a character device";
    case fs::file_type::block: return "a block device";
    case fs::file_type::fifo: return "a FIFO (named pipe)";
    case fs::file_type::socket: return "a socket";
    case fs::file_type::symlink: return "a link";  // put there since the links were followed
    case fs::file_type::none:
        systemError = ec.message();
        return "out of reach";
    default: return "not a regular file";
    }
    // The mode bits first: root may write anything, but a file its owner
    // made read-only is not for us to replace. Then the user's own rights:
    // renaming over another user's file in a folder open to all would
    // succeed where writing to it would not.
    const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & write) == fs::perms::none) return "read-only";
#ifndef _WIN32
    if (::access(target.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS)) return "read-only";
#endif
    return {};
}

// Follows the links at the end of `path` (the folders on the way are the
// system's to follow) to the name a write would replace.
bool followLinks(const fs::path &path, fs::path &target, std::string &error) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(target, ec))) return true;
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) {
            error = ec.message();
            return false;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    error = "too many links one after another";
    return false;
}

// The permission bits of the file the write replaces, so that the new file
// keeps them; -1 for a new name.
int existingMode(const std::string &target) {
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    return ec || !fs::is_regular_file(status) ? -1 : int(status.permissions() & fs::perms::all);
}

}  // namespace

bool checkWriteTarget(const std::string &path, std::string &resolved, std::string &error) {
    const std::string prefix = path + ": cannot write the file: ";
    fs::path target;
    std::string reason;
    if (!followLinks(fs::path(path), target, reason)) {
        error = prefix + reason;
        return false;
    }
    resolved = target.string();
    const std::string what = whyNotWritable(target, reason);
    if (what.empty()) return true;
    error = prefix + (resolved == path ? "it is " : "it is a link to " + resolved + ", which is ") + what +
            (reason.empty() ? "" : " (" + reason + ")");
    return false;
}

bool writeFileAtomically(const std::string &path, const std::string &content, std::string &error) {
    std::string target, reason;
    if (!checkWriteTarget(path, target, error)) return false;
    const std::string prefix = path + ": cannot write the file: ";
    std::string temp;
    if (!writeTemporary(target, content, existingMode(target), temp, reason)) {
        error = prefix + reason;
        return false;
    }
    // The write may have taken a while: what stands at the target is looked
    // at again, so that only a regular file or nothing is ever replaced.
    std::string again;
    if (!checkWriteTarget(target, again, error) || again != target) {
        removeQuietly(temp);
        if (again != target) error = prefix + "it became a link while the file was written";
        return false;
    }
    if (!moveIntoPlace(temp, target, reason)) {
        removeQuietly(temp);
        error = prefix + reason;
        return false;
    }
    return true;
}

bool isStandardOutput(const std::string &path) { return path == "-"; }

bool writeOutput(const std::string &path, const std::string &content, std::string &error) {
    if (!isStandardOutput(path)) return writeFileAtomically(path, content, error);
    std::cout.write(content.data(), std::streamsize(content.size()));
    std::cout.flush();
    if (std::cout) return true;
    error = "cannot write to standard output";
    return false;
}

bool sameFile(const std::string &a, const std::string &b) {
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec) && !ec;
    // A name not made yet: where each would be written, links followed and
    // the path made plain.
    fs::path ta, tb;
    std::string ignored;
    if (!followLinks(fs::path(a), ta, ignored) || !followLinks(fs::path(b), tb, ignored)) return false;
    const fs::path na = fs::weakly_canonical(fs::absolute(ta, ec), ec);
    const fs::path nb = ec ? fs::path() : fs::weakly_canonical(fs::absolute(tb, ec), ec);
    return !ec && na.lexically_normal() == nb.lexically_normal();
}

std::string joinPath(const std::string &dir, const std::string &path) {
    const bool absolute = !path.empty() && (path[0] == '/' || path[0] == '\\' || (path.size() > 1 && path[1] == ':'));
    if (dir.empty() || absolute) return path;
    const char last = dir.back();
    return dir + (last == '/' || last == '\\' ? "" : "/") + path;
}

bool makeFolders(const std::string &dir, std::string &error) {
    std::error_code ec;
    fs::create_directories(fs::path(dir), ec);
    if (!ec && fs::is_directory(fs::path(dir), ec)) return true;
    error = dir + ": cannot make the folder: " + (ec ? ec.message() : std::string("a file of that name is in the way"));
    return false;
}

}  // namespace smear
