#pragma once
// An editor host without a window, for tests and the command-line tool: a
// client area you set, scroll bars it mirrors, a timer you tick by hand,
// preset answers for question boxes and popup menus.

#include "editor/EditorHost.h"
#include "editor/PartialPaint.h"

#include <cstddef>
#include <deque>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace fw {

class CDiagramEditor;

class HeadlessHost : public EditorHost {
public:
    explicit HeadlessHost(IntSize client = {1000, 800}) : m_client(client) {}

    void Invalidate() override;
    void Invalidate(const IntRect& area) override;
    void SetRedraw(bool on) override { m_redraw = on; }
    void SetCursor(CursorKind cursor) override { m_cursor = cursor; }
    void CaptureMouse() override { m_captured = true; }
    void ReleaseMouse() override { m_captured = false; }
    void SetFocus() override { m_focused = true; }
    IntSize GetClientSize() const override { return m_client; }
    IntPoint GetMousePosition() const override { return m_mouse; }
    IntPoint ClientToScreen(IntPoint point) const override;
    void SetScrollBar(Orientation which, const ScrollBarState& state) override;
    void StartTimer(unsigned id, int milliseconds) override;
    void StopTimer(unsigned id) override;
    int ChooseFromMenu(const PopupMenu& menu, IntPoint screenPoint) override;
    bool AskYesNo(const std::string& text, const std::string& title) override;
    void ShowMessage(const std::string& text, const std::string& title) override;
    // Stands still until AdvanceClock moves it on.
    std::int64_t NowMilliseconds() const override { return m_now; }
    void AdvanceClock(std::int64_t milliseconds) { m_now += milliseconds; }

    // The editor that hears size changes and timer ticks.
    void Attach(CDiagramEditor* editor) { m_editor = editor; }
    // Sets the client area and tells the editor, as a window resize would.
    void SetClientSize(IntSize client);
    // Where GetMousePosition says the mouse is (pan ticks read it).
    void SetMousePosition(IntPoint point) { m_mouse = point; }
    // Fires every running timer once, `count` times over.
    void Tick(int count = 1);
    // Answers for the next popup menus and questions, in order; when none
    // is queued, menus are dismissed and questions answered no.
    void QueueMenuAnswer(int command) { m_menuAnswers.push_back(command); }
    void QueueQuestionAnswer(bool yes) { m_questionAnswers.push_back(yes); }
    // Where the screen lies relative to the client area.
    void SetScreenOffset(IntPoint offset) { m_screenOffset = offset; }

    CursorKind GetCursor() const { return m_cursor; }
    bool IsCaptured() const { return m_captured; }
    bool HasFocus() const { return m_focused; }
    bool IsTimerRunning(unsigned id) const { return m_timers.count(id) != 0; }
    int GetInvalidateCount() const { return m_invalidates; }
    // What was invalidated since the last call, in client pixels, gathered
    // as the window gathers it (the whole client area for a whole repaint),
    // and forgets it.
    std::vector<IntRect> TakeInvalidated();
    const ScrollBarState& GetScrollBar(Orientation which) const
    {
        return which == Orientation::Horizontal ? m_hScroll : m_vScroll;
    }
    // Every menu shown so far, with the screen point it was shown at.
    struct ShownMenu {
        PopupMenu menu;
        IntPoint screenPoint;
    };
    const std::vector<ShownMenu>& GetShownMenus() const { return m_menus; }
    // Every question asked so far (text, title).
    const std::vector<std::pair<std::string, std::string>>& GetQuestions() const { return m_questions; }
    // Every information box shown so far (text, title).
    const std::vector<std::pair<std::string, std::string>>& GetMessages() const { return m_messages; }

private:
    CDiagramEditor* m_editor = nullptr;
    IntSize m_client;
    IntPoint m_mouse;
    IntPoint m_screenOffset;
    CursorKind m_cursor = CursorKind::Arrow;
    bool m_redraw = true;
    bool m_captured = false;
    bool m_focused = false;
    int m_invalidates = 0;
    RepaintRegion m_invalidated;
    std::int64_t m_now = 0;
    ScrollBarState m_hScroll;
    ScrollBarState m_vScroll;
    std::set<unsigned> m_timers;
    std::deque<int> m_menuAnswers;
    std::deque<bool> m_questionAnswers;
    std::vector<ShownMenu> m_menus;
    std::vector<std::pair<std::string, std::string>> m_questions;
    std::vector<std::pair<std::string, std::string>> m_messages;
};

}  // namespace fw
