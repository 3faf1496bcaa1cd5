#include "model/PropertyGrid.h"

#include "services/LanguageTable.h"

namespace fw {

PropertyItem::PropertyItem(int id, std::string title, PropertyValue value, std::string description)
    : m_id(id), m_title(std::move(title)), m_description(std::move(description)), m_value(value),
      m_original(std::move(value))
{}

std::unique_ptr<PropertyItem> PropertyItem::MakeGroup(int id, std::string title)
{
    auto group = std::make_unique<PropertyItem>(id, std::move(title));
    group->m_isGroup = true;
    return group;
}

std::string PropertyItem::GetText() const
{
    const std::string* text = std::get_if<std::string>(&m_value);
    return text ? *text : std::string();
}

void PropertyItem::SetOptions(std::vector<std::string> options, bool allowFreeText)
{
    m_options = std::move(options);
    m_freeText = allowFreeText;
}

PropertyItem* PropertyItem::GetSubItem(int index) const
{
    return index >= 0 && index < GetSubItemCount() ? m_subItems[static_cast<size_t>(index)].get() : nullptr;
}

PropertyItem& PropertyItem::AddSubItem(std::unique_ptr<PropertyItem> item)
{
    m_subItems.push_back(std::move(item));
    return *m_subItems.back();
}

PropertyItem* PropertyItem::FindItem(int id)
{
    if (m_id == id)
        return this;
    for (auto& sub : m_subItems)
        if (PropertyItem* found = sub->FindItem(id))
            return found;
    return nullptr;
}

PropertyItem* PropertyGrid::GetProperty(int index) const
{
    return index >= 0 && index < GetPropertyCount() ? m_items[static_cast<size_t>(index)].get() : nullptr;
}

PropertyItem& PropertyGrid::AddProperty(std::unique_ptr<PropertyItem> item)
{
    m_items.push_back(std::move(item));
    return *m_items.back();
}

void PropertyGrid::RemoveAll()
{
    m_items.clear();
    m_elements = 0;
    m_rowsOfElement.clear();
}

void PropertyGrid::BeginElement()
{
    ++m_elements;
    m_rowsOfElement.clear();
}

void PropertyGrid::NoteRow(int id, bool created)
{
    // A row that a later element adds alone is one the earlier ones lack.
    if (!created || m_elements <= 1)
        m_rowsOfElement.insert(id);
}

void PropertyGrid::Prune(PropertyItem& item) const
{
    item.RemoveSubItemsIf([this](const PropertyItem& sub) {
        return !sub.IsGroup() && m_elements > 1 && m_rowsOfElement.count(sub.GetId()) == 0;
    });
    for (int i = 0; i < item.GetSubItemCount(); ++i)
        Prune(*item.GetSubItem(i));
    item.RemoveSubItemsIf([](const PropertyItem& sub) { return sub.IsGroup() && sub.GetSubItemCount() == 0; });
}

void PropertyGrid::EndElement()
{
    for (auto& item : m_items)
        Prune(*item);
    m_items.erase(std::remove_if(m_items.begin(), m_items.end(),
                                 [](const auto& item) { return item->IsGroup() && item->GetSubItemCount() == 0; }),
                  m_items.end());
    m_rowsOfElement.clear();
}

PropertyItem* PropertyGrid::FindItem(int id) const
{
    for (auto& item : m_items)
        if (PropertyItem* found = item->FindItem(id))
            return found;
    return nullptr;
}

PropertyItem& PropertyGrid::EnsureGroup(int id, std::string_view titleKey)
{
    if (PropertyItem* group = FindItem(id))
        return *group;
    return AddProperty(PropertyItem::MakeGroup(id, langStr(titleKey)));
}

namespace {

// The value an item shows when the selected elements disagree.
PropertyValue MixedValue(const PropertyValue& value, MixedMark mixed)
{
    struct Visitor {
        MixedMark mixed;
        PropertyValue operator()(const std::string&) const
        {
            return std::string(mixed == MixedMark::EmptyText ? "" : "[...]");
        }
        PropertyValue operator()(std::int32_t) const { return std::int32_t{-1}; }
        PropertyValue operator()(std::int64_t) const { return std::int64_t{-1}; }
        PropertyValue operator()(double) const { return -1.0; }
        PropertyValue operator()(bool) const { return false; }
    };
    return std::visit(Visitor{mixed}, value);
}

}  // namespace

PropertyGrid::MergeResult PropertyGrid::Merge(PropertyItem& group, int id, std::string_view titleKey,
                                              std::string_view descriptionKey, PropertyValue value, MixedMark mixed)
{
    if (PropertyItem* existing = FindItem(id)) {
        NoteRow(id, false);
        if (existing->GetValue() != value) {
            PropertyValue shown = MixedValue(existing->GetValue(), mixed);
            existing->SetValue(shown);
            existing->CommitValue();
            existing->SetMixed(true);
            if (std::holds_alternative<bool>(shown))
                existing->SetDescription(langStr("MSG_MULTIPLE_BOOLVALUES"));
        }
        return {existing, false};
    }
    auto item = std::make_unique<PropertyItem>(id, langStr(titleKey), std::move(value), langStr(descriptionKey));
    return {&AddRow(group, std::move(item)), true};
}

PropertyItem& PropertyGrid::AddRow(PropertyItem& group, std::unique_ptr<PropertyItem> item)
{
    NoteRow(item->GetId(), true);
    return group.AddSubItem(std::move(item));
}

}  // namespace fw
