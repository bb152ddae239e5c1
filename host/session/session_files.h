// Files the sessions, the commands and the demo write, and the checks every
// one of them passes first.
#pragma once

#include <string>

namespace smear {

// Whether a file may be written at `path`: it must name a regular file that
// is not read-only, or a new name. A link is followed to what it leads to,
// which must pass the same rules; `resolved` is where the write goes (the
// link itself stays). A link to a name not made yet is followed too: the
// file is made where it leads, in a folder that must exist, as editors do. Folders, devices, FIFOs and sockets are refused, and
// so is a file without write permission in its mode (checked in the mode
// bits, so that root, whom permissions do not stop, is refused too).
// False with "PATH: cannot write the file: it is ..." otherwise.
bool checkWriteTarget(const std::string &path, std::string &resolved, std::string &error);

// Writes `content` to a new file beside the target and renames it into
// place, so a failed write never leaves a partial file behind. The target
// must pass checkWriteTarget; when it is refused nothing is written,
// renamed or removed. A link at `path` is written through and stays a
// link. The temporary file gets a name no file has yet and is never
// reached through a link; a file replaced keeps its permissions. False
// with a message that gives the system's reason.
bool writeFileAtomically(const std::string &path, const std::string &content, std::string &error);

// "-": standard output, as a command's --out may name it.
bool isStandardOutput(const std::string &path);

// Writes `content` to standard output for "-", else as writeFileAtomically.
bool writeOutput(const std::string &path, const std::string &content, std::string &error);

// Whether `a` and `b` name the same file: the same file on the same device
// when both exist, else the same place once links and "." or ".." are
// followed. A write to one would replace the other.
bool sameFile(const std::string &a, const std::string &b);

// Makes the folder `dir` and its missing parents. False, with the system's
// reason, when it cannot be made or something other than a folder is there.
bool makeFolders(const std::string &dir, std::string &error);

// `path` taken relative to `dir` unless it is absolute (or `dir` is empty).
std::string joinPath(const std::string &dir, const std::string &path);

}  // namespace smear
