#include "editor/HeadlessHost.h"

#include "editor/DiagramEditor.h"

namespace fw {

void HeadlessHost::Invalidate()
{
    ++m_invalidates;
    m_invalidated.Add({0, 0, m_client.cx, m_client.cy});
}

void HeadlessHost::Invalidate(const IntRect& area)
{
    ++m_invalidates;
    m_invalidated.Add(area);
}

std::vector<IntRect> HeadlessHost::TakeInvalidated()
{
    std::vector<IntRect> parts = m_invalidated.Parts();
    m_invalidated.Clear();
    return parts;
}

IntPoint HeadlessHost::ClientToScreen(IntPoint point) const
{
    return {point.x + m_screenOffset.x, point.y + m_screenOffset.y};
}

void HeadlessHost::SetScrollBar(Orientation which, const ScrollBarState& state)
{
    (which == Orientation::Horizontal ? m_hScroll : m_vScroll) = state;
}

void HeadlessHost::StartTimer(unsigned id, int /*milliseconds*/)
{
    m_timers.insert(id);
}

void HeadlessHost::StopTimer(unsigned id)
{
    m_timers.erase(id);
}

int HeadlessHost::ChooseFromMenu(const PopupMenu& menu, IntPoint screenPoint)
{
    m_menus.push_back({menu, screenPoint});
    if (m_menuAnswers.empty())
        return 0;
    const int answer = m_menuAnswers.front();
    m_menuAnswers.pop_front();
    // A disabled item cannot be chosen, as in a real menu.
    for (const MenuItem& item : menu.items)
        if (item.command == answer)
            return item.enabled ? answer : 0;
    return 0;
}

bool HeadlessHost::AskYesNo(const std::string& text, const std::string& title)
{
    m_questions.emplace_back(text, title);
    if (m_questionAnswers.empty())
        return false;
    const bool answer = m_questionAnswers.front();
    m_questionAnswers.pop_front();
    return answer;
}

void HeadlessHost::ShowMessage(const std::string& text, const std::string& title)
{
    m_messages.emplace_back(text, title);
}

void HeadlessHost::SetClientSize(IntSize client)
{
    m_client = client;
    if (m_editor)
        m_editor->OnSize(client);
}

void HeadlessHost::Tick(int count)
{
    for (int i = 0; i < count; ++i) {
        // Copy: a tick may stop its own timer.
        const std::set<unsigned> running = m_timers;
        for (unsigned id : running)
            if (m_editor)
                m_editor->OnTimer(id);
    }
}

}  // namespace fw
