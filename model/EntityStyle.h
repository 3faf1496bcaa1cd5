#pragma once
// Named text styles of a form file: font face, size, weight, slant and colour.
//
// Ownership rule: the style container owns its records. Before a record is
// destroyed (Remove, RemoveAll), every form re-points the elements that use it
// with CDiagramEntityContainer::ReplaceStyle — to the renamed copy or to none —
// so no element is left holding a destroyed record.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class LoadObserver;
class XmlElement;
class XmlWriter;

class CEntityStyle {
public:
    CEntityStyle() = default;
    CEntityStyle(std::string name, std::string font, int size, bool bold, bool italic, std::string color);
    virtual ~CEntityStyle() = default;

    const std::string& GetName() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    const std::string& GetFont() const { return m_font; }
    void SetFont(std::string font) { m_font = std::move(font); }
    int GetSize() const { return m_size; }
    void SetSize(int size) { m_size = size; }
    bool IsBold() const { return m_bold; }
    void SetBold(bool bold) { m_bold = bold; }
    bool IsItalic() const { return m_italic; }
    void SetItalic(bool italic) { m_italic = italic; }
    const std::string& GetColor() const { return m_color; }
    void SetColor(std::string color) { m_color = std::move(color); }

    void SetXmlWriter(XmlWriter* writer) { m_xmlWriter = writer; }
    XmlWriter* GetXmlWriter() const { return m_xmlWriter; }
    void SetXmlElement(const XmlElement* element) { m_xmlElement = element; }

    // Reads a "Style" element; false when it has no name or font or a size below 5.
    bool LoadXml();
    void WriteXml();

private:
    std::string m_name;
    std::string m_font;
    int m_size = 8;
    bool m_bold = false;
    bool m_italic = false;
    std::string m_color = "0,0,0";
    XmlWriter* m_xmlWriter = nullptr;
    const XmlElement* m_xmlElement = nullptr;
};

class CEntityStyleContainer {
public:
    CEntityStyleContainer() = default;
    CEntityStyleContainer(const CEntityStyleContainer&) = delete;
    CEntityStyleContainer& operator=(const CEntityStyleContainer&) = delete;
    virtual ~CEntityStyleContainer() = default;

    // Keeps the style under its name unless that name is taken; then the
    // offered style is discarded. Answers the style held under the name.
    virtual CEntityStyle* Add(std::unique_ptr<CEntityStyle> style);
    virtual void RemoveAll();
    virtual void Remove(const std::string& name);
    // Appends every name in ascending ordinal order.
    virtual void GetNames(std::vector<std::string>& out) const;

    // Exact (case-sensitive) lookup; none when absent.
    CEntityStyle* Find(std::string_view name) const;
    int GetCount() const { return static_cast<int>(m_styles.size()); }
    // Whether this record is one of the container's own.
    bool Holds(const CEntityStyle* style) const;

    void SetXmlWriter(XmlWriter* writer) { m_xmlWriter = writer; }
    void SetXmlElement(const XmlElement* element) { m_xmlElement = element; }

    // The four styles of a new document.
    void CreateDefaults();
    // Reads the "Style" children of the element; tells `observer` of every
    // style and every other child it leaves out.
    bool LoadXml(LoadObserver* observer = nullptr);
    void WriteXml();

    static std::unique_ptr<CEntityStyle> CloneStyle(const CEntityStyle& style);

private:
    std::map<std::string, std::unique_ptr<CEntityStyle>, std::less<>> m_styles;
    XmlWriter* m_xmlWriter = nullptr;
    const XmlElement* m_xmlElement = nullptr;
};

}  // namespace fw
