#include "model/ClipboardText.h"

#include "model/DiagramEntity.h"
#include "model/ElementFactory.h"
#include "model/EntityStyle.h"
#include "services/InputFile.h"
#include "services/ObjectModel.h"
#include "services/Strings.h"
#include "services/Tokens.h"
#include "services/Xml.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace fw {

namespace {

// The text form's separators and the line breaks, as percent codes in the
// fields that may hold them; "%" itself first, so every text reads back exactly.
const std::pair<char, const char*> FieldEscapes[] = {
    {'%', "%25"}, {';', "%3B"}, {':', "%3A"}, {',', "%2C"}, {'\n', "%0A"}, {'\r', "%0D"},
};

std::string EscapeField(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto* escape = std::find_if(std::begin(FieldEscapes), std::end(FieldEscapes),
                                          [c](const auto& entry) { return entry.first == c; });
        if (escape == std::end(FieldEscapes))
            out += c;
        else
            out += escape->second;
    }
    return out;
}

// One pass, so a decoded "%" never starts another code.
std::string UnescapeField(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto* escape = std::find_if(std::begin(FieldEscapes), std::end(FieldEscapes),
                                          [&](const auto& entry) { return text.compare(i, 3, entry.second) == 0; });
        if (escape == std::end(FieldEscapes)) {
            out += text[i];
        } else {
            out += escape->first;
            i += 2;
        }
    }
    return out;
}

template <class Part> std::string XmlOf(Part& part)
{
    XmlWriter writer;
    part.SetXmlWriter(&writer);
    part.WriteXml();
    part.SetXmlWriter(nullptr);
    return EscapeField(trim(writer.text()));
}

// Every style a copy or its caption uses, once, by name.
std::vector<const CEntityStyle*> StylesOf(const std::vector<std::unique_ptr<CDiagramEntity>>& copies)
{
    std::vector<const CEntityStyle*> styles;
    std::set<std::string> names;
    for (const auto& copy : copies)
        for (const CDiagramEntity* part : {copy.get(), copy->GetDependent()})
            if (part && part->GetStyle() && names.insert(part->GetStyle()->GetName()).second)
                styles.push_back(part->GetStyle());
    return styles;
}

// The text form marks only a carriage return with its line feed; a title
// broken by a lone one would end the clipboard's line early. The element is
// read from its file form, so the mark here only keeps the line whole.
std::string OneLine(const std::string& line)
{
    std::string out;
    out.reserve(line.size());
    for (char c : line) {
        if (c == '\n' || c == '\r')
            out += "\\newline";
        else
            out += c;
    }
    return out;
}

}  // namespace

std::string WriteClipboardText(const std::vector<std::unique_ptr<CDiagramEntity>>& copies)
{
    std::string text;
    for (const CEntityStyle* style : StylesOf(copies)) {
        CEntityStyle copy(*style);
        text += "style:" + XmlOf(copy) + ";\n";
    }
    for (const auto& copy : copies) {
        // A caption is written after its field.
        if (copy->IsDependentPart())
            continue;
        const std::string xml = XmlOf(*copy);
        if (xml.empty())
            continue;
        text += OneLine(copy->GetBaseString()) + "," + EscapeField(copy->GetObjectClass()) + "," + xml + ";\n";
        if (const CDiagramEntity* caption = copy->GetDependent())
            text += OneLine(caption->GetString()) + "\n";
    }
    return text;
}

namespace {

// A line's rectangle may stray this far from what its element's file form
// gives: the file keeps whole units of the place and of the size.
constexpr double RectTolerance = 2.0;

class ClipboardReader {
public:
    ClipboardReader(const ElementFactory& factory, const ObjectModel* model) : m_factory(factory), m_model(model) {}

    // Answers the problem with a line, "" when the line was read.
    std::string ReadLine(const std::string& line);
    // The problem once every line is read.
    std::string Finish() const;
    ClipboardElements Take();

private:
    std::string ReadStyle(const SplitText& fields);
    std::string ReadElement(const std::string& type, const SplitText& fields);
    std::string ReadCaption(const std::string& type, const SplitText& fields);
    void Keep(std::unique_ptr<CDiagramEntity> element);

    const ElementFactory& m_factory;
    const ObjectModel* m_model;
    CEntityStyleContainer m_styles;
    std::vector<std::unique_ptr<CDiagramEntity>> m_read;
    std::vector<bool> m_refused;
    std::vector<std::string> m_unknownClasses;
    // The caption of the last field, until its line is read.
    CDiagramEntity* m_captionDue = nullptr;
};

// Applies the line's rectangle when it agrees with the element's own.
std::string PlaceFromLine(CDiagramEntity& element, const SplitText& fields)
{
    double edges[4];
    const double own[4] = {element.GetLeft(), element.GetTop(), element.GetRight(), element.GetBottom()};
    for (int i = 0; i < 4; ++i) {
        edges[i] = fields.doubleAt(i);
        if (!std::isfinite(edges[i]) || std::fabs(edges[i] - own[i]) > RectTolerance)
            return format("the rectangle %s,%s,%s,%s is not where the element stands", fields.at(0).c_str(),
                          fields.at(1).c_str(), fields.at(2).c_str(), fields.at(3).c_str());
    }
    element.SetRect(edges[0], edges[1], edges[2], edges[3]);
    element.SetGroup(fields.intAt(6));
    return {};
}

std::string ClipboardReader::ReadLine(const std::string& line)
{
    SplitText halves(line, ":");
    if (halves.count() != 2)
        return "not a line of the element text form";
    const std::string type = trim(halves.at(0));
    std::string body = trim(halves.at(1));
    if (body.empty() || body.back() != ';')
        return "the line does not end with \";\"";
    body.pop_back();
    const SplitText fields(body, ",");
    if (type == "style")
        return ReadStyle(fields);
    if (m_captionDue)
        return fields.count() == 7 ? ReadCaption(type, fields) : "the caption of the field before is missing";
    if (fields.count() != 9)
        return format("%d fields where an element has 9", fields.count());
    return ReadElement(type, fields);
}

std::string ClipboardReader::ReadStyle(const SplitText& fields)
{
    XmlDocument xml;
    if (fields.count() != 1 || !xml.parse(UnescapeField(fields.at(0))) || !xml.getChild("Style"))
        return "the style is not a \"Style\" element";
    auto style = std::make_unique<CEntityStyle>();
    style->SetXmlElement(xml.root());
    if (!style->LoadXml())
        return "the style has no name, no font or too small a size";
    style->SetXmlElement(nullptr);
    m_styles.Add(std::move(style));
    return {};
}

std::string ClipboardReader::ReadElement(const std::string& type, const SplitText& fields)
{
    XmlDocument xml;
    if (!xml.parse(UnescapeField(fields.at(8))) || !xml.root())
        return "the element's form file text is not XML: " + xml.errorText();
    const XmlElement& root = *xml.root();
    std::unique_ptr<CDiagramEntity> element = m_factory.Create(root.getElementName());
    if (!element)
        return format("there is no element \"%s\"", std::string(root.getElementName()).c_str());
    element->SetObjectClass(UnescapeField(fields.at(7)));
    element->SetXmlElement(&root);
    element->SetStyleContainer(&m_styles);
    const bool loaded = element->LoadXml();
    element->SetXmlElement(nullptr);
    if (!loaded)
        return "the element cannot be read: " + element->GetLoadProblem();
    if (element->GetType() != type)
        return format("a \"%s\" line holds a \"%s\"", type.c_str(), element->GetType().c_str());
    if (std::string problem = PlaceFromLine(*element, fields); !problem.empty())
        return problem;
    m_captionDue = element->GetDependent();
    Keep(std::move(element));
    return {};
}

std::string ClipboardReader::ReadCaption(const std::string& type, const SplitText& fields)
{
    if (type != m_captionDue->GetType())
        return format("a \"%s\" line where the caption of the field before belongs", type.c_str());
    std::string problem = PlaceFromLine(*m_captionDue, fields);
    m_captionDue = nullptr;
    return problem;
}

void ClipboardReader::Keep(std::unique_ptr<CDiagramEntity> element)
{
    const std::string objectClass = element->GetObjectClass();
    const bool unknown = m_model && !objectClass.empty() && !m_model->FindObject(objectClass);
    if (unknown && std::find(m_unknownClasses.begin(), m_unknownClasses.end(), objectClass) == m_unknownClasses.end())
        m_unknownClasses.push_back(objectClass);
    m_refused.push_back(unknown);
    m_read.push_back(std::move(element));
}

std::string ClipboardReader::Finish() const
{
    if (m_captionDue)
        return "the caption of the last field is missing";
    if (m_read.empty())
        return "there are no elements";
    return {};
}

ClipboardElements ClipboardReader::Take()
{
    ClipboardElements result;
    result.unknownClasses = m_unknownClasses;
    for (std::size_t i = 0; i < m_read.size(); ++i) {
        if (m_refused[i])
            continue;
        // A clone owns copies of its styles, so the list read here may go.
        std::unique_ptr<CDiagramEntity> copy = m_read[i]->Clone();
        copy->SetGroup(m_read[i]->GetGroup());
        copy->SetStyleContainer(nullptr);
        copy->Select(true);
        std::unique_ptr<CDiagramEntity> caption = copy->ReleaseDependent();
        result.copies.push_back(std::move(copy));
        if (caption) {
            caption->SetStyleContainer(nullptr);
            caption->Select(true);
            result.copies.push_back(std::move(caption));
        }
    }
    return result;
}

}  // namespace

ClipboardElements ReadClipboardText(std::string_view text, const ElementFactory& factory, const ObjectModel* model)
{
    ClipboardElements failed;
    if (text.size() > FormFileLimit) {
        failed.badLine = 1;
        failed.problem = "the text is larger than a form file may be";
        return failed;
    }
    ClipboardReader reader(factory, model);
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string line(text.substr(start, end - start));
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (trim(line).empty())
            continue;
        if (std::string problem = reader.ReadLine(line); !problem.empty()) {
            failed.badLine = number;
            failed.problem = problem;
            return failed;
        }
    }
    if (std::string problem = reader.Finish(); !problem.empty()) {
        failed.badLine = std::max(number, 1);
        failed.problem = problem;
        return failed;
    }
    return reader.Take();
}

}  // namespace fw
