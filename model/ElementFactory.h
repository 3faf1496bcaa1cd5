#pragma once
// The name table that turns XML element names ("Property", "Text", ...) into
// new elements. The element classes are registered by one explicit call made
// by the application, the command-line tool and the tests.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class CDiagramEntity;

class ElementFactory {
public:
    using Maker = std::function<std::unique_ptr<CDiagramEntity>()>;

    // The table forms use unless they are given another.
    static ElementFactory& Global();

    void Register(const std::string& elementName, Maker maker);
    // A new element for the name (exact, case-sensitive), or none.
    std::unique_ptr<CDiagramEntity> Create(std::string_view elementName) const;
    bool Knows(const std::string& elementName) const;
    // Every registered name, in ascending order.
    std::vector<std::string> Names() const;
    void Clear() { m_makers.clear(); }

private:
    std::map<std::string, Maker, std::less<>> m_makers;
};

}  // namespace fw
