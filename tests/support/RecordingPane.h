#pragma once
// For the canvas editor tests: a properties pane that writes down what the
// editor tells it, and a rig of one form, a headless window and a CDEditor
// wired to that pane, with short mouse and key helpers. Header only: it is
// used by the editor test program alone (the support library does not link
// the editor).

#include "controls/DiagramLinked.h"
#include "controls/DiagramStatic.h"
#include "editor/DEditor.h"
#include "editor/HeadlessHost.h"
#include "editor/PropertiesPane.h"
#include "model/DiagramEntityContainer.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace fw {
// Readable geometry in test failures.
inline void PrintTo(const IntRect& r, std::ostream* os)
{
    *os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}
inline void PrintTo(IntPoint p, std::ostream* os)
{
    *os << "(" << p.x << "," << p.y << ")";
}
inline void PrintTo(IntSize s, std::ostream* os)
{
    *os << s.cx << "x" << s.cy;
}
}  // namespace fw

namespace fw::test {

// Each call becomes a line: "SetEditor", "SetSelection <name>" ("-" for none),
// "AddSelection <name>", "ShowFormProperties", "ShowControlProperties".
class RecordingPane : public PropertiesPane {
public:
    void SetEditor(CDiagramEditor* e) override
    {
        editor = e;
        calls.push_back("SetEditor");
    }
    void SetSelection(CDiagramEntity* e) override { calls.push_back("SetSelection " + Name(e)); }
    void AddSelection(CDiagramEntity* e) override { calls.push_back("AddSelection " + Name(e)); }
    void ShowFormProperties() override { calls.push_back("ShowFormProperties"); }
    void ShowControlProperties() override { calls.push_back("ShowControlProperties"); }

    static std::string Name(const CDiagramEntity* e) { return e ? e->GetName() : "-"; }
    // The calls since the last Take, and forgets them.
    std::vector<std::string> Take()
    {
        std::vector<std::string> out;
        out.swap(calls);
        return out;
    }

    CDiagramEditor* editor = nullptr;
    std::vector<std::string> calls;
};

// A form of `paper` on a window of `client` pixels (zoom 1, no scrolling
// unless the paper is larger than the window).
struct EditorRig {
    explicit EditorRig(IntSize paper = {700, 600}, IntSize client = {1000, 800}) : host(client)
    {
        form.SetPaper(paper);
        editor.SetPropertiesPane(&pane);
        editor.Create(&host, &form);
        host.Attach(&editor);
    }

    template <typename T> T* Put(const std::string& name, double l, double t, double r, double b)
    {
        auto e = std::make_unique<T>();
        e->SetName(name);
        e->SetRect(l, t, r, b);
        T* raw = e.get();
        form.Add(std::move(e));
        return raw;
    }
    // A property field with its caption (the caption right after it in the list).
    CDiagramLinked* PutField(const std::string& name, double l, double t, double r, double b, double ll, double lt,
                             double lr, double lb)
    {
        auto field = std::make_unique<CDiagramLinked>();
        field->SetName(name);
        field->SetRect(l, t, r, b);
        field->AdoptLabel(MakeLabel(name + ".label", ll, lt, lr, lb));
        return static_cast<CDiagramLinked*>(form.AddWithDependent(std::move(field)));
    }
    static std::unique_ptr<CDiagramEntity> MakeLabel(const std::string& name, double l, double t, double r, double b)
    {
        auto label = std::make_unique<CDiagramStatic>();
        label->SetName(name);
        label->SetRect(l, t, r, b);
        label->SetDependentPart(true);
        return label;
    }

    void Press(int x, int y, unsigned mods = Modifier::None) { editor.OnLButtonDown({x, y}, mods); }
    void Move(int x, int y, unsigned mods = Modifier::None) { editor.OnMouseMove({x, y}, mods); }
    void Release(int x, int y, unsigned mods = Modifier::None) { editor.OnLButtonUp({x, y}, mods); }
    void Click(int x, int y, unsigned mods = Modifier::None)
    {
        Press(x, y, mods);
        Release(x, y, mods);
    }
    void Drag(int x0, int y0, int x1, int y1)
    {
        Press(x0, y0);
        Move(x1, y1);
        Release(x1, y1);
    }
    bool Key(EditorKey key, unsigned mods = Modifier::None) { return editor.OnKeyDown(key, mods); }
    int IndexOf(const CDiagramEntity* e) const { return form.FindIndex(e); }
    static IntRect RectOf(const CDiagramEntity* e) { return e->GetRect(); }

    HeadlessHost host;
    CDiagramEntityContainer form;
    RecordingPane pane;
    CDEditor editor;  // last: goes first, while form and host still stand
};

}  // namespace fw::test
