#include "panes/PropertiesWnd.h"

#include "services/Environment.h"
#include "services/LanguageTable.h"

#include <wx/choice.h>
#include <wx/colordlg.h>
#include <wx/propgrid/advprops.h>
#include <wx/propgrid/manager.h>
#include <wx/propgrid/props.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace fw {

namespace {

int RowId(const wxPGProperty* property)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(property->GetClientData()));
}

wxString ToWx(const std::string& text)
{
    return wxString::FromUTF8(text);
}

// The image filter ends with an empty pair ("...||"), which the file dialog
// would show as a nameless entry.
wxString Wildcard(const std::string& filter)
{
    wxString wildcard = ToWx(filter);
    while (wildcard.EndsWith("|"))
        wildcard.RemoveLast();
    return wildcard;
}

std::int64_t AsInt64(const wxVariant& value)
{
    if (value.GetType() == "longlong")
        return value.GetLongLong().GetValue();
    if (value.GetType() == "double")
        return static_cast<std::int64_t>(value.GetDouble());
    if (value.GetType() == "bool")
        return value.GetBool() ? 1 : 0;
    return value.GetLong();
}

// A fixed list, as opposed to one that also takes typed text. Not
// wxDynamicCast: it casts down before it checks, undefined for other rows.
bool IsFixedList(const wxPGProperty* property)
{
    return dynamic_cast<const wxEnumProperty*>(property) && !dynamic_cast<const wxEditEnumProperty*>(property);
}

// The grid's value in the kind the model's row holds; none when the grid
// has no value (an emptied number).
bool ReadValue(const wxPGProperty* property, const PropertyValue& kind, PropertyValue& out)
{
    const wxVariant value = property->GetValue();
    if (value.IsNull())
        return false;
    if (std::holds_alternative<std::string>(kind)) {
        const wxString text = value.GetType() == "string" ? value.GetString() : property->GetValueAsString();
        out = std::string(text.utf8_str());
    } else if (std::holds_alternative<bool>(kind)) {
        out = value.GetType() == "bool" ? value.GetBool() : AsInt64(value) != 0;
    } else if (std::holds_alternative<std::int32_t>(kind)) {
        const std::int64_t number = AsInt64(value);
        out = static_cast<std::int32_t>(std::clamp<std::int64_t>(number, std::numeric_limits<std::int32_t>::min(),
                                                                 std::numeric_limits<std::int32_t>::max()));
    } else if (std::holds_alternative<std::int64_t>(kind)) {
        out = AsInt64(value);
    } else {
        out = value.GetType() == "double" ? value.GetDouble() : static_cast<double>(AsInt64(value));
    }
    return true;
}

void ShowValue(wxPGProperty* property, const PropertyValue& value)
{
    struct Visitor {
        wxPGProperty* property;
        void operator()(const std::string& v) const
        {
            if (IsFixedList(property))
                property->SetValueFromString(ToWx(v));
            else
                property->SetValue(wxVariant(ToWx(v)));
        }
        void operator()(std::int32_t v) const { property->SetValue(wxVariant(static_cast<long>(v))); }
        void operator()(std::int64_t v) const { property->SetValue(WXVARIANT(wxLongLong(v))); }
        void operator()(double v) const { property->SetValue(wxVariant(v)); }
        void operator()(bool v) const { property->SetValue(wxVariant(v)); }
    };
    std::visit(Visitor{property}, value);
}

// Colour text with a button that opens the colour dialog; typing still works.
class ColourTextProperty : public wxLongStringProperty {
public:
    using wxLongStringProperty::wxLongStringProperty;

protected:
    bool DisplayEditorDialog(wxPropertyGrid* grid, wxVariant& value) override
    {
        wxColourData data;
        unsigned char r = 0, g = 0, b = 0;
        if (ColourForPicker(std::string(value.GetString().utf8_str()), r, g, b))
            data.SetColour(wxColour(r, g, b));
        wxColourDialog dialog(grid, &data);
        if (dialog.ShowModal() != wxID_OK)
            return false;
        const wxColour chosen = dialog.GetColourData().GetColour();
        value = ToWx(ColourFromPicker(chosen.Red(), chosen.Green(), chosen.Blue()));
        return true;
    }
};

}  // namespace

CPropertiesWnd::CPropertiesWnd(wxWindow* parent) : wxPanel(parent, wxID_ANY)
{
    wxPropertyGrid::RegisterAdditionalEditors();

    m_modeBox = new wxChoice(this, wxID_ANY);
    m_modeBox->Append(ToWx(langStr("PROPWND_FORMPROP")));
    m_modeBox->Append(ToWx(langStr("PROPWND_CNTRLPROP")));
    m_modeBox->SetSelection(PropertiesPaneModel::FormMode);
    m_searchBox = new wxTextCtrl(this, wxID_ANY);
    m_searchBox->SetHint(ToWx(langStr("PROPWND_SEARCH_HINT")));

    // No tool bar and no header; bold marks a changed value. The description
    // box comes once the grid has had its first size: before that it would be
    // placed at a width the grid does not know yet.
    m_manager = new wxPropertyGridManager(this, wxID_ANY, wxDefaultPosition, FromDIP(wxSize(200, 300)),
                                          wxPG_BOLD_MODIFIED | wxPG_NO_INTERNAL_BORDER | wxTAB_TRAVERSAL);
    // A label or value cut by its column shows in full as a tooltip.
    m_manager->SetWindowStyleFlag(m_manager->GetWindowStyleFlag() | wxPG_TOOLTIPS);
    m_manager->AddPage();
    m_manager->SendSizeEvent();
    m_manager->SetWindowStyleFlag(m_manager->GetWindowStyleFlag() | wxPG_DESCRIPTION);
    m_manager->SetDescBoxHeight(FromDIP(72));

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_modeBox, 0, wxEXPAND | wxALL, FromDIP(2));
    sizer->Add(m_searchBox, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(2));
    sizer->Add(m_manager, 1, wxEXPAND);
    SetSizer(sizer);

    ApplyFont();
    m_model.SetChangeObserver([this] { ShowValuesAfterEdit(); });

    m_modeBox->Bind(wxEVT_CHOICE, &CPropertiesWnd::OnModeChosen, this);
    m_searchBox->Bind(wxEVT_TEXT, [this](wxCommandEvent& event) {
        m_model.SetSearchText(std::string(m_searchBox->GetValue().utf8_str()));
        ApplySearch();
        event.Skip();
    });
    m_manager->Bind(wxEVT_PG_CHANGED, &CPropertiesWnd::OnGridChanged, this);
    m_manager->Bind(wxEVT_PG_COL_END_DRAG, [this](wxPropertyGridEvent& event) {
        m_splitterPlaced = true;
        event.Skip();
    });
    Bind(wxEVT_SYS_COLOUR_CHANGED, &CPropertiesWnd::OnSysColourChanged, this);
    Bind(wxEVT_SIZE, &CPropertiesWnd::OnSize, this);
}

void CPropertiesWnd::SetEditor(CDiagramEditor* editor)
{
    m_model.SetEditor(editor);
}

void CPropertiesWnd::SetSelection(CDiagramEntity* element)
{
    m_model.SetSelection(element);
}

void CPropertiesWnd::AddSelection(CDiagramEntity* element)
{
    m_model.AddSelection(element);
}

void CPropertiesWnd::ShowFormProperties()
{
    ApplyFont();
    m_model.ShowFormProperties();
    ScheduleUpdate();
}

void CPropertiesWnd::ShowControlProperties()
{
    m_model.ShowControlProperties();
    ScheduleUpdate();
}

void CPropertiesWnd::RefreshValues()
{
    m_model.RefreshValues();
    ScheduleUpdate();
}

void CPropertiesWnd::CommitPendingEdit()
{
    // The grid commits on its own only once focus has moved, by then perhaps
    // to the elements of the next selection.
    wxPropertyGrid* grid = m_manager->GetGrid();
    if (grid->GetEditorControl() && grid->IsEditorsValueModified())
        grid->CommitChangesFromEditor();
}

void CPropertiesWnd::Clear()
{
    m_model.Clear();
    ScheduleUpdate();
}

void CPropertiesWnd::ScheduleUpdate()
{
    if (m_updateScheduled)
        return;
    m_updateScheduled = true;
    CallAfter([this] { ShowUpdate(); });
}

void CPropertiesWnd::ShowUpdate()
{
    m_updateScheduled = false;
    const PaneUpdate update = m_model.TakeUpdate();
    if (update == PaneUpdate::Rows || m_rowsOutdated)
        Render();
    else if (update == PaneUpdate::Values)
        SyncValues();
}

void CPropertiesWnd::ShowValuesAfterEdit()
{
    // Rows the edit itself changed are rebuilt once the grid's handler is
    // done: it still holds the edited one.
    if (m_model.HasUpdate())
        ScheduleUpdate();
    else
        SyncValues();
}

void CPropertiesWnd::SetFocus()
{
    m_manager->GetGrid()->SetFocus();
}

wxPropertyGrid* CPropertiesWnd::GetGrid() const
{
    return m_manager->GetGrid();
}

wxPGProperty* CPropertiesWnd::FindRow(int id) const
{
    if (id == 0)
        return nullptr;
    for (wxPropertyGridIterator it = m_manager->GetGrid()->GetIterator(wxPG_ITERATE_ALL); !it.AtEnd(); ++it)
        if (RowId(*it) == id)
            return *it;
    return nullptr;
}

wxString CPropertiesWnd::GetShownText() const
{
    wxString text = m_modeBox->GetStringSelection();
    for (wxPropertyGridIterator it = m_manager->GetGrid()->GetIterator(wxPG_ITERATE_VISIBLE); !it.AtEnd(); ++it) {
        text += "\n" + (*it)->GetLabel();
        if (!(*it)->IsCategory())
            text += ": " + (*it)->GetValueAsString();
    }
    return text;
}

void CPropertiesWnd::Render()
{
    m_rowsOutdated = false;
    ++m_rowBuilds;
    m_modeBox->SetSelection(m_model.GetMode());
    m_manager->Freeze();
    m_manager->GetGrid()->Clear();
    // The description belonged to a row that is gone.
    m_manager->SetDescription(wxEmptyString, wxEmptyString);
    const PropertyGrid& grid = m_model.GetGrid();
    for (int i = 0; i < grid.GetPropertyCount(); ++i)
        AddRows(*grid.GetProperty(i), nullptr);
    m_manager->Thaw();
    m_searchHidRows = false;
    ApplySearch();
    FitSplitter();
    m_manager->GetGrid()->Refresh();
    m_manager->GetGrid()->Update();
}

void CPropertiesWnd::AddRows(const PropertyItem& item, wxPGProperty* parent)
{
    wxPropertyGrid* grid = m_manager->GetGrid();
    wxPGProperty* property = MakeProperty(item);
    property = parent ? grid->AppendIn(parent, property) : grid->Append(property);
    if (!item.IsGroup()) {
        if (item.IsReadOnly())
            grid->SetPropertyReadOnly(property, true);
        property->SetModifiedStatus(item.IsModified());
        if (ShowsBlank(item))
            property->SetValueToUnspecified();
    }
    for (int i = 0; i < item.GetSubItemCount(); ++i)
        AddRows(*item.GetSubItem(i), property);
}

bool CPropertiesWnd::ShowsBlank(const PropertyItem& item)
{
    // A check box has no blank; its row keeps the note instead.
    return item.IsMixed() && !std::holds_alternative<bool>(item.GetValue());
}

void CPropertiesWnd::ApplySearch()
{
    if (m_model.GetSearchText().empty() && !m_searchHidRows)
        return;
    m_searchHidRows = false;
    wxPropertyGrid* grid = m_manager->GetGrid();
    const PropertyGrid& rows = m_model.GetGrid();
    // The grid's rows were added in the model's order, so the two trees walk together.
    const auto apply = [&](const auto& self, const PropertyItem& item, wxPGProperty* property) -> void {
        const bool shown = m_model.IsShownBySearch(item);
        if (property->HasFlag(wxPG_PROP_HIDDEN) == shown)
            grid->HideProperty(property, !shown, wxPG_DONT_RECURSE);
        m_searchHidRows = m_searchHidRows || !shown;
        const unsigned int count =
            std::min(static_cast<unsigned int>(item.GetSubItemCount()), property->GetChildCount());
        for (unsigned int i = 0; i < count; ++i)
            self(self, *item.GetSubItem(static_cast<int>(i)), property->Item(i));
    };
    wxPGProperty* root = grid->GetRoot();
    const unsigned int count = std::min(static_cast<unsigned int>(rows.GetPropertyCount()), root->GetChildCount());
    for (unsigned int i = 0; i < count; ++i)
        apply(apply, *rows.GetProperty(static_cast<int>(i)), root->Item(i));
}

wxPGProperty* CPropertiesWnd::MakeProperty(const PropertyItem& item) const
{
    // Grid names must be unique; form groups share identifier 0.
    static long serial = 0;
    const wxString name = wxString::Format("row%d_%ld", item.GetId(), ++serial);
    const wxString title = ToWx(item.GetTitle());

    wxPGProperty* property = nullptr;
    if (item.IsGroup()) {
        property = new wxPropertyCategory(title, name);
    } else if (const auto* v = std::get_if<bool>(&item.GetValue())) {
        property = new wxBoolProperty(title, name, *v);
        property->SetAttribute(wxPG_BOOL_USE_CHECKBOX, true);
    } else if (const auto* v = std::get_if<std::int32_t>(&item.GetValue())) {
        property = new wxIntProperty(title, name, static_cast<long>(*v));
        if (item.GetEditor() == PropertyEditor::Spin) {
            property->SetEditor("SpinCtrl");
            property->SetAttribute(wxPG_ATTR_SPINCTRL_MOTION, true);
        }
    } else if (const auto* v = std::get_if<std::int64_t>(&item.GetValue())) {
        property = new wxIntProperty(title, name, wxLongLong(*v));
    } else if (const auto* v = std::get_if<double>(&item.GetValue())) {
        property = new wxFloatProperty(title, name, *v);
    } else {
        const wxString text = ToWx(item.GetText());
        if (item.GetEditor() == PropertyEditor::FileChooser) {
            property = new wxFileProperty(title, name, text);
            property->SetAttribute(wxPG_FILE_WILDCARD, Wildcard(item.GetFileFilter()));
            property->SetAttribute(wxPG_FILE_SHOW_FULL_PATH, true);
        } else if (IsColourRow(item.GetId())) {
            property = new ColourTextProperty(title, name, text);
        } else if (!item.GetOptions().empty()) {
            wxArrayString options;
            for (const std::string& option : item.GetOptions())
                options.Add(ToWx(option));
            if (item.AllowsFreeText()) {
                property = new wxEditEnumProperty(title, name, options, wxArrayInt(), text);
            } else {
                // An unknown name must still show; a mixed mark shows blank.
                if (options.Index(text) == wxNOT_FOUND && !item.IsMixed())
                    options.Add(text);
                property = new wxEnumProperty(title, name, options, wxArrayInt(), options.Index(text));
            }
        } else {
            property = new wxStringProperty(title, name, text);
        }
    }
    property->SetClientData(reinterpret_cast<void*>(static_cast<std::intptr_t>(item.GetId())));
    property->SetHelpString(ToWx(item.GetDescription()));
    return property;
}

void CPropertiesWnd::SyncValues()
{
    m_syncing = true;
    wxPropertyGrid* grid = m_manager->GetGrid();
    for (wxPropertyGridIterator it = grid->GetIterator(wxPG_ITERATE_PROPERTIES); !it.AtEnd(); ++it) {
        wxPGProperty* property = *it;
        const PropertyItem* item = m_model.GetGrid().FindItem(RowId(property));
        if (!item || item->IsGroup())
            continue;
        // Only rows that changed are touched and redrawn: a drag step changes two.
        bool changed = false;
        PropertyValue shown;
        if (ShowsBlank(*item)) {
            if (!property->IsValueUnspecified()) {
                property->SetValueToUnspecified();
                changed = true;
            }
        } else if (!ReadValue(property, item->GetValue(), shown) || shown != item->GetValue()) {
            ShowValue(property, item->GetValue());
            changed = true;
        }
        const wxString help = ToWx(item->GetDescription());
        if (property->GetHelpString() != help) {
            property->SetHelpString(help);
            changed = true;
        }
        if (property->HasFlag(wxPG_PROP_MODIFIED) != item->IsModified()) {
            property->SetModifiedStatus(item->IsModified());
            changed = true;
        }
        if (changed)
            grid->RefreshProperty(property);
    }
    m_syncing = false;
    // New values may match the search text, or no longer.
    ApplySearch();
}

void CPropertiesWnd::ApplyFont()
{
    // The configured face at the size, weight and slant of the system font.
    wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    const wxString face = ToWx(Environment::instance().getUiFont());
    if (!face.empty())
        font.SetFaceName(face);
    m_modeBox->SetFont(font);
    m_manager->SetFont(font);
    m_manager->GetGrid()->SetFont(font);
}

void CPropertiesWnd::FitSplitter()
{
    wxPropertyGrid* grid = m_manager->GetGrid();
    const int width = grid->GetClientSize().GetWidth();
    if (m_splitterPlaced || width <= 0 || m_model.GetGrid().GetPropertyCount() == 0)
        return;
    grid->SetSplitterLeft(true);
    // The values need room too: the labels get three fifths at most.
    grid->SetSplitterPosition(std::min(grid->GetSplitterPosition(), width * 3 / 5));
}

void CPropertiesWnd::OnSize(wxSizeEvent& event)
{
    event.Skip();
    CallAfter([this] { FitSplitter(); });
}

void CPropertiesWnd::OnModeChosen(wxCommandEvent& event)
{
    if (event.GetSelection() == wxNOT_FOUND)
        return;
    m_model.SetMode(event.GetSelection());
    ShowUpdate();
}

void CPropertiesWnd::OnGridChanged(wxPropertyGridEvent& event)
{
    wxPGProperty* property = event.GetProperty();
    if (m_syncing || !property)
        return;
    // Rows shown for an earlier selection take no edit.
    if (m_model.TakeUpdate() == PaneUpdate::Rows)
        m_rowsOutdated = true;
    if (m_rowsOutdated) {
        ScheduleUpdate();
        return;
    }
    const PropertyItem* item = m_model.GetGrid().FindItem(RowId(property));
    if (!item || item->IsGroup())
        return;
    PropertyValue value;
    const bool applied =
        ReadValue(property, item->GetValue(), value) && m_model.OnPropertyChanged(item->GetId(), value);
    // An ignored edit goes back to what the model holds.
    if (!applied)
        ShowValuesAfterEdit();
}

void CPropertiesWnd::OnSysColourChanged(wxSysColourChangedEvent& event)
{
    ApplyFont();
    event.Skip();
}

}  // namespace fw
