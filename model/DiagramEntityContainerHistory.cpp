// A form's undo and redo: steps that share what did not change, a cap on
// their memory, and the place in the history where the form was saved.

#include "model/DiagramEntityContainer.h"

#include "services/Environment.h"
#include "services/Strings.h"

#include <algorithm>
#include <new>
#include <unordered_map>
#include <utility>

namespace fw {

namespace {

// Elements a stretch of a step holds: a step on a large form costs a pointer
// to each stretch, and one changed element costs one new stretch.
constexpr std::size_t RunLength = 64;
constexpr std::size_t DefaultHistoryMegabytes = 256;
constexpr std::size_t Megabyte = 1024 * 1024;
// A shared pointer's control block with its deleter, about.
constexpr std::size_t SharedBlockBytes = 48;

// Whether a history copy is what the element (and its dependent part) holds now.
bool SameAs(const CDiagramEntity& copy, const CDiagramEntity& live)
{
    if (copy.GetId() != live.GetId() || copy.GetChangeStamp() != live.GetChangeStamp())
        return false;
    const CDiagramEntity* copyPart = copy.GetDependent();
    const CDiagramEntity* livePart = live.GetDependent();
    if (!copyPart || !livePart)
        return copyPart == livePart;
    return copyPart->GetId() == livePart->GetId() && copyPart->GetChangeStamp() == livePart->GetChangeStamp();
}

// A history copy of the element, counted on the meter for as long as it lives.
HistoryCopy MakeCopy(const CDiagramEntity& live, const std::shared_ptr<HistoryMeter>& meter)
{
    std::unique_ptr<CDiagramEntity> clone = live.CloneForHistory();
    std::size_t bytes = SharedBlockBytes + clone->GetFootprint();
    if (const CDiagramEntity* part = clone->GetDependent())
        bytes += part->GetFootprint();
    meter->bytes += bytes;
    return HistoryCopy(clone.release(), [meter, bytes](const CDiagramEntity* copy) {
        meter->bytes -= bytes;
        delete copy;
    });
}

// The copies of an earlier step by identity, made once a step's list no
// longer lines up with it (something was added, removed or reordered).
class CopyIndex {
public:
    explicit CopyIndex(const CUndoItem* like) : m_like(like) {}
    const HistoryCopy* Find(ElementId id)
    {
        if (!m_like)
            return nullptr;
        if (m_byId.empty())
            for (const auto& run : m_like->m_runs)
                for (const HistoryCopy& copy : run->elements)
                    m_byId.emplace(copy->GetId(), &copy);
        auto it = m_byId.find(id);
        return it == m_byId.end() ? nullptr : it->second;
    }

private:
    const CUndoItem* m_like;
    std::unordered_map<ElementId, const HistoryCopy*> m_byId;
};

// The stretch of `like` at `index` when it holds exactly `elements`.
std::shared_ptr<const HistoryRun> SharedRun(const CUndoItem* like, std::size_t index,
                                            const std::vector<const CDiagramEntity*>& elements)
{
    if (!like || index >= like->m_runs.size())
        return nullptr;
    const std::shared_ptr<const HistoryRun>& run = like->m_runs[index];
    if (run->elements.size() != elements.size())
        return nullptr;
    for (std::size_t i = 0; i < elements.size(); ++i)
        if (!SameAs(*run->elements[i], *elements[i]))
            return nullptr;
    return run;
}

std::shared_ptr<const HistoryRun> NewRun(const std::vector<const CDiagramEntity*>& elements, const CUndoItem* like,
                                         std::size_t index, CopyIndex& copies,
                                         const std::shared_ptr<HistoryMeter>& meter)
{
    const HistoryRun* old = like && index < like->m_runs.size() ? like->m_runs[index].get() : nullptr;
    auto run = std::make_unique<HistoryRun>();
    run->elements.reserve(elements.size());
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const CDiagramEntity& live = *elements[i];
        const HistoryCopy* copy = old && i < old->elements.size() ? &old->elements[i] : nullptr;
        // Only an element out of its earlier place is looked for elsewhere.
        if (!copy || (*copy)->GetId() != live.GetId())
            copy = copies.Find(live.GetId());
        run->elements.push_back(copy && SameAs(**copy, live) ? *copy : MakeCopy(live, meter));
    }
    const std::size_t bytes = SharedBlockBytes + sizeof(HistoryRun) + run->elements.capacity() * sizeof(HistoryCopy);
    meter->bytes += bytes;
    return std::shared_ptr<const HistoryRun>(run.release(), [meter, bytes](const HistoryRun* gone) {
        meter->bytes -= bytes;
        delete gone;
    });
}

}  // namespace

std::size_t CDiagramEntityContainer::DefaultHistoryCap()
{
    std::string text;
    int megabytes = 0;
    if (Environment::instance().getVariable("undoMb", text))
        megabytes = toInt(text);
    return (megabytes > 0 ? static_cast<std::size_t>(megabytes) : DefaultHistoryMegabytes) * Megabyte;
}

CDiagramEntity* CDiagramEntityContainer::Undo(const CDiagramEntity* reference)
{
    return StepThroughHistory(m_undo, m_redo, reference);
}

CDiagramEntity* CDiagramEntityContainer::Redo(const CDiagramEntity* reference)
{
    return StepThroughHistory(m_redo, m_undo, reference);
}

CDiagramEntity* CDiagramEntityContainer::StepThroughHistory(std::vector<std::unique_ptr<CUndoItem>>& from,
                                                            std::vector<std::unique_ptr<CUndoItem>>& to,
                                                            const CDiagramEntity* reference)
{
    if (from.empty())
        return nullptr;
    std::unique_ptr<CUndoItem> item = std::move(from.back());
    from.pop_back();
    // What Undo leaves behind is what Redo brings back, and the other way round.
    if (std::unique_ptr<CUndoItem> now = Capture(item->m_name, reference, item.get()))
        to.push_back(std::move(now));
    CDiagramEntity* restored = Restore(*item);
    item.reset();
    KeepWithinCap();
    FollowSavePoint();
    return restored;
}

CDiagramEntity* CDiagramEntityContainer::Restore(const CUndoItem& item)
{
    RemoveAll();
    CDiagramEntity* reference = nullptr;
    auto place = [&](CDiagramEntity* element) {
        // Without a parent, selecting a grouped element does not walk the form.
        element->SetParent(nullptr);
        element->Select(std::binary_search(item.m_selected.begin(), item.m_selected.end(), element->GetId()));
        if (element->GetId() == item.m_reference)
            reference = element;
    };
    for (const auto& run : item.m_runs) {
        for (const HistoryCopy& copy : run->elements) {
            std::unique_ptr<CDiagramEntity> element = copy->CloneForHistory();
            place(element.get());
            if (CDiagramEntity* part = element->GetDependent())
                place(part);
            AddWithDependent(std::move(element));
        }
    }
    m_paper = item.m_paper;
    RecomputeNextTabIndex();
    return reference;
}

std::unique_ptr<CUndoItem> CDiagramEntityContainer::Capture(const std::string& name, const CDiagramEntity* reference,
                                                            const CUndoItem* like)
{
    for (;;) {
        try {
            return CaptureRuns(name, reference, like);
        } catch (const std::bad_alloc&) {
            // Old steps make room for the new one.
            if (!m_redo.empty())
                DropFurthestRedo();
            else if (!m_undo.empty() && m_undo.front().get() != like)
                DropOldestUndo();
            else
                return nullptr;
        }
    }
}

std::unique_ptr<CUndoItem> CDiagramEntityContainer::CaptureRuns(const std::string& name,
                                                                const CDiagramEntity* reference, const CUndoItem* like)
{
    auto item = std::make_unique<CUndoItem>(m_historyMeter);
    item->m_paper = m_paper;
    item->m_name = name;
    item->m_reference = reference && FindIndex(reference) >= 0 ? reference->GetId() : 0;
    std::vector<const CDiagramEntity*> elements;
    elements.reserve(m_objects.size());
    for (const auto& element : m_objects) {
        if (element->IsSelected())
            item->m_selected.push_back(element->GetId());
        // A dependent part goes with the element that brings it along.
        if (!element->IsDependentPart())
            elements.push_back(element.get());
    }
    std::sort(item->m_selected.begin(), item->m_selected.end());

    CopyIndex copies(like);
    std::vector<const CDiagramEntity*> stretch;
    for (std::size_t start = 0, index = 0; start < elements.size(); start += RunLength, ++index) {
        const auto first = elements.begin() + static_cast<std::ptrdiff_t>(start);
        stretch.assign(first, first + static_cast<std::ptrdiff_t>(std::min(RunLength, elements.size() - start)));
        std::shared_ptr<const HistoryRun> run = SharedRun(like, index, stretch);
        item->m_runs.push_back(run ? std::move(run) : NewRun(stretch, like, index, copies, m_historyMeter));
    }
    item->Count(sizeof(CUndoItem) + item->m_runs.capacity() * sizeof(item->m_runs[0]) +
                item->m_selected.capacity() * sizeof(ElementId) + item->m_name.capacity());
    return item;
}

void CDiagramEntityContainer::Snapshot(const std::string& name, const CDiagramEntity* reference)
{
    // A change made at the save point without a step of its own would be
    // taken back into that state: the saved form is then out of reach.
    if (m_savePoint == GetUndoCount() && m_modified)
        m_savePoint = NoSavePoint;
    ++m_changes;
    if (m_maxUndo > 0 && GetUndoCount() >= m_maxUndo)
        DropOldestUndo();
    // A new change makes the undone steps unreachable.
    ClearRedo();
    const CUndoItem* like = m_undo.empty() ? nullptr : m_undo.back().get();
    if (std::unique_ptr<CUndoItem> item = Capture(name, reference, like))
        m_undo.push_back(std::move(item));
    KeepWithinCap();
}

void CDiagramEntityContainer::ClearRedo()
{
    if (m_savePoint > GetUndoCount())
        m_savePoint = NoSavePoint;
    m_redo.clear();
}

void CDiagramEntityContainer::DropNewestUndo()
{
    if (!m_undo.empty())
        m_undo.pop_back();
}

void CDiagramEntityContainer::DropOldestUndo()
{
    if (m_undo.empty())
        return;
    m_undo.erase(m_undo.begin());
    // The oldest step held the form as it was at undo count 0.
    m_savePoint = m_savePoint > 0 ? m_savePoint - 1 : NoSavePoint;
}

void CDiagramEntityContainer::DropFurthestRedo()
{
    if (m_redo.empty())
        return;
    if (m_savePoint == GetUndoCount() + GetRedoCount())
        m_savePoint = NoSavePoint;
    m_redo.erase(m_redo.begin());
}

void CDiagramEntityContainer::KeepWithinCap()
{
    while (m_historyMeter->bytes > m_historyCap && GetUndoCount() + GetRedoCount() > 1) {
        if (!m_undo.empty())
            DropOldestUndo();
        else
            DropFurthestRedo();
    }
}

std::string CDiagramEntityContainer::UnrecordedProperties() const
{
    return format("%s\n%s\n%s\n%s\n%s\n%s\n%d%d", m_title.c_str(), m_help.c_str(), m_uuid.c_str(), m_progIdType.c_str(),
                  m_objectClass.c_str(), m_formName.c_str(), m_sizeable ? 1 : 0, m_noButtons ? 1 : 0);
}

void CDiagramEntityContainer::SetModified(bool modified)
{
    m_modified = modified;
    ++m_changes;
    if (modified)
        return;
    m_savePoint = GetUndoCount();
    m_savedProperties = UnrecordedProperties();
}

void CDiagramEntityContainer::FollowSavePoint()
{
    ++m_changes;
    m_modified = m_savePoint != GetUndoCount() || m_savedProperties != UnrecordedProperties();
}

std::string CDiagramEntityContainer::GetUndoName() const
{
    return m_undo.empty() ? std::string() : m_undo.back()->m_name;
}

std::string CDiagramEntityContainer::GetRedoName() const
{
    return m_redo.empty() ? std::string() : m_redo.back()->m_name;
}

void CDiagramEntityContainer::ClearUndo()
{
    m_undo.clear();
    m_redo.clear();
    m_savePoint = m_modified ? NoSavePoint : 0;
}

}  // namespace fw
