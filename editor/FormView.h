#pragma once
// The form view's logic without its window: it sets up the canvas editor of
// one open form, runs the ribbon's commands on it and answers each command's
// enabled and checked state, so the ribbon only has to ask.

#include "editor/DEditor.h"
#include "services/Geometry.h"

#include <string>
#include <vector>

namespace fw {

class EditorHost;
class FormDefinitionDocument;
class PropertiesPane;

// Which creation tool the last insert command armed, for the check marks.
namespace InsertKind {
constexpr int None = 0;
constexpr int Button = 1;
constexpr int Text = 3;
constexpr int Image = 9;
constexpr int Table = 10;
constexpr int Line = 11;
constexpr int Rectangle = 12;
constexpr int Ellipse = 13;
}  // namespace InsertKind

struct CommandState {
    bool enabled = true;
    bool checked = false;
};

// One command button kind the view can insert.
struct ButtonCommand {
    int id;
    const char* kind;
    const char* captionKey;  // language key of the caption
    const char* imageKey;    // "" for text buttons
    const char* type;        // "ImageButton" or "button"
};

class FormView {
public:
    explicit FormView(FormDefinitionDocument& document);
    FormView(const FormView&) = delete;
    FormView& operator=(const FormView&) = delete;
    ~FormView();

    CDEditor& GetEditor() { return m_editor; }
    const CDEditor& GetEditor() const { return m_editor; }
    FormDefinitionDocument& GetDocument() { return m_document; }

    // The first showing: sets the editor up on the window with the form
    // view's settings and attaches the document's current form.
    void OnInitialUpdate(EditorHost* host, PropertiesPane* pane, int screenDpi = 96);
    // The document switched its current form: attach it and repaint.
    void OnCurrentFormChanged();

    // Runs a command; false when the view has no such command.
    bool OnCommand(int id);
    bool HasCommand(int id) const;
    CommandState GetCommandState(int id) const;
    // The ribbon's description of a command as things stand: Undo and Redo
    // name the step they would take ("Undo Move"); "" keeps the table's text.
    std::string GetCommandDescription(int id) const;
    // The status bar's account of the history after a change: what Undo and
    // Redo would take next ("Undo Move · Redo Width"); "" when neither can.
    std::string GetHistoryStatus() const;
    // The status bar's zoom, in whole percent: "110 %".
    std::string GetZoomStatus() const;
    // Every command the view handles, in table order.
    static const std::vector<int>& GetCommands();
    // The fourteen button kinds of the gallery, in ribbon order.
    static const std::vector<ButtonCommand>& GetButtonCommands();

    int GetInsertKind() const { return m_insertKind; }
    int GetScreenDpi() const { return m_screenDpi; }
    // The printer's rectangle for the paper and the scale that gives it.
    IntRect GetPrintRect(int printerDpi, double& scale) const;

    // A property dragged from the object inspector ("localized;internal")
    // dropped at a client point: builds the property field and its label, arms
    // the pair tool and presses and releases there, which places both. A
    // property the form already shows gets a message and no pair; the press
    // then acts as an ordinary click. True when the pair was placed.
    bool OnDropProperty(IntPoint clientPoint, const std::string& text);

    // Selects the element of the current form with this name (a caption
    // never), without regard to case; false when there is none.
    bool SelectByName(const std::string& name);

    // Asks for confirmation, then numbers the property fields by position;
    // false when the designer declined.
    bool CalcTabOrderFromCoordinates();

private:
    void ArmTool(std::unique_ptr<CDiagramEntity> prototype, int insertKind);
    bool InsertButton(const ButtonCommand& button);
    // Arms the pair tool with a new field and its label; false when the form
    // already shows the property.
    bool ArmPropertyPair(const std::string& text);

    FormDefinitionDocument& m_document;
    CDEditor m_editor;
    int m_insertKind = InsertKind::None;
    int m_screenDpi = 96;
};

}  // namespace fw
