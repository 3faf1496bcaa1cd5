#include "model/DiagramEntityContainer.h"

#include "model/ElementFactory.h"
#include "model/EntityStyle.h"
#include "model/LoadObserver.h"
#include "services/Guid.h"
#include "services/LanguageTable.h"
#include "services/Strings.h"
#include "services/Tokens.h"
#include "services/Xml.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace fw {

namespace {
int g_lastGroupNumber = 0;

// Tab indices come from files and may already be the largest int; the index
// after it stays there rather than overflowing.
int IndexAfter(int index)
{
    return index < INT_MAX ? index + 1 : INT_MAX;
}

// How many elements of each name have been met so far among a form's
// controls (a report names "the third Button"). A form uses a handful of
// names, so the last one met and a short list answer before the tree.
class ElementOrdinals {
public:
    int Next(std::string_view name)
    {
        if (m_last && m_last->first == name)
            return ++m_last->second;
        for (auto& entry : m_few)
            if (entry.first == name) {
                m_last = &entry;
                return ++entry.second;
            }
        if (m_few.size() < FewLimit) {
            m_last = &m_few.emplace_back(name, 1);
            return 1;
        }
        m_last = nullptr;
        return ++m_many[name];
    }

private:
    static constexpr std::size_t FewLimit = 16;
    std::vector<std::pair<std::string_view, int>> m_few;
    std::map<std::string_view, int> m_many;
    std::pair<std::string_view, int>* m_last = nullptr;
};
}  // namespace

// The list position of an element by its address, in an open-addressed
// table of positions: one allocation, and built only from the list itself,
// not from the elements it points at. Built at the first question, since
// most kinds of element never ask.
class CDiagramEntityContainer::WritingPositions {
public:
    explicit WritingPositions(const std::vector<std::unique_ptr<CDiagramEntity>>& list) : m_list(list) {}

    // The element being written asks about itself first: no table for that.
    void Writing(std::size_t position) { m_writing = position; }

    int Find(const CDiagramEntity* element) const
    {
        if (m_writing < m_list.size() && m_list[m_writing].get() == element)
            return static_cast<int>(m_writing);
        if (m_slots.empty())
            Build();
        for (std::size_t slot = SlotOf(element);; slot = (slot + 1) & m_mask) {
            const int position = m_slots[slot];
            if (position < 0 || m_list[static_cast<std::size_t>(position)].get() == element)
                return position;
        }
    }

private:
    void Build() const
    {
        // At most half full, so that a probe ends soon.
        m_shift = 63;
        while ((std::size_t{1} << (64 - m_shift)) < 2 * m_list.size() + 2)
            --m_shift;
        m_slots.assign(std::size_t{1} << (64 - m_shift), -1);
        m_mask = m_slots.size() - 1;
        for (std::size_t i = 0; i < m_list.size(); ++i) {
            std::size_t slot = SlotOf(m_list[i].get());
            while (m_slots[slot] >= 0)
                slot = (slot + 1) & m_mask;
            m_slots[slot] = static_cast<int>(i);
        }
    }
    // Multiplicative hashing: the top bits of the product mix every bit of the address.
    std::size_t SlotOf(const CDiagramEntity* element) const
    {
        const auto address = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(element));
        return static_cast<std::size_t>((address * 0x9E3779B97F4A7C15ull) >> m_shift);
    }

    const std::vector<std::unique_ptr<CDiagramEntity>>& m_list;
    std::size_t m_writing = SIZE_MAX;
    mutable std::vector<int> m_slots;
    mutable std::size_t m_mask = 0;
    mutable unsigned m_shift = 63;
};

CDiagramEntityContainer::CDiagramEntityContainer(CDiagramClipboardHandler* clipboardHandler)
    : m_clipboardHandler(clipboardHandler), m_formName(langStr("FD_DEFAULT")), m_factory(&ElementFactory::Global())
{
    SetModified(false);
}

CDiagramEntityContainer::~CDiagramEntityContainer()
{
    Clear();
}

std::string CDiagramEntityContainer::GetString() const
{
    return format("paper:%i,%i;", m_paper.cx, m_paper.cy);
}

bool CDiagramEntityContainer::FromString(const std::string& text)
{
    SplitText parts(text, ":");
    if (parts.count() != 2 || trim(parts.at(0)) != "paper")
        return false;
    std::string rest = trim(parts.at(1));
    if (rest.empty())
        return false;
    rest.pop_back();
    SplitText size(rest, ",");
    if (size.count() != 2)
        return false;
    m_paper = {size.intAt(0), size.intAt(1)};
    return true;
}

void CDiagramEntityContainer::Export(std::vector<std::string>& out, int kind) const
{
    for (const auto& element : m_objects)
        out.push_back(element->GetExportFragment(kind));
}

void CDiagramEntityContainer::SetClipboardHandler(CDiagramClipboardHandler* handler)
{
    m_clipboardHandler = handler;
}

CDiagramClipboardHandler* CDiagramEntityContainer::GetClipboardHandler() const
{
    return m_clipboardHandler;
}

CDiagramClipboardHandler* CDiagramEntityContainer::Handler()
{
    if (!m_clipboardHandler)
        m_clipboardHandler = &m_defaultClipboardHandler;
    return m_clipboardHandler;
}

CDiagramEntity* CDiagramEntityContainer::GetAt(int index) const
{
    return index >= 0 && index < GetCount() ? m_objects[static_cast<size_t>(index)].get() : nullptr;
}

void CDiagramEntityContainer::Add(std::unique_ptr<CDiagramEntity> element)
{
    if (!element)
        return;
    element->SetParent(this);
    // An element from another form or file uses this file's style of the same name.
    if (m_styleContainer)
        element->SetStyleContainer(m_styleContainer);
    element->BindStyle();
    ListChanging();
    m_objects.push_back(std::move(element));
    MarkChanged();
}

CDiagramEntity* CDiagramEntityContainer::AddWithDependent(std::unique_ptr<CDiagramEntity> element)
{
    CDiagramEntity* added = element.get();
    std::unique_ptr<CDiagramEntity> dependent = element ? element->ReleaseDependent() : nullptr;
    Add(std::move(element));
    Add(std::move(dependent));
    return added;
}

void CDiagramEntityContainer::AppendLoaded(std::unique_ptr<CDiagramEntity> element)
{
    std::unique_ptr<CDiagramEntity> dependent = element->ReleaseDependent();
    element->SetParent(this);
    ListChanging();
    m_objects.push_back(std::move(element));
    if (dependent) {
        dependent->SetParent(this);
        m_objects.push_back(std::move(dependent));
    }
}

std::unique_ptr<CDiagramEntity> CDiagramEntityContainer::Detach(int index)
{
    ListChanging();
    auto it = m_objects.begin() + index;
    std::unique_ptr<CDiagramEntity> element = std::move(*it);
    m_objects.erase(it);
    return element;
}

CDiagramEntity* CDiagramEntityContainer::AddCopy(std::unique_ptr<CDiagramEntity> copy)
{
    // A field copied with its source's tab number would share it; the
    // counter is raised past every number in use first, as it may lag behind.
    if (copy && copy->TakesPartInTabOrder()) {
        int largest = -1;
        for (const auto& element : m_objects)
            largest = std::max(largest, element->GetTabIndex());
        m_nextTabIndex = std::max(m_nextTabIndex, IndexAfter(largest));
        copy->SetTabIndex(GetNextTabIndex(true));
    }
    return AddWithDependent(std::move(copy));
}

CDiagramEntity* CDiagramEntityContainer::FindOwner(const CDiagramEntity* part) const
{
    if (!part || !part->IsDependentPart())
        return nullptr;
    for (const auto& element : m_objects)
        if (element->GetDependent() == part)
            return element.get();
    return nullptr;
}

void CDiagramEntityContainer::ForgetDependent(const CDiagramEntity* part)
{
    if (CDiagramEntity* owner = FindOwner(part))
        owner->SetDependent(nullptr);
}

int CDiagramEntityContainer::RemoveAt(int index)
{
    if (!GetAt(index))
        return 0;
    std::unique_ptr<CDiagramEntity> element = Detach(index);
    int removed = 1;
    if (CDiagramEntity* dependent = element->GetDependent()) {
        int dependentIndex = FindIndex(dependent);
        if (dependentIndex >= 0) {
            element->SetDependent(nullptr);
            Detach(dependentIndex);
            removed = 2;
        }
    }
    ForgetDependent(element.get());
    MarkChanged();
    return removed;
}

void CDiagramEntityContainer::RemoveAll()
{
    ListChanging();
    m_objects.clear();
    MarkChanged();
    RecomputeNextTabIndex();
}

void CDiagramEntityContainer::DeleteAllSelected()
{
    // What removing the selected elements one by one from the end would do,
    // in one pass: each takes its dependent part along, and the owner of a
    // removed part forgets it.
    const std::size_t count = m_objects.size();
    std::unordered_map<const CDiagramEntity*, std::size_t> where;
    std::unordered_map<const CDiagramEntity*, std::size_t> owners;
    where.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        where.emplace(m_objects[i].get(), i);
        if (const CDiagramEntity* dependent = m_objects[i]->GetDependent())
            owners.emplace(dependent, i);
    }
    std::vector<char> removed(count, 0);
    for (std::size_t i = count; i-- > 0;) {
        CDiagramEntity* element = m_objects[i].get();
        if (removed[i] || !element || !element->IsSelected())
            continue;
        removed[i] = 1;
        if (CDiagramEntity* dependent = element->GetDependent()) {
            auto it = where.find(dependent);
            if (it != where.end() && !removed[it->second]) {
                element->SetDependent(nullptr);
                removed[it->second] = 1;
            }
        }
        if (element->IsDependentPart()) {
            auto owner = owners.find(element);
            if (owner != owners.end() && !removed[owner->second])
                m_objects[owner->second]->SetDependent(nullptr);
        }
    }
    std::vector<std::unique_ptr<CDiagramEntity>> gone;
    if (std::find(removed.begin(), removed.end(), 1) != removed.end())
        ListChanging();
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (removed[i])
            gone.push_back(std::move(m_objects[i]));
        else
            m_objects[kept++] = std::move(m_objects[i]);
    }
    m_objects.resize(kept);
    if (!gone.empty())
        MarkChanged();
    RecomputeNextTabIndex();
}

void CDiagramEntityContainer::Remove(const CDiagramEntity* element)
{
    RemoveAt(FindIndex(element));
}

void CDiagramEntityContainer::SelectAll()
{
    // Every group is wholly selected anyway: no walk of the form per member.
    for (const auto& element : m_objects)
        element->MarkSelected(true);
}

void CDiagramEntityContainer::SelectGroupsOfSelected()
{
    std::unordered_set<int> groups;
    for (const auto& element : m_objects)
        if (element->IsSelected() && element->GetGroup() != 0)
            groups.insert(element->GetGroup());
    if (groups.empty())
        return;
    for (const auto& element : m_objects)
        if (groups.count(element->GetGroup()))
            element->MarkSelected(true);
}

void CDiagramEntityContainer::UnselectAll()
{
    for (const auto& element : m_objects)
        element->Select(false);
}

int CDiagramEntityContainer::NextGroupNumber()
{
    return ++g_lastGroupNumber;
}

void CDiagramEntityContainer::Group()
{
    int group = NextGroupNumber();
    for (const auto& element : m_objects)
        if (element->IsSelected())
            element->SetGroup(group);
}

void CDiagramEntityContainer::Ungroup()
{
    for (const auto& element : m_objects)
        if (element->IsSelected())
            element->SetGroup(0);
}

CDiagramEntity* CDiagramEntityContainer::Duplicate(const CDiagramEntity* element)
{
    // A caption is written only with its field: a copy of it alone would be lost.
    if (FindIndex(element) < 0 || element->IsDependentPart())
        return nullptr;
    std::unique_ptr<CDiagramEntity> clone = element->Clone();
    clone->SetRect(clone->GetLeft() + 10, clone->GetTop() + 10, clone->GetRight() + 10, clone->GetBottom() + 10);
    // A duplicated field keeps a caption, placed like the field.
    if (CDiagramEntity* dependent = clone->GetDependent())
        dependent->MoveRect(10, 10);
    return AddCopy(std::move(clone));
}

void CDiagramEntityContainer::Cut(const CDiagramEntity* element)
{
    Copy(element);
    Remove(element);
}

void CDiagramEntityContainer::CopyFrom(const CDiagramEntityContainer& other)
{
    for (const auto& element : other.m_objects) {
        if (element->IsDependentPart())
            continue;
        AppendLoaded(element->Clone());
    }
    // The other form's embedded clipboard dies with it; a copy falls back to its own.
    if (other.m_clipboardHandler != &other.m_defaultClipboardHandler)
        m_clipboardHandler = other.m_clipboardHandler;
    m_maxUndo = 0;
    m_progIdType = other.m_progIdType;
    m_formName = other.m_formName;
    m_paper = other.m_paper;
    m_objectClass = other.m_objectClass;
    m_styleContainer = other.m_styleContainer;
    for (const auto& element : m_objects)
        element->BindStyle();
    MarkChanged();
}

void CDiagramEntityContainer::Copy(const CDiagramEntity* element)
{
    if (element)
        Handler()->Copy(element);
}

bool CDiagramEntityContainer::SwapSlots(int a, int b)
{
    if (!GetAt(a) || !GetAt(b))
        return false;
    ListChanging();
    std::swap(m_objects[static_cast<size_t>(a)], m_objects[static_cast<size_t>(b)]);
    MarkChanged();
    return true;
}

void CDiagramEntityContainer::MoveLater(const CDiagramEntity* element)
{
    int index = FindIndex(element);
    if (index >= 0)
        SwapSlots(index, index + 1);
}

void CDiagramEntityContainer::MoveEarlier(const CDiagramEntity* element)
{
    int index = FindIndex(element);
    if (index >= 0)
        SwapSlots(index, index - 1);
}

void CDiagramEntityContainer::MoveToEnd(const CDiagramEntity* element)
{
    int index = FindIndex(element);
    if (index < 0)
        return;
    m_objects.push_back(Detach(index));
    MarkChanged();
}

void CDiagramEntityContainer::MoveToStart(const CDiagramEntity* element)
{
    int index = FindIndex(element);
    if (index < 0)
        return;
    m_objects.insert(m_objects.begin(), Detach(index));
    MarkChanged();
}

void CDiagramEntityContainer::Paste()
{
    Handler()->Paste(this);
}

void CDiagramEntityContainer::CopyAllSelected()
{
    Handler()->CopyAllSelected(this);
}

int CDiagramEntityContainer::GetClipboardCount()
{
    return Handler()->ObjectsInPaste();
}

void CDiagramEntityContainer::ClearClipboard()
{
    Handler()->ClearPaste();
}

bool CDiagramEntityContainer::CanPaste()
{
    return Handler()->CanPaste();
}

bool CDiagramEntityContainer::TakeClipboardOffer()
{
    return Handler()->TakeOffered(*m_factory);
}

void CDiagramEntityContainer::SendCommandToElements(int command, bool selectedOnly, CDiagramEntity* sender,
                                                    ElementWindow* window)
{
    // The list may change under a command (cut, duplicate), so walk by index.
    for (size_t i = 0; i < m_objects.size(); ++i) {
        CDiagramEntity* element = m_objects[i].get();
        if (selectedOnly && !element->IsSelected())
            continue;
        // Selecting a group's members changes nothing that is saved.
        if (command != ElementCommand::SelectGroup)
            MarkChanged();
        if (element->DoCommand(command, sender, window))
            break;
    }
}

std::unique_ptr<CDiagramEntityContainer> CDiagramEntityContainer::Clone() const
{
    auto clone = std::make_unique<CDiagramEntityContainer>(nullptr);
    clone->m_factory = m_factory;
    clone->CopyFrom(*this);
    return clone;
}

void CDiagramEntityContainer::Clear()
{
    RemoveAll();
    ClearUndo();
    m_title.clear();
    m_uuid.clear();
    SetModified(false);
}

int CDiagramEntityContainer::FindIndex(const CDiagramEntity* element) const
{
    if (!element)
        return -1;
    if (m_writingIndex)
        return m_writingIndex->Find(element);
    for (size_t i = 0; i < m_objects.size(); ++i)
        if (m_objects[i].get() == element)
            return static_cast<int>(i);
    return -1;
}

bool CDiagramEntityContainer::SetAt(int index, std::unique_ptr<CDiagramEntity> element)
{
    if (!GetAt(index) || !element)
        return false;
    element->SetParent(this);
    ListChanging();
    m_objects[static_cast<size_t>(index)] = std::move(element);
    MarkChanged();
    return true;
}

int CDiagramEntityContainer::GetSelectedCount() const
{
    return static_cast<int>(
        std::count_if(m_objects.begin(), m_objects.end(), [](const auto& element) { return element->IsSelected(); }));
}

IntPoint CDiagramEntityContainer::GetTotalPosition() const
{
    double x = 2000;
    double y = 2000;
    for (const auto& e : m_objects) {
        x = std::min({x, e->GetLeft(), e->GetRight()});
        y = std::min({y, e->GetTop(), e->GetBottom()});
    }
    return {TruncEdge(x + 0.5), TruncEdge(y + 0.5)};
}

IntSize CDiagramEntityContainer::GetTotalSize() const
{
    IntPoint position = GetTotalPosition();
    double x = 0;
    double y = 0;
    for (const auto& e : m_objects) {
        x = std::max({x, e->GetLeft(), e->GetRight()});
        y = std::max({y, e->GetTop(), e->GetBottom()});
    }
    return {TruncEdge(x - position.x + 0.5), TruncEdge(y - position.y + 0.5)};
}

std::string CDiagramEntityContainer::CreateUuid()
{
    return createGuid();
}

bool CDiagramEntityContainer::ContainsProperty(const std::string& name) const
{
    for (const auto& element : m_objects) {
        const CDiagramEntity* dependent = element->GetDependent();
        if (dependent && equalsNoCase(dependent->GetName(), name))
            return true;
    }
    return false;
}

void CDiagramEntityContainer::ReplaceStyle(const CEntityStyle* style, CEntityStyle* replacement)
{
    if (!style)
        return;
    for (const auto& element : m_objects) {
        if (element->GetStyle() == style)
            element->SetStyle(replacement);
        CDiagramEntity* dependent = element->GetDependent();
        if (dependent && dependent->GetStyle() == style)
            dependent->SetStyle(replacement);
    }
}

bool CDiagramEntityContainer::LoadDialog()
{
    const XmlElement* dialog = m_xmlElement;
    m_xmlElement = nullptr;
    if (!dialog)
        return false;
    auto formProblem = [this, dialog](const char* problem) {
        // Reported as a whole: nothing in it is to be named again.
        dialog->markRead();
        if (m_loadObserver)
            m_loadObserver->FormProblem(m_formName, problem);
        return false;
    };

    const auto title = dialog->getAttributeValue("title");
    if (!title)
        return formProblem("\"Dialog\" has no \"title\"");
    m_title = *title;

    const auto size = dialog->getAttributeValue("size");
    if (!size)
        return formProblem("\"Dialog\" has no \"size\"");
    IntSize paper;
    if (!readIntPair(*size, paper.cx, paper.cy))
        return formProblem("\"Dialog\" \"size\" is not two comma-separated numbers");
    m_paper = paper;

    const auto sizeable = dialog->getAttributeValue("sizeable");
    m_sizeable = sizeable && *sizeable == "true";
    const auto noButtons = dialog->getAttributeValue("nobuttons");
    m_noButtons = noButtons && *noButtons == "true";
    if (const auto help = dialog->getAttributeValue("help"); help && !help->empty())
        m_help = *help;
    if (const auto uuid = dialog->getAttributeValue("uuid"); uuid && !uuid->empty())
        m_uuid = *uuid;

    const XmlElement* controls = dialog->getChild("Controls");
    if (!controls)
        return formProblem("\"Dialog\" has no \"Controls\"");

    ElementOrdinals ordinals;
    for (int i = 0; i < controls->getChildCount(); ++i) {
        const XmlElement* child = controls->getChildAt(i);
        const int ordinal = ordinals.Next(child->getElementName());
        std::unique_ptr<CDiagramEntity> element = m_factory->Create(child->getElementName());
        if (!element) {
            child->markRead();
            if (m_loadObserver)
                m_loadObserver->ElementDropped(m_formName, *child, ordinal, "no such element");
            continue;
        }
        child->markFound();
        element->SetObjectClass(m_objectClass);
        element->SetXmlElement(child);
        element->SetStyleContainer(m_styleContainer);
        bool loaded = element->LoadXml();
        // The XML tree does not outlive the reading.
        element->SetXmlElement(nullptr);
        if (!loaded) {
            child->markRead();
            if (m_loadObserver) {
                std::string reason = element->GetLoadProblem();
                m_loadObserver->ElementDropped(m_formName, *child, ordinal,
                                               reason.empty() ? "its reader rejected it" : reason);
            }
            continue;
        }
        if (element->TakesPartInTabOrder() && element->GetTabIndex() >= m_nextTabIndex)
            m_nextTabIndex = IndexAfter(element->GetTabIndex());
        AppendLoaded(std::move(element));
    }

    if (!HasTabIndices())
        AssignInitialTabOrder();
    ReplaceUnusablePaper(std::string(*size), dialog->getLine());
    return true;
}

IntSize CDiagramEntityContainer::GetUsablePaper() const
{
    IntSize paper = m_paper;
    if (paper.cx < 1 || paper.cy < 1) {
        paper = NewFormPaper;
        for (const auto& element : m_objects) {
            paper.cx = std::max(paper.cx, RoundEdge(std::max(element->GetLeft(), element->GetRight())));
            paper.cy = std::max(paper.cy, RoundEdge(std::max(element->GetTop(), element->GetBottom())));
        }
    }
    return {std::min(paper.cx, FormExtentLimit), std::min(paper.cy, FormExtentLimit)};
}

// The editor keeps every element inside the paper, so a paper side below 1
// would push the elements to where the reader drops them; a side beyond the
// limit could not be shown.
void CDiagramEntityContainer::ReplaceUnusablePaper(const std::string& written, int line)
{
    const IntSize paper = GetUsablePaper();
    if (paper == m_paper)
        return;
    const bool tooLarge = m_paper.cx > FormExtentLimit || m_paper.cy > FormExtentLimit;
    m_paper = paper;
    if (!m_loadObserver)
        return;
    const std::string fault = tooLarge ? format("has a side beyond %d", FormExtentLimit) : "has a side below 1";
    m_loadObserver->FormProblem(m_formName, format("\"Dialog\" (line %d) \"size\" %s %s; read as %i,%i", line,
                                                   written.c_str(), fault.c_str(), paper.cx, paper.cy));
}

void CDiagramEntityContainer::WriteControls(bool keepOrder)
{
    if (!keepOrder)
        SortByTabIndex();
    if (!m_xmlWriter)
        return;
    // Every field asks whether it and its caption are on the form; an index
    // of the (unchanging) list keeps that from scanning it once per field.
    WritingPositions positions(m_objects);
    struct Indexing {
        const WritingPositions*& slot;
        ~Indexing() { slot = nullptr; }
    } indexing{m_writingIndex};
    m_writingIndex = &positions;

    m_xmlWriter->writeStartElement("Controls");
    for (std::size_t i = 0; i < m_objects.size(); ++i) {
        CDiagramEntity* element = m_objects[i].get();
        if (element->IsDependentPart())
            continue;
        positions.Writing(i);
        element->SetXmlWriter(m_xmlWriter);
        element->WriteXml();
    }
    m_xmlWriter->writeEndElement();
}

int CDiagramEntityContainer::GetNextTabIndex(bool advance)
{
    int next = m_nextTabIndex;
    if (advance)
        m_nextTabIndex = IndexAfter(m_nextTabIndex);
    return next;
}

void CDiagramEntityContainer::RecomputeNextTabIndex()
{
    int largest = -1;
    for (const auto& element : m_objects)
        largest = std::max(largest, element->GetTabIndex());
    m_nextTabIndex = IndexAfter(largest);
}

bool CDiagramEntityContainer::HasTabIndices() const
{
    return std::any_of(m_objects.begin(), m_objects.end(),
                       [](const auto& element) { return element->GetTabIndex() >= 0; });
}

void CDiagramEntityContainer::AssignInitialTabOrder()
{
    int next = 0;
    for (const auto& element : m_objects)
        if (element->TakesPartInTabOrder())
            element->SetTabIndex(next++);
    m_nextTabIndex = next;
}

void CDiagramEntityContainer::SortByTabIndex()
{
    // The first field of each number, by number, goes to the end; every other
    // element, a field whose number an earlier one holds included, keeps its
    // order before them.
    std::vector<std::pair<int, std::size_t>> numbered;  // number, list position
    int largest = -1;
    for (std::size_t i = 0; i < m_objects.size(); ++i) {
        const CDiagramEntity& element = *m_objects[i];
        if (!element.TakesPartInTabOrder())
            continue;
        const int number = element.GetTabIndex();
        largest = std::max(largest, number);
        numbered.emplace_back(number, i);
    }
    m_nextTabIndex = IndexAfter(largest);
    // A form sorted before (each save sorts) is usually in order already.
    if (!std::is_sorted(numbered.begin(), numbered.end()))
        std::sort(numbered.begin(), numbered.end());
    const auto sameNumber = [](const auto& a, const auto& b) { return a.first == b.first; };
    numbered.erase(std::unique(numbered.begin(), numbered.end(), sameNumber), numbered.end());

    const std::size_t firstField = m_objects.size() - numbered.size();
    bool inOrder = true;
    for (std::size_t k = 0; k < numbered.size() && inOrder; ++k)
        inOrder = numbered[k].second == firstField + k;
    if (inOrder)
        return;

    ListChanging();
    std::vector<std::unique_ptr<CDiagramEntity>> fields;
    fields.reserve(numbered.size());
    for (const auto& entry : numbered)
        fields.push_back(std::move(m_objects[entry.second]));
    const auto taken = std::remove(m_objects.begin(), m_objects.end(), nullptr);
    std::move(fields.begin(), fields.end(), taken);
}

void CDiagramEntityContainer::CalcTabOrderByPosition()
{
    // Fields at the same place (a copy pasted twice) follow each other in
    // list order: left out, one would keep a number another now takes.
    ListChanging();
    std::multimap<std::pair<int, int>, std::unique_ptr<CDiagramEntity>> fields;
    std::vector<std::unique_ptr<CDiagramEntity>> others;
    for (auto& element : m_objects) {
        if (element->TakesPartInTabOrder()) {
            IntRect rect = element->GetRect();
            fields.emplace(std::pair<int, int>{rect.top, rect.left}, std::move(element));
            continue;
        }
        others.push_back(std::move(element));
    }
    m_objects = std::move(others);
    int number = 0;
    for (auto& [position, field] : fields) {
        if (field->GetTabIndex() != number) {
            field->SetTabIndex(number);
            MarkChanged();
        }
        m_objects.push_back(std::move(field));
        ++number;
    }
    m_nextTabIndex = std::max(m_nextTabIndex, number);
}

void CDiagramEntityContainer::ChangeTabIndex(int oldIndex, int newIndex, const CDiagramEntity* moved)
{
    SortByTabIndex();
    bool changed = false;
    if (newIndex <= oldIndex) {
        // The run of fields from newIndex upward makes room by moving up one.
        int expected = newIndex;
        for (const auto& element : m_objects) {
            if (!element->TakesPartInTabOrder() || element.get() == moved)
                continue;
            if (element->GetTabIndex() == expected) {
                element->AddToTabIndex(1);
                expected = element->GetTabIndex();
                changed = true;
            }
        }
    } else {
        for (const auto& element : m_objects) {
            if (!element->TakesPartInTabOrder() || element.get() == moved)
                continue;
            int index = element->GetTabIndex();
            if (index > oldIndex && index <= newIndex) {
                element->AddToTabIndex(-1);
                changed = true;
            }
        }
    }
    if (changed) {
        SortByTabIndex();
        MarkChanged();
    }
}

}  // namespace fw
