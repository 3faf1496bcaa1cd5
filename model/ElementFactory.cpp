#include "model/ElementFactory.h"

#include "model/DiagramEntity.h"

namespace fw {

ElementFactory& ElementFactory::Global()
{
    static ElementFactory table;
    return table;
}

void ElementFactory::Register(const std::string& elementName, Maker maker)
{
    m_makers[elementName] = std::move(maker);
}

std::unique_ptr<CDiagramEntity> ElementFactory::Create(std::string_view elementName) const
{
    auto it = m_makers.find(elementName);
    return it == m_makers.end() ? nullptr : it->second();
}

bool ElementFactory::Knows(const std::string& elementName) const
{
    return m_makers.count(elementName) != 0;
}

std::vector<std::string> ElementFactory::Names() const
{
    std::vector<std::string> names;
    for (const auto& entry : m_makers)
        names.push_back(entry.first);
    return names;
}

}  // namespace fw
