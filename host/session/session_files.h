// Files the sessions and the demo write.
#pragma once

#include <string>

namespace smear {

// Writes `content` to a new file beside `path` and renames it into place, so
// a failed write never leaves a partial file behind. The temporary file gets
// a name no file has yet and is never reached through a link; a folder at
// `path` is refused. False with a message that gives the system's reason.
bool writeFileAtomically(const std::string &path, const std::string &content, std::string &error);

// Makes the folder `dir` and its missing parents. False, with the system's
// reason, when it cannot be made or something other than a folder is there.
bool makeFolders(const std::string &dir, std::string &error);

// `path` taken relative to `dir` unless it is absolute (or `dir` is empty).
std::string joinPath(const std::string &dir, const std::string &path);

// True when `path`, taken relative to `dir` (empty: the working folder),
// names a place inside it: not absolute, no "..", and no link on the way
// that leads out. False with a message otherwise.
bool pathInsideFolder(const std::string &dir, const std::string &path, std::string &error);

}  // namespace smear
