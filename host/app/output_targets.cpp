// The files a command writes, checked before it reads anything.
#include "app.h"
#include "session_files.h"

namespace smear::app {

bool checkOutputs(const CommandOutputs &o, std::string &error) {
    for (size_t i = 0; i < o.outputs.size(); ++i) {
        const auto &[option, path] = o.outputs[i];
        if (path.empty()) continue;
        const bool intoInput = !isStandardOutput(path) && !o.input.empty() && sameFile(path, o.input);
        if (intoInput && !(o.inPlace && option == "--out")) {
            error = option + " " + path + " names the drawing read (" + o.input + "); " +
                    (option == "--out" ? o.inPlaceHint : std::string("give another file"));
            return false;
        }
        for (size_t j = 0; j < i; ++j) {
            const auto &[earlier, other] = o.outputs[j];
            const bool bothStdout = isStandardOutput(path) && isStandardOutput(other);
            if (bothStdout || (!isStandardOutput(path) && !isStandardOutput(other) && sameFile(path, other))) {
                error = earlier + " and " + option + " name the same " +
                        (bothStdout ? std::string("standard output (-)") : "file (" + path + ")") +
                        "; give each its own";
                return false;
            }
        }
        std::string resolved;
        if (!isStandardOutput(path) && !checkWriteTarget(path, resolved, error)) return false;
    }
    return true;
}

}  // namespace smear::app
