#pragma once
// One form: its ordered elements (list order is z-order and file order), the
// form's own properties, its tab order and a snapshot-based undo stack.

#include "model/ClipboardHandler.h"
#include "model/DiagramEntity.h"
#include "model/ElementIndex.h"
#include "services/Geometry.h"

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace fw {

class CEntityStyle;
class CEntityStyleContainer;
class ElementFactory;
class LoadObserver;
class XmlElement;
class XmlWriter;

// What the steps of a form's history hold in memory, about: history copies
// are counted when made and uncounted when the last step holding them goes.
struct HistoryMeter {
    std::size_t bytes = 0;
};

using HistoryCopy = std::shared_ptr<const CDiagramEntity>;

// A stretch of the form's list as a step saw it: each element with the
// dependent part it brings along. Steps share the stretches that did not
// change, and a new stretch shares the copies of elements that did not.
struct HistoryRun {
    std::vector<HistoryCopy> elements;
};

// A step of a form's history: the form as it was (elements, paper), the
// selection and reference element of that moment, and what the step was, as
// the designer reads it ("Move", "Width").
class CUndoItem {
public:
    explicit CUndoItem(std::shared_ptr<HistoryMeter> meter) : m_meter(std::move(meter)) {}
    CUndoItem(const CUndoItem&) = delete;
    CUndoItem& operator=(const CUndoItem&) = delete;
    ~CUndoItem() { m_meter->bytes -= m_bytes; }
    void Count(std::size_t bytes)
    {
        m_bytes += bytes;
        m_meter->bytes += bytes;
    }

    std::vector<std::shared_ptr<const HistoryRun>> m_runs;
    std::vector<ElementId> m_selected;  // sorted
    ElementId m_reference = 0;
    IntSize m_paper;
    std::string m_name;

private:
    std::shared_ptr<HistoryMeter> m_meter;
    std::size_t m_bytes = 0;
};

class CDiagramEntityContainer {
public:
    explicit CDiagramEntityContainer(CDiagramClipboardHandler* clipboardHandler = nullptr);
    CDiagramEntityContainer(const CDiagramEntityContainer&) = delete;
    CDiagramEntityContainer& operator=(const CDiagramEntityContainer&) = delete;
    virtual ~CDiagramEntityContainer();

    // "paper:cx,cy;"
    virtual std::string GetString() const;
    virtual bool FromString(const std::string& text);
    virtual void Export(std::vector<std::string>& out, int kind) const;

    virtual void SetClipboardHandler(CDiagramClipboardHandler* handler);
    virtual CDiagramClipboardHandler* GetClipboardHandler() const;

    virtual CDiagramEntity* GetAt(int index) const;
    // The form takes the element over and becomes its parent.
    virtual void Add(std::unique_ptr<CDiagramEntity> element);
    // Add, followed by the dependent part that the element brings along (the
    // label of a cloned field). Answers the element.
    CDiagramEntity* AddWithDependent(std::unique_ptr<CDiagramEntity> element);
    // AddWithDependent for a duplicate or a pasted copy: a field gets the
    // form's next free tab number.
    CDiagramEntity* AddCopy(std::unique_ptr<CDiagramEntity> copy);
    // The element of this form that brings `part` along (a caption's field), or none.
    CDiagramEntity* FindOwner(const CDiagramEntity* part) const;
    // Removes and destroys the element and the dependent part it brings along;
    // answers 0 (nothing there), 1, or 2 when a dependent part went too.
    virtual int RemoveAt(int index);
    virtual void RemoveAll();
    virtual void DeleteAllSelected();
    virtual void Remove(const CDiagramEntity* element);
    virtual void SelectAll();
    virtual void UnselectAll();
    // Selects every member of a group that has a selected element, in one
    // pass, for callers that mark many elements at once.
    void SelectGroupsOfSelected();

    // Undo takes the form back one step; Redo brings back what Undo took.
    // `reference` is the editor's reference element now; each answers the
    // one of the step restored (selection comes back with the elements).
    virtual CDiagramEntity* Undo(const CDiagramEntity* reference = nullptr);
    virtual CDiagramEntity* Redo(const CDiagramEntity* reference = nullptr);
    // Records the form as it is before a change; `name` says what the change
    // is, `reference` which element the editor aligns to.
    virtual void Snapshot(const std::string& name = {}, const CDiagramEntity* reference = nullptr);
    virtual void ClearUndo();
    // Forgets what Undo took back (a cancelled gesture is nothing to redo).
    void ClearRedo();
    // Forgets the newest step without going back to it: the form is as that
    // step holds it (a drag that came back to where it began).
    void DropNewestUndo();
    // What the next Undo takes back ("" when nothing or an unnamed step).
    std::string GetUndoName() const;
    std::string GetRedoName() const;

    virtual void Group();
    virtual void Ungroup();
    virtual CDiagramEntity* Duplicate(const CDiagramEntity* element);
    virtual void Cut(const CDiagramEntity* element);
    virtual void CopyFrom(const CDiagramEntityContainer& other);
    virtual void Copy(const CDiagramEntity* element);
    virtual void MoveLater(const CDiagramEntity* element);
    virtual void MoveEarlier(const CDiagramEntity* element);
    virtual void MoveToEnd(const CDiagramEntity* element);
    virtual void MoveToStart(const CDiagramEntity* element);

    virtual void Paste();
    virtual void CopyAllSelected();
    virtual int GetClipboardCount();
    virtual void ClearClipboard();
    // Whether Paste may find something, on the system clipboard too.
    bool CanPaste();
    // Takes elements another program put on the system clipboard for the
    // next Paste; false when there is nothing to paste.
    bool TakeClipboardOffer();

    // Sends a command to the elements in list order until one answers true.
    virtual void SendCommandToElements(int command, bool selectedOnly, CDiagramEntity* sender, ElementWindow* window);
    // A copy of the form without clipboard handler (caller owns it).
    virtual std::unique_ptr<CDiagramEntityContainer> Clone() const;

    void Clear();
    int GetCount() const { return static_cast<int>(m_objects.size()); }
    int FindIndex(const CDiagramEntity* element) const;
    // The list positions, ascending, of the elements whose drawing at `zoom`
    // may reach `area` (zoomed pixels): what a repaint of that area draws.
    // Texts are measured on `dc`, the context that draws them.
    void FindDrawn(double zoom, const IntRect& area, DrawContext& dc, std::vector<int>& positions) const
    {
        m_index.Find(m_objects, zoom, area, dc, positions);
    }
    // Puts an element in an existing slot, destroying the one there; false
    // (and the element is dropped) when the index is outside the list.
    bool SetAt(int index, std::unique_ptr<CDiagramEntity> element);
    int GetSelectedCount() const;
    IntPoint GetTotalPosition() const;
    IntSize GetTotalSize() const;

    // A new upper-case GUID text; empty when none can be made.
    static std::string CreateUuid();
    // Takes the next number of the program-wide group counter (the first is 1).
    static int NextGroupNumber();

    // Whether a field for this property (its label's name) is on the form.
    bool ContainsProperty(const std::string& name) const;
    // Re-points every element (snapshots included) that uses `style` to
    // `replacement`; call it before the style list destroys `style`.
    void ReplaceStyle(const CEntityStyle* style, CEntityStyle* replacement);

    // Reads the "Dialog" element set with SetXmlElement; false when it lacks
    // "title", a two-field "size" or "Controls". A paper side below 1 is
    // refused: the form keeps its elements on NewFormPaper, widened to hold
    // them; a side beyond FormExtentLimit is read as the limit.
    bool LoadDialog();
    static constexpr IntSize NewFormPaper{700, 600};
    // A save first puts the fields in tab order; `keepOrder` writes the
    // elements as the list holds them and leaves the list alone.
    void WriteControls(bool keepOrder = false);
    void SetElementFactory(const ElementFactory* factory) { m_factory = factory; }
    // Told about every part LoadDialog leaves out (none: read silently).
    void SetLoadObserver(LoadObserver* observer) { m_loadObserver = observer; }

    int GetNextTabIndex(bool advance);
    void SetNextTabIndex(int index) { m_nextTabIndex = index; }
    void RecomputeNextTabIndex();
    bool HasTabIndices() const;
    void AssignInitialTabOrder();
    void SortByTabIndex();
    void CalcTabOrderByPosition();
    void ChangeTabIndex(int oldIndex, int newIndex, const CDiagramEntity* moved);

    IntSize GetPaper() const { return m_paper; }
    // The paper, or where a side is below 1 (a form that could not be read)
    // the paper of a new form widened to hold every element, each side at
    // most FormExtentLimit: what the file gets, since the reader refuses the
    // others.
    IntSize GetUsablePaper() const;
    void SetPaper(IntSize paper) { m_paper = paper; }
    const std::string& GetTitle() const { return m_title; }
    void SetTitle(const std::string& title) { m_title = title; }
    const std::string& GetHelp() const { return m_help; }
    void SetHelp(const std::string& help) { m_help = help; }
    bool IsSizeable() const { return m_sizeable; }
    void SetSizeable(bool sizeable) { m_sizeable = sizeable; }
    bool HasNoButtons() const { return m_noButtons; }
    void SetNoButtons(bool noButtons) { m_noButtons = noButtons; }
    const std::string& GetUuid() const { return m_uuid; }
    void SetUuid(const std::string& uuid) { m_uuid = uuid; }
    const std::string& GetProgIdType() const { return m_progIdType; }
    void SetProgIdType(const std::string& type) { m_progIdType = type; }
    const std::string& GetObjectClass() const { return m_objectClass; }
    void SetObjectClass(const std::string& objectClass) { m_objectClass = objectClass; }
    const std::string& GetFormName() const { return m_formName; }
    void SetFormName(const std::string& name) { m_formName = name; }
    bool IsModified() const { return m_modified != 0; }
    // false: the form is as last read or saved, and that place in its history
    // is where undo and redo make it unmodified again.
    void SetModified(bool modified);
    // Goes up with every change of the form (and every marking as saved):
    // whoever remembers it can tell whether anything happened since.
    unsigned long long GetChangeCount() const { return m_changes; }
    CEntityStyleContainer* GetStyleContainer() const { return m_styleContainer; }
    void SetStyleContainer(CEntityStyleContainer* styles) { m_styleContainer = styles; }
    void SetXmlElement(const XmlElement* element) { m_xmlElement = element; }
    void SetXmlWriter(XmlWriter* writer) { m_xmlWriter = writer; }
    bool IsShowTabOrder() const { return m_showTabOrder; }
    void SetShowTabOrder(bool show) { m_showTabOrder = show; }
    int GetUndoCount() const { return static_cast<int>(m_undo.size()); }
    int GetRedoCount() const { return static_cast<int>(m_redo.size()); }
    int GetMaxUndo() const { return m_maxUndo; }
    void SetMaxUndo(int maxUndo) { m_maxUndo = maxUndo; }
    // About what the steps of undo and redo hold, in bytes.
    std::size_t GetHistoryBytes() const { return m_historyMeter->bytes; }
    // Oldest steps go while the history holds more (the newest always stays).
    void SetHistoryCap(std::size_t bytes) { m_historyCap = bytes; }
    std::size_t GetHistoryCap() const { return m_historyCap; }
    // FORMWRIGHT_UNDO_MB megabytes, 256 when unset or not a positive number.
    static std::size_t DefaultHistoryCap();

private:
    CDiagramClipboardHandler* Handler();
    // Appends without touching the modified flag, then the element's own
    // dependent part right after it.
    void AppendLoaded(std::unique_ptr<CDiagramEntity> element);
    // Drops any field's reference to a dependent part that is about to go.
    void ForgetDependent(const CDiagramEntity* part);
    void ReplaceUnusablePaper(const std::string& written, int line);
    // The form as it is now, as a step called `name`, sharing what it can
    // with `like` (the step nearest to now); none when memory ran out.
    std::unique_ptr<CUndoItem> Capture(const std::string& name, const CDiagramEntity* reference, const CUndoItem* like);
    std::unique_ptr<CUndoItem> CaptureRuns(const std::string& name, const CDiagramEntity* reference,
                                           const CUndoItem* like);
    // Rebuilds the form as the step saw it; answers the step's reference element.
    CDiagramEntity* Restore(const CUndoItem& item);
    // Takes the newest step of `from` back into the form, keeping the form as
    // it was as the newest step of `to`; answers the restored reference.
    CDiagramEntity* StepThroughHistory(std::vector<std::unique_ptr<CUndoItem>>& from,
                                       std::vector<std::unique_ptr<CUndoItem>>& to, const CDiagramEntity* reference);
    void DropOldestUndo();
    void DropFurthestRedo();
    // Drops the oldest steps while the history is over its cap.
    void KeepWithinCap();
    // After undo or redo: modified unless back where the form was saved.
    void FollowSavePoint();
    void MarkChanged()
    {
        m_modified = true;
        ++m_changes;
    }
    // The form's own properties that the history does not keep, as one text.
    std::string UnrecordedProperties() const;
    bool SwapSlots(int a, int b);
    // Takes the element out of the list and answers it (still alive).
    std::unique_ptr<CDiagramEntity> Detach(int index);
    // Every change of the list calls this first: the drawing index rebuilds.
    void ListChanging() { m_index.Invalidate(); }

    std::vector<std::unique_ptr<CDiagramEntity>> m_objects;
    std::shared_ptr<HistoryMeter> m_historyMeter = std::make_shared<HistoryMeter>();
    std::vector<std::unique_ptr<CUndoItem>> m_undo;
    std::vector<std::unique_ptr<CUndoItem>> m_redo;
    int m_maxUndo = 0;
    std::size_t m_historyCap = DefaultHistoryCap();
    // The undo count at which the form is as last read or saved; NoSavePoint
    // when no undo or redo leads back there.
    static constexpr int NoSavePoint = -1;
    int m_savePoint = 0;
    std::string m_savedProperties;
    IntSize m_paper;
    std::string m_title;
    const XmlElement* m_xmlElement = nullptr;
    CDiagramClipboardHandler* m_clipboardHandler;
    CDiagramClipboardHandler m_defaultClipboardHandler;
    XmlWriter* m_xmlWriter = nullptr;
    CEntityStyleContainer* m_styleContainer = nullptr;
    int m_modified = 0;
    unsigned long long m_changes = 0;
    std::string m_progIdType = "OEF";
    std::string m_objectClass;
    std::string m_formName;
    std::string m_help;
    bool m_sizeable = false;
    bool m_noButtons = false;
    std::string m_uuid;
    int m_nextTabIndex = 0;
    bool m_showTabOrder = false;
    const ElementFactory* m_factory;
    LoadObserver* m_loadObserver = nullptr;
    // Element positions while WriteControls runs (the list cannot change then).
    class WritingPositions;
    const WritingPositions* m_writingIndex = nullptr;
    // Built at the first question after a change of the list.
    mutable ElementIndex m_index;
};

}  // namespace fw
