// Entities a file declares in its own DOCTYPE (<!ENTITY st0 "fill:none;">),
// which editors use for repeated style text and which the XML parser
// leaves unexpanded.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace smear {

// The text with each reference to an entity of the internal subset
// replaced by its value (quotes escaped, so that a value fits any
// attribute), outside comments and CDATA sections; the DOCTYPE itself stays
// as written. Entities whose value holds markup ('<'), and parameter and
// external entities, are left as references and named in `notExpanded`.
// False, with `error`, when the expansion would pass `limit` bytes; `out`
// is then empty. When the file declares no entity `out` is the text.
bool expandInternalEntities(std::string_view text, size_t limit, std::string &out,
                            std::vector<std::string> &notExpanded, std::string &error);

}  // namespace smear
