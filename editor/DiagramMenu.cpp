#include "editor/DiagramMenu.h"

#include "editor/CommandIds.h"
#include "editor/DiagramEditor.h"
#include "model/DiagramEntityContainer.h"

namespace fw {

CDiagramMenu::~CDiagramMenu() = default;

PopupMenu& CDiagramMenu::GetPopupMenu(const CDiagramEditor& editor)
{
    if (!m_menu) {
        // Fixed texts: this menu does not follow the language setting.
        m_menu = std::make_unique<PopupMenu>();
        m_menu->Append(ID_EDIT_CUT, "Cut");
        m_menu->Append(ID_EDIT_COPY, "Copy");
        m_menu->Append(ID_EDIT_PASTE, "Paste");
        m_menu->AppendSeparator();
        m_menu->Append(ID_EDIT_GROUP, "Group");
        m_menu->Append(ID_EDIT_UNGROUP, "Ungroup");
    }
    const int selected = editor.GetSelectCount();
    CDiagramEntityContainer* form = editor.GetDiagramEntityContainer();
    m_menu->Find(ID_EDIT_CUT)->enabled = selected > 0;
    m_menu->Find(ID_EDIT_COPY)->enabled = selected > 0;
    m_menu->Find(ID_EDIT_PASTE)->enabled = form && form->CanPaste();
    m_menu->Find(ID_EDIT_GROUP)->enabled = selected > 1;
    m_menu->Find(ID_EDIT_UNGROUP)->enabled = selected > 1;
    return *m_menu;
}

}  // namespace fw
