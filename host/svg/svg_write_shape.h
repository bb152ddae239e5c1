// A shape element of a file written back, changed as an editor changes it:
// moved, turned or scaled, it keeps its name and geometry and takes the
// change as its transform; its paint, opacity, blend mode and visibility
// are said only where the drawing differs from what the element, so
// placed, reads as, each where the file says it and in the file's form.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "document.h"
#include "svg_affine.h"
#include "svg_source.h"
#include "xml_edit.h"

namespace smear::svg {

class Writer;

// Whether every part of `parts` is the part read, mapped by the host's
// transform `moved` (within what single precision allows over many small
// steps): then the element's own geometry can stay as written.
bool onlyMoved(const std::vector<const SegmentList *> &parts, const SvgReadShape &read, const AIRealMatrix &moved);

// A change of an element's place, in its parent's space, as a transform
// to put before the element's own: translate(), rotate() about the point
// it turns about, else matrix(); each number in the fewest decimals that
// place the element within a millionth of where the change takes it.
std::string changeText(const Affine &change);

// The properties of one element, said where the file says them: in its
// style attribute, else as a presentation attribute; a property the
// element does not say goes where the element's other paint is said.
class PropertyPlace {
public:
    PropertyPlace(XmlEdit &edit, int element, bool fileHasStyleSheet);
    // The value as written (the style attribute's first), if any.
    std::optional<std::string> value(const std::string &name) const;
    void set(const std::string &name, const std::string &value);

private:
    XmlEdit &edit_;
    int element_;
    bool preferStyle_;
};

class ShapePaintEditor {
public:
    ShapePaintEditor(Writer &writer, XmlEdit &edit, const SvgSource &source);

    // Says the art's paint on `element`. `move` takes the element's user
    // space as read to the one it has now (in the root's user space),
    // `toRoot` maps the new one into the root's; `sameOutline` says the
    // element's own geometry is as read, so paint in its bounding box
    // stays. False, with nothing changed, when the art's paint cannot be
    // said this way (a named style): the caller writes it whole.
    bool write(const Art &art, int element, const SvgReadShape &read, const SvgReadLook &look, const Affine &move,
               const Affine &toRoot, bool sameOutline);
    // The art's opacity, blend mode and visibility alone (any kind of art),
    // the element's opacity scaled as the art's changed.
    void writeAppearance(const Art &art, int element, const SvgReadLook &look);

private:
    void writeBlendAndVisibility(PropertyPlace &place, const Art &art, const SvgReadLook &look);
    // Writes the element's opacity that makes the art's, the reader
    // multiplying it by `factor`.
    void writeOpacity(PropertyPlace &place, AIReal want, double factor);
    enum class Say { kKeep, kCorrect, kAnew };
    // How a fill or stroke must be said now.
    Say judge(bool painted, const AIColor &color, const std::string &readToken, const AIColor &read,
              const Affine &move, double extent) const;
    // A paint server that refers to `id`, placed by `correction` (in the
    // element's user space) so that it lies where it lay; empty when it
    // cannot.
    std::string correctedServer(const std::string &id, const Affine &correction, const Box &localBox);
    int elementById(const std::string &id);
    // Whether the paint server `id` is placed in its element's bounding box.
    bool followsBox(const std::string &id);
    std::optional<std::string> chainAttribute(int element, const std::string &name);

    Writer &w_;
    XmlEdit &edit_;
    const SvgSource &s_;
    bool styleSheet_ = false;
    std::map<std::string, int> ids_;
};

}  // namespace smear::svg
