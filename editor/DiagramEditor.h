#pragma once
// The canvas editor: one form's paper and elements, scaled and scrolled, and
// the interaction machine that turns mouse and keys into selection, moves,
// resizes, placing and paper resizing. It owns no window: everything it needs
// of one goes through an EditorHost, and the properties pane hears about
// selection changes through PropertiesPane.
//
// Coordinates: element rectangles and the paper are in virtual units; client
// points are pixels. Every conversion adds 0.5 and truncates toward zero.
//
// Reference element after SelectAll: the element the designer picked last
// stays the reference; when there was none, the topmost element (the last in
// the list) becomes it, so alignment and same size work at once.

#include "editor/EditorHost.h"
#include "editor/SnapLines.h"
#include "editor/TabOrderClicks.h"
#include "model/DiagramEntity.h"
#include "model/DiagramEntityContainer.h"
#include "model/ElementWindow.h"
#include "render/DrawContext.h"
#include "services/Geometry.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fw {

class CDiagramEntityContainer;
class CDiagramMenu;
class PropertiesPane;

enum InteractMode {
    ModeNone = 0,
    ModeRubberBand = 1,
    ModeMoving = 2,
    ModeResizing = 3,
    ModeDrawing = 4,
    ModeResizingPaper = 5,
    ModeDrawingPair = 6,
};

enum Restraint {
    RestraintNone = 0,
    RestraintPaper = 1,
    RestraintMargins = 2,
};

// Bits of keyFlags: which keyboard groups the editor handles.
namespace KeyFlag {
constexpr unsigned KeyArrows = 1;
constexpr unsigned KeyZOrder = 4;
constexpr unsigned KeyDelete = 8;
constexpr unsigned KeyEscape = 16;
constexpr unsigned KeyInsert = 32;
constexpr unsigned KeyZoom = 64;
constexpr unsigned KeyShortcuts = 128;
constexpr unsigned All = 0xFFFFFFFFu;
}  // namespace KeyFlag

// Modifier flags of mouse and key events.
namespace Modifier {
constexpr unsigned None = 0;
constexpr unsigned Ctrl = 1;
constexpr unsigned Shift = 2;
constexpr unsigned Alt = 4;
}  // namespace Modifier

// The thin line that shows what a dragged edge or centre lines up with.
inline constexpr Color SnapGuideColour{0xE0, 0x20, 0xA0};

// The keys the editor reacts to; Add and Subtract are the numeric keypad's.
enum class EditorKey {
    Other,
    Left,
    Right,
    Up,
    Down,
    Delete,
    Insert,
    Escape,
    PageUp,
    PageDown,
    Enter,
    A,
    X,
    V,
    C,
    Z,
    Y,
    Add,
    Subtract,
    Tab,
};

// A colour that is either fixed or the desktop's system colour of that name,
// looked up when painting (so a theme change shows at the next paint).
struct EditorColour {
    std::optional<Color> rgb;
    SysColor system = SysColor::Window;

    static EditorColour Fixed(Color c) { return {c, SysColor::Window}; }
    static EditorColour System(SysColor s) { return {std::nullopt, s}; }
    Color Resolve(const DrawContext& dc) const { return rgb ? *rgb : dc.GetSysColor(system); }
};

// Grows `box` to hold `area`; an empty box holds nothing yet.
inline void Enclose(IntRect& box, const IntRect& area)
{
    if (area.IsEmpty())
        return;
    if (box.IsEmpty()) {
        box = area;
        return;
    }
    box = {std::min(box.left, area.left), std::min(box.top, area.top), std::max(box.right, area.right),
           std::max(box.bottom, area.bottom)};
}

// One turn of the mouse wheel as the window reports it. `rotation` is in
// the platform's units, `perNotch` of them a notch, which scrolls `lines`
// lines; positive turns toward the top, or sideways toward the left.
// With `zoom` (Ctrl held) a notch zooms one step in or out around `at`,
// the client point under the mouse.
struct WheelTurn {
    int rotation = 0;
    int perNotch = 120;
    int lines = 3;
    bool sideways = false;
    bool zoom = false;
    IntPoint at;
};

class CDiagramEditor : public ElementWindow {
public:
    static constexpr unsigned PanTimerId = 100;
    static constexpr int PanTimerPeriod = 10;
    // Arrow-key nudges closer together than this make one undo step.
    static constexpr std::int64_t NudgePause = 1000;

    CDiagramEditor();
    CDiagramEditor(const CDiagramEditor&) = delete;
    CDiagramEditor& operator=(const CDiagramEditor&) = delete;
    ~CDiagramEditor() override;

    // Attaches the window and the form. A null form makes the editor create
    // and own one; a form of 0 x 0 takes the client area's size.
    virtual bool Create(EditorHost* host, CDiagramEntityContainer* container);
    virtual void Clear();

    // Painting, in the order PaintArea calls them. `rect` is the zoomed paper rectangle.
    virtual void Print(DrawContext& dc, const IntRect& rect, double scale);
    virtual void EraseBackground(DrawContext& dc, const IntRect& rect);
    virtual void DrawBackground(DrawContext& dc, const IntRect& rect, double zoom);
    virtual void DrawGrid(DrawContext& dc, const IntRect& rect, double zoom);
    virtual void DrawMargins(DrawContext& dc, const IntRect& rect, double zoom);
    virtual void DrawObjects(DrawContext& dc, double zoom);
    virtual void DrawPaperMarkers(DrawContext& dc);
    virtual void DrawPanAnchor(DrawContext& dc);
    virtual void DrawButtonBar(DrawContext& dc);

    virtual void SetZoom(double zoom);
    // Zooms `steps` zoom steps in (or out, below 0), to the next whole step:
    // at 25 % one step in shows 30 %. Within the zoom limits.
    void StepZoom(int steps);
    // The zoom `steps` whole steps of `step` away from `zoom`.
    static double SteppedZoom(double zoom, int steps, double step);
    // Sets the zoom and scrolls so that the paper point under the client
    // point stays there, as far as the scroll bars reach.
    void ZoomAround(double zoom, IntPoint point);

    virtual void AddObject(std::unique_ptr<CDiagramEntity> element);
    virtual void SetObjectRect(CDiagramEntity* element, const IntRect& rect);
    // Arms the creation tool with a prototype (the editor owns it); null disarms.
    virtual void StartDrawingObject(std::unique_ptr<CDiagramEntity> prototype);
    // The same for a property field that brings its label; `stepName` names
    // the undo step of placing it (empty: the usual "Insert field").
    virtual void StartDrawingPair(std::unique_ptr<CDiagramEntity> prototype, const std::string& stepName = {});
    virtual void New();

    // Editing operations shared by mouse, keys, menus and the form view.
    virtual void SelectAll();
    virtual void UnselectAll();
    // Selects this element alone as the reference, tells the pane and repaints.
    void SelectOnly(CDiagramEntity* element);
    virtual void DeleteAllSelected();
    virtual void AlignLeft();
    virtual void AlignRight();
    virtual void AlignTop();
    virtual void AlignBottom();
    virtual void MakeSameSize();
    // Centres on the reference, gives its width or height, spreads the
    // selection with equal gaps, or centres the selection on the paper.
    void CentreHorizontally();
    void CentreVertically();
    void MakeSameWidth();
    void MakeSameHeight();
    void DistributeHorizontally();
    void DistributeVertically();
    void CentreInForm();
    virtual void Cut();
    virtual void Copy();
    virtual void Paste();
    virtual void Undo();
    virtual void Redo();

    // The paper's hit test at a virtual point: 0 outside, 1 inside, 2..9 a marker.
    virtual int PaperHitTest(IntPoint point) const;
    // A paper marker in zoomed paper pixels.
    virtual IntRect GetPaperMarkerRect(int code) const;
    virtual CursorKind GetCursorForPosition(IntPoint point) const;
    virtual CursorKind GetPaperMarkerCursor(int code) const;

    virtual void SaveToStrings(std::vector<std::string>& lines);
    virtual void LoadFromString(const std::string& line);
    virtual void AddObjectStrings(std::vector<std::string>& lines) const;

    virtual void SetInteractMode(int mode, int subMode = 0);
    virtual int GetInteractMode() const;
    virtual CDiagramEntity* GetDrawingObject() const;

    // Window events. Points are client pixels; modifiers are Modifier bits.
    virtual void OnSize(IntSize client);
    virtual void OnHScroll(ScrollRequest request, int thumbPos = 0);
    virtual void OnVScroll(ScrollRequest request, int thumbPos = 0);
    virtual void OnSetCursor(IntPoint point);
    virtual void OnLButtonDblClk(IntPoint point, unsigned modifiers);
    virtual void OnLButtonDown(IntPoint point, unsigned modifiers);
    virtual void OnLButtonUp(IntPoint point, unsigned modifiers);
    virtual void OnRButtonDown(IntPoint point, unsigned modifiers);
    virtual void OnRButtonUp(IntPoint point, unsigned modifiers);
    virtual void OnMouseMove(IntPoint point, unsigned modifiers);
    // Answers whether the editor used the key (the window passes the rest on).
    virtual bool OnKeyDown(EditorKey key, unsigned modifiers);
    // Commands 100..200 from an element's own context menu.
    virtual void OnObjectCommand(int command);
    // A turn of the wheel up or down, 120 a notch, three lines a notch.
    virtual void OnMouseWheel(int delta);
    virtual void OnMouseWheel(const WheelTurn& turn);
    // A wheel line, in pixels.
    static constexpr int WheelLinePixels = 16;
    // The whole pixels a turn scrolls, positive toward the top or left;
    // `rest` keeps what is left of a pixel for the next turn that way.
    static int WheelPixels(const WheelTurn& turn, std::int64_t& rest);
    virtual void OnMButtonDown(IntPoint point);
    virtual void OnTimer(unsigned id);
    virtual void OnKillFocus();
    // The commands of the editor's context menu (cut, copy, paste, group,
    // ungroup) and the object-command range; false for any other.
    virtual bool OnCommand(int command);
    virtual void SetHScroll(int pos);
    virtual void SetVScroll(int pos);

    // The window's paint: the whole client area, drawn on `dc` (an off-screen
    // buffer of the client's size that the window copies in one go).
    void Paint(DrawContext& dc);
    // Paints only what lies in `area` (client pixels) of that buffer, which
    // the caller clips to it: what was invalidated, over the last paint.
    void PaintArea(DrawContext& dc, const IntRect& area);
    // PaintArea in its two steps. What lies under the elements (the
    // paper's face, grid and margins: whole pixels only, so a clip cuts no
    // edge of it), then the elements whose drawing reaches one of the areas,
    // each once, and what goes over them. Outside the areas the second step
    // leaves the picture unfinished.
    void PaintUnderElements(DrawContext& dc, const IntRect& area);
    void PaintElements(DrawContext& dc, const std::vector<IntRect>& areas);

    // ElementWindow: an element's own context menu; the chosen command comes
    // back as an object command.
    void TrackPopupMenu(const PopupMenu& menu, IntPoint screenPoint) override;

    // Grid.
    int SnapX(int x) const;
    int SnapY(int y) const;

    // Selection.
    int GetSelectCount() const;
    bool IsAnyObjectSelected() const;
    // The reference element: the one selected last (none once it left the form).
    CDiagramEntity* GetSelectedObject() const;
    bool IsDrawing() const;
    void NotifySelection();
    // Calls visit(CDiagramEntity*) for each selected element in list order.
    template <class Visit> void ForEachSelected(Visit&& visit) const
    {
        for (int i = 0; m_objs && i < m_objs->GetCount(); ++i)
            if (CDiagramEntity* e = m_objs->GetAt(i); e->IsSelected())
                visit(e);
    }

    // The size a click places of an element of this type; none for kinds
    // whose size is fixed by their prototype (command buttons).
    static std::optional<IntSize> DefaultPlacedSize(const std::string& type);

    // Restraint to the paper or the margins. Whatever the restraint, no left
    // or top edge goes below LowestEdge.
    static constexpr int LowestEdge = 1;
    void RestrainRect(double& left, double& top, double& right, double& bottom) const;
    void RestrainPoint(double& x, double& y) const;
    void RestrainDelta(double& dx, double& dy) const;
    bool IsOutsideRestraint(IntPoint point) const;
    // Largest right and bottom edge of all elements, rounded.
    IntSize GetObjectsExtent() const;
    // Scrolls by 10 pixels toward a point outside the client area; answers
    // what it scrolled.
    IntPoint AutoScroll(IntPoint point);
    void ShowPopup(IntPoint screenPoint);

    // What Align lines up with the reference: one edge, a centre, or a size.
    enum class AlignEdge { Left, Right, Top, Bottom, Size, CentreX, CentreY, Width, Height };

    void Duplicate();
    // Another command ends a run of arrow-key nudges, which then starts a new step.
    void EndNudges() { m_nudge = Nudge{}; }
    void MoveForward();
    void MoveBackward();
    void BringToFront();
    void SendToBack();
    void Group();
    void Ungroup();
    void SetupScrollbars();

    // Conversions.
    IntPoint ScreenToVirtual(IntPoint point) const;
    IntRect ScreenToVirtual(const IntRect& rect) const;
    IntRect VirtualToScreen(const IntRect& rect) const;
    int VirtualToZoomedPaper(double value) const;
    // The paper size; a 0 dimension takes the client area's.
    IntSize GetVirtualSize() const;
    // Stores the paper in the form, which counts as an edit only when the size changes.
    void SetVirtualSize(IntSize size);
    // The zoomed paper rectangle: one pixel wider and taller than the paper.
    IntRect GetZoomedPaperRect() const;

    // The form and the pane.
    void SetDiagramEntityContainer(CDiagramEntityContainer* container);
    CDiagramEntityContainer* GetDiagramEntityContainer() const { return m_objs; }
    void SetPropertiesPane(PropertiesPane* pane) { m_propertiesPane = pane; }
    PropertiesPane* GetPropertiesPane() const { return m_propertiesPane; }
    EditorHost* GetHost() const { return m_host; }

    // Settings; each one that shows repaints.
    double GetZoom() const { return m_zoom; }
    double GetZoomStep() const { return m_zoomStep; }
    void SetZoomStep(double step) { m_zoomStep = step; }
    double GetZoomMax() const { return m_zoomMax; }
    void SetZoomMax(double zoom) { m_zoomMax = zoom; }
    double GetZoomMin() const { return m_zoomMin; }
    void SetZoomMin(double zoom) { m_zoomMin = zoom; }
    int GetSubMode() const { return m_subMode; }
    bool IsMultidraw() const { return m_multidraw != 0; }
    void SetMultidraw(bool on) { m_multidraw = on; }
    void SetBackgroundColor(EditorColour colour);
    void SetNonClientColor(EditorColour colour);
    int GetPaperBand() const { return m_paperBand; }
    void SetPaperBand(int band) { m_paperBand = band; }
    bool GetPaperResize() const { return m_paperResize != 0; }
    void SetPaperResize(bool on) { m_paperResize = on; }
    bool ArePaperMarkersShown() const { return m_paperMarkersShown != 0; }
    bool GetSnapToGrid() const { return m_snap != 0; }
    void SetSnapToGrid(bool on) { m_snap = on; }
    // Lining up with other elements and the margins while dragging; the grid wins when on.
    bool GetSnapLines() const { return m_snapLines; }
    void SetSnapLines(bool on) { m_snapLines = on; }
    const std::vector<SnapGuide>& GetSnapGuides() const { return m_snapGuides; }
    bool IsGridVisible() const { return m_gridVisible != 0; }
    void ShowGrid(bool on);
    PenStyle GetGridPenStyle() const { return m_gridStyle; }
    void SetGridPenStyle(PenStyle style);
    IntSize GetGridSize() const { return m_gridSize; }
    void SetGridSize(IntSize size);
    EditorColour GetGridColor() const { return m_gridColour; }
    void SetGridColor(EditorColour colour);
    bool IsButtonBarShown() const { return m_showButtonBar != 0; }
    void ShowButtonBar(bool on);
    bool IsMarginsVisible() const { return m_marginsVisible != 0; }
    void ShowMargins(bool on);
    Color GetMarginColor() const { return m_marginColour; }
    void SetMarginColor(Color colour);
    // Left, top, right, bottom in virtual units.
    IntRect GetMargins() const { return {m_leftMargin, m_topMargin, m_rightMargin, m_bottomMargin}; }
    void SetMargins(int left, int top, int right, int bottom);
    int GetRestraints() const { return m_restraint; }
    void SetRestraints(int restraint) { m_restraint = restraint; }
    IntSize GetMarkerSize() const { return m_markerSize; }
    void SetMarkerSize(IntSize size) { m_markerSize = size; }
    unsigned GetKeyboardFlags() const { return m_keyFlags; }
    void SetKeyboardFlags(unsigned flags) { m_keyFlags = flags; }
    bool IsShowTabOrder() const { return m_showTabOrder != 0; }
    void SetShowTabOrder(bool show);
    // Tab order by clicking (TabOrderClicks.h): every field shows its number,
    // and a left click on a field numbers it instead of selecting or moving.
    void StartTabOrderClicks();
    void EndTabOrderClicks();
    bool IsTabOrderClicking() const { return m_tabOrderClicks.IsOn(); }
    int GetWheelMode() const { return m_wheelMode; }
    void SetWheelMode(int mode) { m_wheelMode = mode; }
    bool IsPanning() const { return m_panning != 0; }
    IntPoint GetPanOrigin() const { return m_panOrigin; }
    IntPoint GetDeltaPoint() const { return m_deltaPoint; }
    CDiagramEntity* GetMoveAnchor() const { return m_moveAnchor; }
    // The rubber band in client pixels (start, end), as dragged.
    IntRect GetRubberBand() const { return m_rubberBand; }
    const ScrollBarState& GetScrollBar(Orientation which) const
    {
        return which == Orientation::Horizontal ? m_hScroll : m_vScroll;
    }
    // A missing scroll bar counts as position 0.
    int GetHScrollPos() const { return m_hScroll.shown ? m_hScroll.pos : 0; }
    int GetVScrollPos() const { return m_vScroll.shown ? m_vScroll.pos : 0; }

protected:
    void Repaint();
    // Repaints part of the client area (client pixels); nothing when it lies outside.
    void RepaintArea(const IntRect& area);
    // Where the element's drawing may reach on the client area: its
    // rectangle, markers and outline.
    IntRect ScreenExtentOf(const CDiagramEntity& element) const;
    // The extents of the selected elements, one each.
    std::vector<IntRect> SelectionExtents() const;
    std::vector<CDiagramEntity*> SelectedElements() const;
    // Repaints the markers of the elements whose selection is not what it
    // was (`before`: the elements selected then).
    void RepaintSelectionChange(std::vector<CDiagramEntity*> before);
    // Repaints where a rubber band (start and end, client pixels) draws:
    // its dotted edges, one pixel wide, inside the band.
    void RepaintBandEdges(const IntRect& band);
    void StopPanning();
    // Records an undo step before a change; `name` is what the designer reads.
    void Snapshot(const std::string& name = {});
    void SetModified();
    void SetScroll(Orientation which, int pos);
    void OnScroll(Orientation which, ScrollRequest request, int thumbPos);
    // Where the element draws on the client area.
    IntRect ScreenRectOf(const CDiagramEntity& element) const;
    // The first and last i of the grid lines at round(i * cell * zoom), i in
    // 0..count, that fall in the painted part of one axis: a large paper on a
    // fine grid has a billion dots, of which a window shows a few thousand.
    std::pair<int, int> PaintedGridLines(int count, int cell, double zoom, Orientation axis) const;
    void DrawRaisedButton(DrawContext& dc, const IntRect& rect, const std::string& label, int textInset);
    // How near, in screen pixels at any zoom, a dragged line comes before it snaps.
    static constexpr int SnapReach = 4;
    // Snap lines of the current drag: the targets are gathered at its first step.
    bool SnapLinesActive() const { return m_snapLines && !m_snap && !m_snapSuspended; }
    void GatherSnapTargets();
    void SetSnapGuides(const SnapResult& result);
    void ClearSnapGuides();
    void RepaintSnapGuides();
    IntRect GuideScreenRect(const SnapGuide& guide) const;
    void DrawSnapGuides(DrawContext& dc);

private:
    // The press, split by gesture: per-press resets, a move of several
    // selected elements, a press on an element, the paper's band or a band.
    void BeginPress();
    bool BeginGroupMove(IntPoint point, IntPoint virtualPoint);
    void BeginOnElement(IntPoint point, bool ctrl);
    void BeginPaperResizeOrBand(IntPoint point, IntPoint virtualPoint);
    void BeginMove(CDiagramEntity* anchor, IntPoint point);
    void BeginResize(int handle);
    // A selected element whose handle is under the client point, topmost first.
    CDiagramEntity* FindSelectedHandle(IntPoint point, int& handle) const;
    // The undo step of the gesture under way is named at the press and taken
    // just before the gesture first changes the form, so a plain click
    // leaves no step and no modified form.
    void BeginGesture(const std::string& stepName);
    void TakeGestureStep();
    // Whether every element the gesture took its step for is where it was then.
    bool GestureEndedWhereItBegan() const;
    // Escape: puts back what the gesture changed, as if it never happened.
    void CancelGesture();
    // Arrow keys: one step for a run of nudges of one kind and selection.
    enum class NudgeKind { None, Move, Resize };
    void NudgeStep(NudgeKind kind);
    void ApplyNudge(NudgeKind kind, const std::vector<std::pair<CDiagramEntity*, IntRect>>& rects);
    void ResizePaper(IntPoint virtualPoint);
    void ResizeElement(IntPoint virtualPoint);
    // A handle of `held`, one of several selected, dragged to the point;
    // `edges` (left, top, right, bottom) says which edges the handle moves.
    // Every selected element's same edges move by the same amount, held
    // where the first of them would pass its size limits or the area.
    void ResizeSeveral(const CDiagramEntity& held, IntPoint virtualPoint, std::array<bool, 4> edges);
    // Moves the selection; `moved` gets the client extents of each element
    // that moved, as it was and as it is.
    void MoveSelection(IntPoint virtualPoint, std::vector<IntRect>& moved);
    void FinishMove();
    void FinishResize();
    void SelectInRubberBand();
    void AfterHistoryStep(CDiagramEntity* reference);
    bool HandleKey(EditorKey key, unsigned modifiers);
    void MoveByKeys(double dx, double dy);
    void ResizeByKeys(double dx, double dy);
    void Align(AlignEdge edge);
    void Distribute(bool horizontally);
    // Gives elements new edges (left, top, right, bottom) as one named step;
    // when none changes, no step.
    using NewEdges = std::vector<std::pair<CDiagramEntity*, std::array<double, 4>>>;
    void ApplyEdges(const std::string& stepName, const NewEdges& edges);
    enum class ZOrderMove { Forward, Backward, ToFront, ToBack };
    void ChangeZOrder(ZOrderMove move);
    // Deletes the selection without a step of its own (cut takes one).
    void RemoveSelected();
    void UpdatePanCursor(IntPoint point);
    void WheelZoom(const WheelTurn& turn);
    CDiagramEntity* FindElementAt(IntPoint point, int& hitCode) const;
    // The area of the restraint setting (unbounded with RestraintNone), and
    // the same with its left and top raised to LowestEdge.
    IntRect RestraintArea() const;
    IntRect KeepArea() const;
    // The offset that brings a bounding box inside KeepArea; where it cannot
    // fit, its left and top win.
    void OffsetIntoArea(double left, double top, double right, double bottom, double& dx, double& dy) const;
    // Moves these elements together, by one offset, into KeepArea.
    void ShiftInside(const std::vector<CDiagramEntity*>& elements);
    void ShiftSelectionInside();
    void PlaceElement(IntPoint v);
    void PlacePair(IntPoint v);
    // A placing click that did not drag: the element takes its kind's
    // default size, kept inside the area (the paper when nothing restrains).
    void GiveDefaultSize(CDiagramEntity& element);
    void ClickTabOrder(IntPoint point);

    EditorHost* m_host = nullptr;
    double m_zoom = 1.0;
    double m_zoomStep = 0.1;
    double m_zoomMax = 10.0;
    double m_zoomMin = 0.1;
    int m_interactMode = ModeNone;
    int m_subMode = 0;
    IntRect m_rubberBand;  // start (left, top) and end (right, bottom), client pixels
    IntPoint m_deltaPoint;
    int m_drawing = 0;
    // The element the press placed and where the press was (client pixels).
    CDiagramEntity* m_placed = nullptr;
    IntPoint m_placePress;
    int m_multidraw = 0;
    // The element a drag holds: by its body when moving, by a handle when resizing.
    CDiagramEntity* m_moveAnchor = nullptr;
    EditorColour m_bgColour = EditorColour::System(SysColor::Window);
    EditorColour m_nonClientColour = EditorColour::System(SysColor::BtnShadow);
    int m_paperBand = 10;
    int m_paperResize = 0;
    int m_paperMarkersShown = 0;
    int m_snap = 0;
    bool m_snapLines = true;
    bool m_snapSuspended = false;
    bool m_snapTargetsReady = false;
    SnapLines m_snapTargets;
    std::vector<SnapGuide> m_snapGuides;
    int m_gridVisible = 1;
    PenStyle m_gridStyle = PenStyle::Solid;
    IntSize m_gridSize{8, 8};
    EditorColour m_gridColour = EditorColour::Fixed({0xC0, 0xC0, 0xC0});
    bool m_showButtonBar = true;
    int m_marginsVisible = 0;
    Color m_marginColour{128, 128, 255};
    int m_leftMargin = 7;
    int m_topMargin = 7;
    int m_rightMargin = 7;
    int m_bottomMargin = 7;
    int m_restraint = RestraintNone;
    IntSize m_markerSize{8, 8};
    unsigned m_keyFlags = KeyFlag::All;
    IntPoint m_panOrigin;
    int m_panning = 0;
    unsigned m_panTimer = PanTimerId;
    bool m_showTabOrder = false;
    TabOrderClicks m_tabOrderClicks;
    CDiagramEntityContainer* m_objs = nullptr;
    std::unique_ptr<CDiagramMenu> m_popupMenu;
    std::unique_ptr<CDiagramEntity> m_drawObj;
    CDiagramEntity* m_reference = nullptr;
    std::unique_ptr<CDiagramEntityContainer> m_internalData;
    PropertiesPane* m_propertiesPane = nullptr;
    int m_wheelMode = 0;
    // What the wheel turned short of a whole pixel, across and down.
    std::int64_t m_wheelRestX = 0;
    std::int64_t m_wheelRestY = 0;
    // What the wheel turned short of a notch with Ctrl held.
    int m_wheelRestZoom = 0;
    ScrollBarState m_hScroll;
    ScrollBarState m_vScroll;
    IntSize m_clientSize;
    std::string m_gestureStep;
    std::string m_pairStep;
    bool m_gestureChanged = false;
    // A move or resize, which can end where it began; the selected elements
    // and their places when its step was taken.
    bool m_gestureMayReturn = false;
    std::vector<std::pair<const CDiagramEntity*, IntRect>> m_gestureStart;
    bool m_modifiedBeforeGesture = false;
    // The last arrow-key step, which the next nudge of the same kind and
    // selection within NudgePause joins.
    struct Nudge {
        NudgeKind kind = NudgeKind::None;
        std::vector<const CDiagramEntity*> selection;
        std::int64_t time = 0;
        int undoCount = -1;
    };
    Nudge m_nudge;
    // The zoomed-paper pixels being painted; empty outside Paint (paint all).
    std::vector<IntRect> m_paintAreas;
};

}  // namespace fw
