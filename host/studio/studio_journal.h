// The studio's record kept on disk as it grows, so that a crash or a kill
// loses no finished stroke: one JSON line per change of the record (a step
// added, an undo taken back by a redo), after a first line that names the
// drawing and the seed. Each line is synced before the studio answers.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace smear {

class StudioJournal {
public:
    StudioJournal() = default;
    ~StudioJournal();
    StudioJournal(const StudioJournal &) = delete;
    StudioJournal &operator=(const StudioJournal &) = delete;

    // Starts a journal at `path` with `header` and `lines`, replacing one
    // there only once the new one is on the disk whole.
    bool start(const std::string &path, const nlohmann::json &header, const std::vector<nlohmann::json> &lines,
               std::string &error);
    // Adds a line and syncs it to the disk. False (and the journal is
    // closed) when it cannot be written.
    bool append(const nlohmann::json &line, std::string &error);
    // The journal is no longer needed: everything is saved.
    void remove();
    bool active() const { return file_ != nullptr; }
    const std::string &path() const { return path_; }

    // The header and the record a journal holds: {"step": S} lines add S,
    // {"redo": i} lines take the undo at i out. A last line cut short (the
    // studio killed while writing it) is left out. False with a message for
    // a file that is no journal.
    static bool read(const std::string &path, nlohmann::json &header, nlohmann::json &steps, std::string &error);

private:
    std::FILE *file_ = nullptr;
    std::string path_;
};

}  // namespace smear
