#pragma once
// The rules of the text-style list without a window: what a row shows, how a
// style becomes the font chooser's start and how the chooser's answer goes
// back into a style, and the New / Modify / Delete operations on a document.
// The chooser, the name question and the message box come in through
// StyleEditingUi so the flows run in tests without a display.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace fw {

class CDiagramEntityContainer;
class CEntityStyle;
class FormDefinitionDocument;

// Name, font, size, colour, bold, italic: the six cells of a style's row.
using StyleRowTexts = std::array<std::string, 6>;
StyleRowTexts StyleRow(const CEntityStyle& style);

// What the font chooser starts from and answers.
struct FontChoice {
    std::string face;
    // Start: character height in pixels, negative as the screen font wants it.
    int height = 0;
    // Answer: the chosen point size in tenths.
    int pointSizeTenths = 0;
    int weight = 400;
    bool italic = false;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const FontChoice& other) const;
};

// The chooser's start for a style at the screen's vertical resolution; an
// empty description and black without a style.
FontChoice FontChoiceFromStyle(const CEntityStyle* style, int dpiY);
// The whole point size a start height stands for (the inverse of the height
// rule, rounded, so a style's size survives an untouched chooser).
int PointSizeFromHeight(int height, int dpiY);
// "r,g,b" -> the colour (each part's low 8 bits); black unless there are
// exactly three parts.
void ParseStyleColor(const std::string& text, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue);
// Writes what the chooser answered into a style (its name stays).
void ApplyFontChoice(const FontChoice& choice, CEntityStyle& style);

class StyleEditingUi {
public:
    virtual ~StyleEditingUi() = default;
    // Runs the font chooser from `start`; false on cancel, else `chosen` is set.
    virtual bool PickFont(const FontChoice& start, FontChoice& chosen) = 0;
    // Asks for a style name preset with `preset`; false on cancel.
    virtual bool AskName(const std::string& preset, std::string& name) = 0;
    virtual void ShowMessage(const std::string& text, const std::string& title) = 0;
};

class StyleEditing {
public:
    StyleEditing(FormDefinitionDocument& document, StyleEditingUi& ui, int dpiY = 96);

    // One row per style, in the list's (ascending name) order.
    std::vector<StyleRowTexts> Rows() const;

    // Creates a style starting from the selected one (empty: none); answers
    // the new style's name, empty when nothing was created.
    std::string New(const std::string& selectedName);

    struct ModifyResult {
        // Whether the row must show `name` and the style's current values.
        bool refreshRow = false;
        // The row's style name afterwards (the new one after a rename).
        std::string name;
    };
    ModifyResult Modify(const std::string& rowName);

    // Removes the style; every element using it is left without a style.
    bool Delete(const std::string& rowName);

    // Whether any style was created, changed or deleted so far.
    bool HasChanged() const { return m_changed; }

private:
    // Asks until a name is free or the user cancels; false on cancel.
    bool AskFreeName(const std::string& preset, const std::string& sameAs, std::string& name);
    void ReplaceEverywhere(const CEntityStyle* style, CEntityStyle* replacement);
    std::vector<CDiagramEntityContainer*> Forms() const;

    FormDefinitionDocument& m_document;
    StyleEditingUi& m_ui;
    int m_dpiY;
    bool m_changed = false;
};

}  // namespace fw
