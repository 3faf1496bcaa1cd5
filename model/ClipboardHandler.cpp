#include "model/ClipboardHandler.h"

#include "model/ClipboardText.h"
#include "model/DiagramEntity.h"
#include "model/DiagramEntityContainer.h"
#include "model/EntityStyle.h"
#include "services/LanguageTable.h"
#include "services/ObjectModel.h"
#include "services/Strings.h"

#include <map>
#include <string>

namespace fw {

namespace {

// A stored copy is selected and sits (10, 10) from its source. It keeps no
// parent: the form it came from may be closed before the copy is pasted.
void PrepareCopy(CDiagramEntity& copy)
{
    copy.SetParent(nullptr);
    copy.Select(true);
    copy.MoveRect(10.0, 10.0);
}

// A copy from another file may use a style the target file lacks; without its
// definition the reference would be written and then dropped on reading.
void BringStyle(const CDiagramEntity* element, CEntityStyleContainer* styles)
{
    const CEntityStyle* style = element ? element->GetStyle() : nullptr;
    if (style && styles && !styles->Find(style->GetName()))
        styles->Add(CEntityStyleContainer::CloneStyle(*style));
}

}  // namespace

CDiagramClipboardHandler::~CDiagramClipboardHandler()
{
    ClearPaste();
}

void CDiagramClipboardHandler::Store(std::unique_ptr<CDiagramEntity> copy)
{
    m_paste.push_back(std::move(copy));
}

void CDiagramClipboardHandler::Copy(const CDiagramEntity* element)
{
    ClearPaste();
    if (!element)
        return;
    std::unique_ptr<CDiagramEntity> copy = element->Clone();
    PrepareCopy(*copy);
    Store(std::move(copy));
    Publish();
}

void CDiagramClipboardHandler::CopyAllSelected(const CDiagramEntityContainer* container)
{
    ClearPaste();
    if (!container)
        return;
    for (int i = 0; i < container->GetCount(); ++i) {
        const CDiagramEntity* element = container->GetAt(i);
        // A label travels with its field, never alone.
        if (!element->IsSelected() || element->IsDependentPart())
            continue;
        std::unique_ptr<CDiagramEntity> copy = element->Clone();
        PrepareCopy(*copy);
        copy->SetGroup(element->GetGroup());
        std::unique_ptr<CDiagramEntity> dependent = copy->ReleaseDependent();
        Store(std::move(copy));
        if (dependent) {
            PrepareCopy(*dependent);
            Store(std::move(dependent));
        }
    }
    Publish();
}

// Copying nothing leaves the system clipboard to whatever else is on it.
void CDiagramClipboardHandler::Publish()
{
    if (!m_exchange || m_paste.empty())
        return;
    m_offered = WriteClipboardText(m_paste);
    m_exchange->Offer(*m_offered);
}

bool CDiagramClipboardHandler::CanPaste() const
{
    return !m_paste.empty() || (m_exchange && m_exchange->HoldsElements());
}

bool CDiagramClipboardHandler::TakeOffered(const ElementFactory& factory)
{
    if (m_exchange) {
        const std::optional<std::string> text = m_exchange->Fetch();
        if (text && text != m_offered && !TakeText(*text, factory))
            return false;
    }
    return !m_paste.empty();
}

bool CDiagramClipboardHandler::TakeText(const std::string& text, const ElementFactory& factory)
{
    ClipboardElements read = ReadClipboardText(text, factory, ClassFactory::CurrentObjectModel());
    if (read.badLine != 0) {
        m_exchange->Tell(replaceAll(langStr("MSG_PASTE_UNREADABLE"), "%s", std::to_string(read.badLine)) + "\n" +
                         read.problem);
        return false;
    }
    if (!read.unknownClasses.empty()) {
        std::string classes;
        for (const std::string& name : read.unknownClasses)
            classes += (classes.empty() ? "" : ", ") + name;
        m_exchange->Tell(replaceAll(langStr("MSG_PASTE_UNKNOWN_CLASS"), "%s", classes));
    }
    if (read.copies.empty())
        return false;
    ClearPaste();
    m_paste = std::move(read.copies);
    return true;
}

void CDiagramClipboardHandler::Paste(CDiagramEntityContainer* container)
{
    if (!container)
        return;
    // Pasted groups are new groups, so they never merge with the originals.
    std::map<int, int> newGroups;
    for (const auto& copy : m_paste)
        if (!copy->IsDependentPart() && copy->GetGroup() != 0 && !newGroups.count(copy->GetGroup()))
            newGroups[copy->GetGroup()] = CDiagramEntityContainer::NextGroupNumber();

    for (const auto& copy : m_paste) {
        if (copy->IsDependentPart())
            continue;
        std::unique_ptr<CDiagramEntity> clone = copy->Clone();
        auto group = newGroups.find(copy->GetGroup());
        clone->SetGroup(group == newGroups.end() ? 0 : group->second);
        BringStyle(clone.get(), container->GetStyleContainer());
        BringStyle(clone->GetDependent(), container->GetStyleContainer());
        container->AddCopy(std::move(clone));
    }
}

int CDiagramClipboardHandler::ObjectsInPaste() const
{
    return static_cast<int>(m_paste.size());
}

void CDiagramClipboardHandler::ClearPaste()
{
    while (!m_paste.empty())
        m_paste.pop_back();
}

const std::vector<std::unique_ptr<CDiagramEntity>>& CDiagramClipboardHandler::GetData() const
{
    return m_paste;
}

}  // namespace fw
