#pragma once
// The object inspector: the object class of the active form file and its
// properties by their localized names. Searching and dragging properties onto
// the canvas come with a later release.

#include <wx/panel.h>

#include <string>
#include <vector>

class wxListBox;
class wxStaticText;

namespace fw {

class CObjectInspectorWnd : public wxPanel {
public:
    explicit CObjectInspectorWnd(wxWindow* parent);

    // A title equal to the caption changes nothing (two views of one file);
    // an empty title keeps the caption and only replaces the entries.
    void SetObjectType(const std::string& title, const std::vector<std::string>& entries);
    // Empties the list and the caption.
    void Clear();

    const std::string& GetCaption() const { return m_caption; }
    const std::vector<std::string>& GetEntries() const { return m_entries; }
    wxListBox* GetList() const { return m_list; }

private:
    void Rebuild();

    std::string m_caption;
    std::vector<std::string> m_entries;
    wxStaticText* m_captionLabel = nullptr;
    wxListBox* m_list = nullptr;
};

}  // namespace fw
