#pragma once
// A command button: an action of the application that shows the form. Its kind
// (the element name, written as "id") is chosen on insertion and never changes.
// Image buttons are fixed 24 x 26 tool buttons showing a bitmap; text buttons
// are resizable push buttons with a caption. Kind-specific settings live in
// the attribute table and are written as XML attributes.
//
// The base class's SetImagePath/GetImagePath pair is the slot the button's
// bitmap name uses, so they mean the image key here; SetImageKey/GetImageKey
// are the readable names for them.

#include "model/DiagramEntity.h"

#include <memory>
#include <string>
#include <vector>

namespace fw {

class PropertyItem;

// An attribute a new button of a kind starts with.
struct ButtonStartAttribute {
    const char* key;
    const char* value;
    // The value is the language text of `value` (a display text), not `value` itself.
    bool localized;
};

// Everything that differs between the button kinds.
struct ButtonKind {
    const char* kind;
    bool imageButton;
    const char* imageKey;
    // The title of an image button read from a file (text buttons read theirs).
    const char* fileTitle;
    // Language key of the title a new button gets; null when it cannot be inserted.
    const char* insertTitleKey;
    // Read from the file in this order; an absent one is stored empty.
    std::vector<const char*> fileAttributes;
    std::vector<ButtonStartAttribute> startAttributes;
};

class CDiagramButton : public CDiagramEntity {
public:
    static constexpr const char* ImageButtonType = "ImageButton";
    static constexpr const char* TextButtonType = "button";
    static constexpr IntSize ImageButtonSize{24, 26};

    CDiagramButton();
    ~CDiagramButton() override;

    // All kinds, in the order of the insert gallery.
    static const std::vector<ButtonKind>& Kinds();
    // The kind of that name (exact), or none.
    static const ButtonKind* FindKind(const std::string& kind);

    std::unique_ptr<CDiagramEntity> Clone() const override;
    // "<Command pos="x,y" id="kind"/>" with the position moved 2 up and left.
    std::string GetExportFragment(int kind) const override;
    // Text buttons: a raised push button with the centred caption. Image
    // buttons: a tool-button frame and the bitmap, the window colour left
    // out. Both at the element's zoom. Other types draw nothing.
    void DrawObject(DrawContext& dc, const IntRect& rect) override;
    // Where an image button drawn at `button` (zoomed) shows a bitmap of
    // `bitmap` pixels: 4 across and 5 down from its corner at zoom 1, and
    // offset and size scaled with the zoom, so that it stays inside.
    static IntRect BitmapRect(const IntRect& button, IntSize bitmap, double zoom);
    bool NeedsTextMeasure(double zoom) const override;
    void MeasureText(DrawContext& dc, double zoom) override;
    void WriteXml() override;
    bool LoadXml() override;
    void AddProperties(PropertyGrid& grid, bool flag) override;
    bool KeepsSize() const override;
    // An image button's title comes with its kind; the file keeps no other.
    bool TitleFollowsName() const override;

    void SetImagePath(const std::string& imageKey) override;
    std::string GetImagePath() const override;
    void SetImageKey(const std::string& imageKey) { SetImagePath(imageKey); }
    std::string GetImageKey() const { return GetImagePath(); }

    // Prepares a new button for insertion, then gives it the kind's start attributes.
    void InitButton(const std::string& kind, const std::string& title, const std::string& imageKey,
                    const std::string& type, IntSize maximumSize, IntSize minimumSize);
    // The same with the kind's own title, bitmap, type and sizes; false for a
    // kind that cannot be inserted (the button is then left unchanged).
    bool InitButton(const std::string& kind);

    // "false" or "0" is false; anything else, the empty text included, is true.
    static bool IsTrueText(const std::string& value);
    // A report language's display text for a file code or display text; the
    // first language for anything else.
    static std::string LanguageDisplayText(const std::string& value);
    // The file code of a display text; any other value unchanged.
    static std::string LanguageFileCode(const std::string& value);

private:
    void AddAttributeRows(PropertyGrid& grid, PropertyItem& group, bool firstButton) const;
    void DrawTextButton(DrawContext& dc, const IntRect& rect) const;
    void DrawImageButton(DrawContext& dc, const IntRect& rect) const;

    std::string m_imageKey;
};

}  // namespace fw
