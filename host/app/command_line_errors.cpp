// What smearhost says of a mistake in the command line itself.
#include <sstream>

#include "app.h"
#include "spelling.h"

namespace smear::app {

namespace {

// The words the argument parser did not expect, from its message
// ("The following argument(s) were not expected: --sett x").
std::vector<std::string> unexpectedWords(const std::string &message) {
    std::vector<std::string> words;
    if (message.find("not expected") == std::string::npos) return words;
    const size_t colon = message.rfind(": ");
    if (colon == std::string::npos) return words;
    std::istringstream in(message.substr(colon + 2));
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

void addOptionNames(const CLI::App &app, std::vector<std::string> &names) {
    for (const CLI::Option *opt : app.get_options()) {
        for (const std::string &n : opt->get_lnames()) names.push_back("--" + n);
        for (const std::string &n : opt->get_snames()) names.push_back("-" + n);
    }
}

// The command the user chose, if the parser got that far.
const CLI::App *chosenCommand(const CLI::App &app) {
    const auto chosen = app.get_subcommands();
    return chosen.empty() ? nullptr : chosen.front();
}

// "(did you mean --set?)" for the first unexpected word that is a slip of a
// flag or command name there is; empty when none is.
std::string suggestion(const CLI::App &app, const std::vector<std::string> &words) {
    const CLI::App *command = chosenCommand(app);
    for (std::string w : words) {
        const bool flag = w.size() > 1 && w[0] == '-';
        if (flag) {
            w = w.substr(0, w.find('='));
            std::vector<std::string> names;
            if (command) addOptionNames(*command, names);
            addOptionNames(app, names);
            const std::string guess = closestName(w, names);
            if (!guess.empty() && guess != w) return " (did you mean " + guess + "?)";
        } else if (!command) {
            std::vector<std::string> names;
            for (const CLI::App *sub : app.get_subcommands([](const CLI::App *) { return true; }))
                names.push_back(sub->get_name());
            const std::string guess = closestName(w, names);
            if (!guess.empty()) return " (did you mean " + guess + "?)";
        }
    }
    return "";
}

}  // namespace

std::string commandLineError(const CLI::App &app, const CLI::ParseError &e) {
    std::string message = e.what();
    std::vector<std::string> words = unexpectedWords(message);
    if (words.empty()) {
        // Words the parser could not place are the likelier mistake than
        // what it found missing after them ("pant" before "a command is
        // required"): they come first.
        words = app.remaining(true);
        if (!words.empty()) {
            message = words.size() == 1 ? "this argument was not expected:" : "these arguments were not expected:";
            for (const std::string &w : words) message += " " + w;
        }
    }
    message += suggestion(app, words);
    const CLI::App *command = chosenCommand(app);
    const std::string help = command ? "smearhost " + command->get_name() + " --help" : "smearhost --help";
    return "smearhost: " + message + "\nsmearhost: " + help + " lists what it takes";
}

}  // namespace smear::app
