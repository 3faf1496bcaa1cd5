#include "model/RecoveryKeeper.h"

#include "model/FormDefinitionDocument.h"

namespace fw {

RecoveryKeeper::RecoveryKeeper(std::string folder) : m_owner(std::move(folder)) {}

RecoveryKeeper::~RecoveryKeeper() = default;

const std::string& RecoveryKeeper::Owner()
{
    // Once: an editor that cannot use the folder keeps working without copies.
    if (!m_started)
        m_startError = m_owner.Start();
    m_started = true;
    return m_owner.Token();
}

std::string RecoveryKeeper::LastError() const
{
    return m_startError.empty() ? m_writer.LastError() : m_startError;
}

std::string RecoveryKeeper::CopyOf(const FormDefinitionDocument& doc) const
{
    auto it = m_slots.find(&doc);
    return it == m_slots.end() ? std::string() : it->second.copyPath;
}

void RecoveryKeeper::Look(FormDefinitionDocument& doc, const FileFacts& facts)
{
    auto it = m_slots.find(&doc);
    if (!doc.IsModified()) {
        if (it != m_slots.end()) {
            m_writer.Remove(it->second.copyPath);
            m_slots.erase(it);
        }
        return;
    }
    std::vector<unsigned long long> stamp = doc.GetChangeStamp();
    if ((it != m_slots.end() && it->second.stamp == stamp) || Owner().empty())
        return;
    Slot& slot = m_slots[&doc];
    if (slot.copyPath.empty())
        slot.copyPath = m_owner.NewCopyPath(facts.name);
    slot.stamp = std::move(stamp);
    RecoveryRecord record;
    record.original = facts.path;
    record.name = facts.name;
    record.owner = Owner();
    record.forms = 1 + static_cast<int>(doc.GetFilteredForms().size());
    record.readInPart = facts.readInPart;
    record.diskStamp = doc.GetDiskStamp();
    m_writer.Write(slot.copyPath, doc.WriteCopyToString(), std::move(record));
}

void RecoveryKeeper::Forget(const FormDefinitionDocument& doc)
{
    auto it = m_slots.find(&doc);
    if (it == m_slots.end())
        return;
    if (!doc.IsModified())
        m_writer.Remove(it->second.copyPath);
    m_slots.erase(it);
}

void RecoveryKeeper::Adopt(const FormDefinitionDocument& doc, const std::string& copyPath)
{
    m_slots[&doc] = Slot{copyPath, doc.GetChangeStamp()};
}

}  // namespace fw
