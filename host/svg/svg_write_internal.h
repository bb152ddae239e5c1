// The SVG writer's state, shared by the sources that write art and paint.
#pragma once

#include <map>
#include <set>
#include <string>

#include "document.h"
#include "xml_out.h"

namespace smear::svg {

class Writer {
public:
    explicit Writer(const Document &doc);
    std::string write();

private:
    // Art (svg_write.cpp).
    void writeLayer(const Layer &layer, bool asGroup);
    void writeArt(const Art &art);
    void writePath(const Art &art);
    void writeCompound(const Art &art);
    void writeGroup(const Art &art);
    void writeMesh(const Art &art);
    void writeText(const Art &art);
    void writeImage(const Art &art);
    void writeSymbol(const Art &art);
    void writeCommon(const Art &art);
    void writeTags(const std::map<std::string, ArtTag> &tags, const std::string &prefix);
    void writeMatrix(const AIRealMatrix &m);

    // Paint (svg_write_paint.cpp).
    void writePaint(const AIPathStyle &style);
    std::string paint(const AIColor &color);
    std::string gradientPaint(const AIGradientStyle &g);
    std::string patternPaint(const AIPatternStyle &p);
    std::string definitionId(const std::string &base, const std::string &markupWithoutId);
    std::string freshId(const std::string &base);

    const Document &doc_;
    XmlOut body_{1};
    std::string defs_;  // gradient and pattern elements, one per line
    std::set<std::string> usedIds_;
    std::map<std::string, std::string> defIdByContent_;
    int counter_ = 0;
};

// SVG's number for an opacity, blend mode name and matrix of a document
// matrix (which maps document space, y up).
std::string svgMatrix(const AIRealMatrix &m);
bool isIdentity(const AIRealMatrix &m);

}  // namespace smear::svg
