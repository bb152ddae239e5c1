// Files the sessions and the demo write.
#pragma once

#include <string>

namespace smear {

// Writes `content` to a neighbour of `path` and renames it into place, so a
// failed write never leaves a partial file behind. False with a message.
bool writeFileAtomically(const std::string &path, const std::string &content, std::string &error);

// `path` taken relative to `dir` unless it is absolute (or `dir` is empty).
std::string joinPath(const std::string &dir, const std::string &path);

}  // namespace smear
