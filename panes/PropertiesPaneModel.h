#pragma once
// The properties pane without its window: which mode it is in, the grid it
// shows for the form or the selected elements, and how an edited row is
// written back. The window only renders the grid and reports edits.

#include "editor/PropertiesPane.h"
#include "model/PropertyGrid.h"

#include <functional>
#include <string>
#include <vector>

namespace fw {

class CDiagramEntityContainer;

// What a window showing the pane's rows must do to show them as they are now.
enum class PaneUpdate { None, Values, Rows };

// The text a row's value shows: blank where the selected elements disagree,
// none for a check box.
std::string ShownValueText(const PropertyItem& item);
// Whether the search text stands in the row's title or shown value, in any
// case; an empty text is in every row.
bool RowMatchesSearch(const PropertyItem& item, const std::string& text);
// Whether the row stays in view while searching: a group when a row below it
// does, another row when it or a row below it matches.
bool RowShownBySearch(const PropertyItem& item, const std::string& text);

// Colour rows keep "r,g,b" (a negative part: no fill). A picker starts from
// the colour the text names and writes back the one chosen.
bool IsColourRow(int id);
bool ColourForPicker(const std::string& text, unsigned char& r, unsigned char& g, unsigned char& b);
std::string ColourFromPicker(unsigned char r, unsigned char g, unsigned char b);

class PropertiesPaneModel : public PropertiesPane {
public:
    static constexpr int FormMode = 0;
    static constexpr int ControlMode = 1;

    void SetEditor(CDiagramEditor* editor) override;
    void SetSelection(CDiagramEntity* element) override;
    void AddSelection(CDiagramEntity* element) override;
    void ShowFormProperties() override;
    void ShowControlProperties() override;
    // Only marks the values stale: however many steps a drag takes between
    // two looks at the rows, they are read from the elements once.
    void RefreshValues() override;

    // The mode box: 0 form, 1 controls. Choosing by hand rebuilds the grid.
    int GetMode() const { return m_mode; }
    void SetMode(int mode);

    // One committed edit of the row `id`; false when it was ignored. The row
    // takes the value; an applied edit is preceded by one undo snapshot.
    bool OnPropertyChanged(int id, const PropertyValue& value);

    // Called after every applied edit, so the window can repaint.
    void SetChangeObserver(std::function<void()> observer) { m_observer = std::move(observer); }

    // Forgets the editor and the selection (the last document closed).
    void Clear();

    // The rows as they are now: stale values are read again first.
    const PropertyGrid& GetGrid();

    // What changed since the window last asked, and forgets it: new values
    // in rows of the same kinds and order, or other rows altogether.
    PaneUpdate TakeUpdate();
    bool HasUpdate() const { return m_update != PaneUpdate::None || m_valuesStale; }

    // The search box's text; it stays while the selection changes.
    void SetSearchText(std::string text) { m_searchText = std::move(text); }
    const std::string& GetSearchText() const { return m_searchText; }
    bool IsShownBySearch(const PropertyItem& item) const { return RowShownBySearch(item, m_searchText); }

    CDiagramEditor* GetEditor() const { return m_editor; }
    const std::vector<CDiagramEntity*>& GetSelection() const { return m_selection; }
    int GetLastTabValue() const { return m_lastTabValue; }

private:
    void BuildFormRows();
    void AddFormRows(const CDiagramEntityContainer& form);
    void BuildControlRows();
    // Reads stale values again.
    void Flush();
    // Notes what a window must do to show the rows built after `before`,
    // which were shown in `beforeMode`.
    void NoteUpdate(const PropertyGrid& before, int beforeMode);
    bool ApplyFormProperty(int id, const PropertyValue& value);
    bool ApplyControlProperty(int id, const PropertyValue& value);
    // False, telling the designer, for a blank name.
    bool AcceptsName(const std::string& name) const;
    void ApplyName(const std::string& name);
    void ApplyTabIndex(int value);
    // Forgets the elements that are not in the editor's form (cut, deleted,
    // undone, or on a form no longer shown), so no edit reaches a freed one.
    // Without an editor nothing can be checked, so nothing is kept. True when
    // any was dropped.
    bool DropElementsNotInForm();
    // The editor's form, which every element of the selection is in.
    CDiagramEntityContainer* TargetForm() const;
    void RepaintEditor() const;

    int m_mode = FormMode;
    PropertyGrid m_grid;
    bool m_valuesStale = false;
    PaneUpdate m_update = PaneUpdate::None;
    CDiagramEditor* m_editor = nullptr;
    std::vector<CDiagramEntity*> m_selection;
    int m_lastTabValue = -1;
    std::string m_searchText;
    std::function<void()> m_observer;
};

}  // namespace fw
