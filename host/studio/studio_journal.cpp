#include "studio_journal.h"

#include <fstream>
#include <sstream>
#include <unistd.h>

#include "svg.h"

namespace smear {

using nlohmann::json;

StudioJournal::~StudioJournal() {
    if (file_) std::fclose(file_);
}

bool StudioJournal::start(const std::string &path, const json &header, const std::vector<json> &lines,
                          std::string &error) {
    if (file_) std::fclose(file_);
    const std::string fresh = path + ".new";
    path_ = fresh;
    file_ = std::fopen(fresh.c_str(), "wb");
    if (!file_) {
        error = fresh + ": cannot write the journal";
        return false;
    }
    bool ok = append(header, error);
    for (const json &line : lines) ok = ok && append(line, error);
    // The open file follows its new name.
    if (!ok || std::rename(fresh.c_str(), path.c_str()) != 0) {
        if (ok) error = path + ": cannot put the journal in place";
        if (file_) std::fclose(file_);
        file_ = nullptr;
        std::remove(fresh.c_str());
        return false;
    }
    path_ = path;
    return true;
}

bool StudioJournal::append(const json &line, std::string &error) {
    if (!file_) return true;
    const std::string text = line.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fflush(file_) != 0 ||
        fsync(fileno(file_)) != 0) {
        error = path_ + ": cannot write the journal; the record is kept in memory only";
        std::fclose(file_);
        file_ = nullptr;
        return false;
    }
    return true;
}

void StudioJournal::remove() {
    if (!file_) return;
    std::fclose(file_);
    file_ = nullptr;
    std::remove(path_.c_str());
}

bool StudioJournal::read(const std::string &path, json &header, json &steps, std::string &error) {
    std::string text;
    // A record of a day's painting is far below the SVG reader's bound.
    if (!readInputFile(path, kSvgMaxFileBytes, text, error)) return false;
    std::istringstream lines(text);
    std::string line;
    steps = json::array();
    bool first = true;
    size_t number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const bool last = lines.peek() == std::char_traits<char>::eof();
        json j = json::parse(line, nullptr, false);
        if (j.is_discarded() || !j.is_object()) {
            if (last && !first && text.back() != '\n') break;  // cut short by a kill
            error = path + ": line " + std::to_string(number) + " is not a journal line";
            return false;
        }
        if (first) {
            if (!j.contains("journal")) {
                error = path + ": not a studio journal";
                return false;
            }
            header = j;
            first = false;
        } else if (j.contains("step")) {
            steps.push_back(j["step"]);
        } else if (j.contains("redo") && j["redo"].is_number_unsigned() && j["redo"].get<size_t>() < steps.size() &&
                   steps[j["redo"].get<size_t>()] == "undo") {
            steps.erase(steps.begin() + long(j["redo"].get<size_t>()));
        } else {
            error = path + ": line " + std::to_string(number) + " is not a journal line";
            return false;
        }
    }
    if (first) {
        error = path + ": an empty journal";
        return false;
    }
    return true;
}

}  // namespace smear
