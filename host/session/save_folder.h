// Where a session and the studio may save: one rule for both. A save goes
// straight into its output folder under a plain, visible file name with the
// extension of what is written, and never replaces the files it must keep
// (the session itself, its drawing) or anything outside the folder.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace smear {

// Whether `name` is a plain visible file name ending in `extension`
// (".svg"; letters in any case): something before the extension, no folder
// in it, no leading dot, valid UTF-8 without control characters, invisible
// or direction-changing characters (U+202E ...), and nothing Windows reads
// otherwise (":", "*", device names such as NUL). False with
// "'NAME' must be a plain file name ending in EXT: why", the name shown with
// such characters escaped.
bool checkSaveName(const std::string &name, const std::string &extension, std::string &error);

// The output folder of the session file `sessionPath` when none is given:
// beside it, named after it ("dir/walk.json" saves into "dir/walk.out").
std::string sessionOutputFolder(const std::string &sessionPath);

// Makes the session's own output folder `dir` (sessionOutputFolder). A link
// or a file of that name is refused, so that the session's saves never
// land in a folder it was pointed at.
bool makeSessionOutputFolder(const std::string &dir, std::string &error);

struct SaveFolder {
    std::string dir;  // empty: the working folder
    // Files no save may replace, each with what it is to the user
    // ("the session file", "the session's drawing").
    std::vector<std::pair<std::string, std::string>> keep;
};

enum class SaveRefusal { None, Name, Target };

// Where the save `name` goes in `folder`, checked before anything is
// written: a name the rule above takes (SaveRefusal::Name), and a target
// (SaveRefusal::Target) that is no link out of the folder, none of the
// files kept, and a place checkWriteTarget takes.
SaveRefusal savePath(const SaveFolder &folder, const std::string &name, const std::string &extension,
                     std::string &path, std::string &error);

}  // namespace smear
