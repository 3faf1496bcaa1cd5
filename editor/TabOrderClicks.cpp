#include "editor/TabOrderClicks.h"

#include "editor/DiagramEditor.h"
#include "editor/PropertiesPane.h"
#include "model/DiagramEntityContainer.h"
#include "services/LanguageTable.h"

#include <algorithm>

namespace fw {

std::vector<CDiagramEntity*> TabSequence(const CDiagramEntityContainer& form)
{
    std::vector<std::pair<int, int>> numbered;  // tab index, list position
    for (int i = 0; i < form.GetCount(); ++i)
        if (form.GetAt(i)->TakesPartInTabOrder())
            numbered.emplace_back(form.GetAt(i)->GetTabIndex(), i);
    std::sort(numbered.begin(), numbered.end());
    std::vector<CDiagramEntity*> sequence;
    for (const auto& [number, at] : numbered)
        sequence.push_back(form.GetAt(at));
    return sequence;
}

void TabOrderClicks::Start()
{
    m_on = true;
    m_clicked = 0;
    m_stepUndoCount = -1;
}

void TabOrderClicks::Stop()
{
    m_on = false;
    m_clicked = 0;
    m_stepUndoCount = -1;
}

bool TabOrderClicks::Click(CDiagramEntityContainer& form, const CDiagramEntity& field, const std::string& stepName,
                           const CDiagramEntity* reference)
{
    if (!m_on)
        return false;
    // Undo went back past the round's step: the numbers it counted on are
    // gone, so the round starts over.
    if (m_stepUndoCount >= 0 && (form.GetRedoCount() > 0 || form.GetUndoCount() < m_stepUndoCount)) {
        m_clicked = 0;
        m_stepUndoCount = -1;
    }
    // The clicked fields are the first of the sequence: they hold 0 up.
    std::vector<CDiagramEntity*> order = TabSequence(form);
    const auto at = std::find(order.begin(), order.end(), &field);
    if (at == order.end())
        return false;
    const auto clicked = order.begin() + std::min<std::ptrdiff_t>(m_clicked, at - order.begin());
    std::rotate(clicked, at, at + 1);
    m_clicked = static_cast<int>(clicked - order.begin()) + 1;

    bool changes = false;
    for (std::size_t i = 0; i < order.size() && !changes; ++i)
        changes = order[i]->GetTabIndex() != static_cast<int>(i);
    if (!changes)
        return false;
    // Another step in between (a pane edit) leaves this round's step behind.
    const bool joins = m_stepUndoCount >= 0 && m_stepUndoCount == form.GetUndoCount() && form.GetRedoCount() == 0 &&
                       form.GetUndoName() == stepName;
    if (!joins) {
        form.Snapshot(stepName, reference);
        m_stepUndoCount = form.GetUndoCount();
    }
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i]->SetTabIndex(static_cast<int>(i));
    // The list follows the numbers, as after any renumbering.
    form.SortByTabIndex();
    form.SetModified(true);
    return true;
}

// --- the editor's side -------------------------------------------------------------

void CDiagramEditor::StartTabOrderClicks()
{
    if (!m_objs || m_tabOrderClicks.IsOn())
        return;
    StopPanning();
    // Clicks neither place nor select now; handles would hide the numbers.
    StartDrawingObject(nullptr);
    m_paperMarkersShown = 0;
    m_nudge = Nudge{};
    UnselectAll();
    NotifySelection();
    m_tabOrderClicks.Start();
    m_objs->SetShowTabOrder(true);
    Repaint();
}

void CDiagramEditor::EndTabOrderClicks()
{
    if (!m_tabOrderClicks.IsOn())
        return;
    m_tabOrderClicks.Stop();
    if (m_objs)
        m_objs->SetShowTabOrder(m_showTabOrder);
    Repaint();
}

void CDiagramEditor::ClickTabOrder(IntPoint point)
{
    if (m_propertiesPane)
        m_propertiesPane->CommitPendingEdit();
    if (m_host)
        m_host->SetFocus();
    // The topmost field under the point: a caption or frame over it does not hide it.
    CDiagramEntity* field = nullptr;
    for (int i = m_objs->GetCount() - 1; i >= 0 && !field; --i) {
        CDiagramEntity* e = m_objs->GetAt(i);
        if (e->TakesPartInTabOrder() && e->GetHitCode(point, ScreenRectOf(*e)) != HitCode::None)
            field = e;
    }
    m_nudge = Nudge{};
    if (!field || !m_tabOrderClicks.Click(*m_objs, *field, langStr("STEP_TAB_ORDER_CLICKS"), GetSelectedObject()))
        return;
    if (m_propertiesPane)
        m_propertiesPane->RefreshValues();
    Repaint();
}

}  // namespace fw
