#pragma once
// The properties pane as the canvas editor sees it: told about every
// selection change, it shows either the form's or the selection's properties.

namespace fw {

class CDiagramEditor;
class CDiagramEntity;

class PropertiesPane {
public:
    virtual ~PropertiesPane() = default;

    virtual void SetEditor(CDiagramEditor* editor) = 0;
    // Clears the selection, then adds the element when one is given.
    virtual void SetSelection(CDiagramEntity* element) = 0;
    virtual void AddSelection(CDiagramEntity* element) = 0;
    virtual void ShowFormProperties() = 0;
    virtual void ShowControlProperties() = 0;
    // The same selection with new places, sizes or other values (a drag or
    // resize step). A pane may read them again later, once for many calls.
    virtual void RefreshValues() { ShowControlProperties(); }
    // A value typed into the pane and not yet committed goes to the elements
    // it was typed for, before a press on the canvas changes the selection.
    virtual void CommitPendingEdit() {}
};

}  // namespace fw
