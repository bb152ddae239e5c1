// Something the user saw: an alert, or a dialog with its items. The host
// keeps them in order in its transcript; the dialog manager adds each dialog
// it opens and the ADM basic suite each alert.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace smear {

struct UiEvent {
    std::string kind;   // "alert" or "dialog"
    std::string title;  // alert text, or dialog title
    std::string name;   // dialog name given by the plug-in
    std::vector<std::pair<int, std::string>> texts;  // item id and text, in creation order
    std::map<int, bool> checkBoxes;                    // check box id and whether it was ticked
    int result = 0;     // id of the item that closed the dialog
};

}  // namespace smear
