#pragma once
// A single line of static text. Its name is a text key stored in the file; its
// title is what the object model shows for that key. The same class serves as
// the caption (linked label) of a property field, which writes the caption's
// geometry and style into its own element instead.
//
// A key the object model does not know keeps the key itself as title, so the
// designer still sees which text the element stands for.

#include "model/DiagramEntity.h"

#include <memory>
#include <string>

namespace fw {

class CDiagramStatic : public CDiagramEntity {
public:
    CDiagramStatic();
    ~CDiagramStatic() override;

    // Builds a text from its one-line text form; none when the line cannot be read.
    static std::unique_ptr<CDiagramStatic> FromText(const std::string& text);

    std::unique_ptr<CDiagramEntity> Clone() const override;
    // The title on one line in the style's font and colour, or without a
    // style in the GUI font, either at the element's zoom. No frame, no background.
    void DrawObject(DrawContext& dc, const IntRect& rect) override;
    bool NeedsTextMeasure(double zoom) const override;
    void MeasureText(DrawContext& dc, double zoom) override;
    void WriteXml() override;
    bool LoadXml() override;
    void AddProperties(PropertyGrid& grid, bool flag) override;
    // True for a free text; a caption's title comes from its field.
    bool TitleFollowsName() const override;
    // A text without a key is dropped on reading.
    std::string GetWriteLoss(const std::string& formFolder) const override;

    // The title a text with this key shows: the object model's text, else the key.
    static std::string TitleOfKey(const std::string& key);

private:
    FontDesc CaptionFont(const DrawContext& dc, double zoom) const;
    // The style's font, which the caption's measured reach depends on too: a
    // style can be changed in place, leaving title and zoom as they were.
    FontDesc StyleFont() const;
    bool CaptionMeasuredFor(const std::string& title, double zoom) const;
    void NoteCaptionReach(DrawContext& dc, const std::string& title, const IntRect& rect, double zoom);

    FontDesc m_measuredStyleFont;
};

}  // namespace fw
