#pragma once
// The properties pane window: a mode box above a property grid with its
// description area. What the rows are and how an edit is applied is the
// pane model's business; this class renders the model's grid and hands
// committed edits back to it.

#include "editor/PropertiesPane.h"
#include "panes/PropertiesPaneModel.h"

#include <wx/panel.h>

class wxChoice;
class wxCommandEvent;
class wxPGProperty;
class wxPropertyGrid;
class wxPropertyGridEvent;
class wxPropertyGridManager;
class wxSizeEvent;
class wxSysColourChangedEvent;
class wxTextCtrl;

namespace fw {

class PropertyItem;

class CPropertiesWnd : public wxPanel, public PropertiesPane {
public:
    explicit CPropertiesWnd(wxWindow* parent);

    void SetEditor(CDiagramEditor* editor) override;
    void SetSelection(CDiagramEntity* element) override;
    void AddSelection(CDiagramEntity* element) override;
    void ShowFormProperties() override;
    void ShowControlProperties() override;
    void RefreshValues() override;
    void CommitPendingEdit() override;

    // Forgets the editor and the selection (the last document closed).
    void Clear();

    // Focus given to the pane goes to the grid.
    void SetFocus() override;

    CDiagramEditor* GetEditor() const { return m_model.GetEditor(); }
    const PropertiesPaneModel& GetModel() const { return m_model; }
    wxChoice* GetModeBox() const { return m_modeBox; }
    wxTextCtrl* GetSearchBox() const { return m_searchBox; }
    wxPropertyGridManager* GetGridManager() const { return m_manager; }
    wxPropertyGrid* GetGrid() const;
    // The grid property of the row `id`, or none.
    wxPGProperty* FindRow(int id) const;
    // What the pane shows: the mode, then one "title: value" line per row in view.
    wxString GetShownText() const;
    // How often the grid's rows were built anew, for the tests.
    int GetRowBuildCount() const { return m_rowBuilds; }

private:
    // Shows the model's rows once the events waiting now are done: many
    // changes in a row (the steps of a drag) cost one update.
    void ScheduleUpdate();
    void ShowUpdate();
    void ShowValuesAfterEdit();
    void Render();
    void AddRows(const PropertyItem& item, wxPGProperty* parent);
    wxPGProperty* MakeProperty(const PropertyItem& item) const;
    // Brings shown values, descriptions and bold marks in line with the model.
    void SyncValues();
    // Hides the rows the search box's text is in neither the title nor the
    // value of, and groups left without a row.
    void ApplySearch();
    static bool ShowsBlank(const PropertyItem& item);
    void ApplyFont();
    // Moves the column split so the labels show in full, unless the user
    // placed it by hand.
    void FitSplitter();

    void OnModeChosen(wxCommandEvent& event);
    void OnGridChanged(wxPropertyGridEvent& event);
    void OnSysColourChanged(wxSysColourChangedEvent& event);
    void OnSize(wxSizeEvent& event);

    PropertiesPaneModel m_model;
    wxChoice* m_modeBox = nullptr;
    wxTextCtrl* m_searchBox = nullptr;
    wxPropertyGridManager* m_manager = nullptr;
    bool m_syncing = false;
    bool m_searchHidRows = false;
    bool m_splitterPlaced = false;
    bool m_updateScheduled = false;
    // The rows shown belong to an earlier selection.
    bool m_rowsOutdated = false;
    int m_rowBuilds = 0;
};

}  // namespace fw
