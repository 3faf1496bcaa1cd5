#include "dialogs/StyleEditing.h"

#include "model/DiagramEntityContainer.h"
#include "model/EntityStyle.h"
#include "model/FormDefinitionDocument.h"
#include "services/LanguageTable.h"
#include "services/Strings.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace fw {

namespace {

// The file writes "||" in a name as ",", and reads every "," back as "||";
// a typed name holding either would come back from the file as another name.
bool KeepsItsSpelling(const std::string& name)
{
    return name.find(',') == std::string::npos && name.find("||") == std::string::npos;
}

// Faces reach the chooser cut to 31 characters (its face field's room).
constexpr std::size_t kMaxFaceChars = 31;

// a * b / c rounded half away from zero, in 64 bits so large sizes cannot overflow.
std::int64_t ScaleRounded(std::int64_t a, std::int64_t b, std::int64_t c)
{
    if (c == 0)
        return 0;
    const std::int64_t product = a * b;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = (std::abs(product) + std::abs(c) / 2) / std::abs(c);
    return negative ? -magnitude : magnitude;
}

// The first `count` characters of a UTF-8 text, never cutting one in half.
std::string FirstChars(const std::string& text, std::size_t count)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;
        if (chars == count)
            return text.substr(0, i);
        ++chars;
    }
    return text;
}

std::string YesNo(bool value)
{
    return value ? langStr("FD_YES") : langStr("FD_NO");
}

}  // namespace

bool FontChoice::operator==(const FontChoice& other) const
{
    return face == other.face && height == other.height && pointSizeTenths == other.pointSizeTenths &&
           weight == other.weight && italic == other.italic && red == other.red && green == other.green &&
           blue == other.blue;
}

StyleRowTexts StyleRow(const CEntityStyle& style)
{
    return {style.GetName(),  style.GetFont(),       format("%i", style.GetSize()),
            style.GetColor(), YesNo(style.IsBold()), YesNo(style.IsItalic())};
}

void ParseStyleColor(const std::string& text, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue)
{
    red = green = blue = 0;
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (parts.size() != 3)
        return;
    red = static_cast<std::uint8_t>(toInt(parts[0]) & 0xFF);
    green = static_cast<std::uint8_t>(toInt(parts[1]) & 0xFF);
    blue = static_cast<std::uint8_t>(toInt(parts[2]) & 0xFF);
}

FontChoice FontChoiceFromStyle(const CEntityStyle* style, int dpiY)
{
    FontChoice start;
    if (!style)
        return start;
    start.height = static_cast<int>(-ScaleRounded(style->GetSize(), dpiY, 72));
    start.face = FirstChars(style->GetFont(), kMaxFaceChars);
    start.italic = style->IsItalic();
    start.weight = style->IsBold() ? 700 : 400;
    ParseStyleColor(style->GetColor(), start.red, start.green, start.blue);
    return start;
}

int PointSizeFromHeight(int height, int dpiY)
{
    if (dpiY <= 0)
        return 0;
    return static_cast<int>(ScaleRounded(std::abs(static_cast<std::int64_t>(height)), 72, dpiY));
}

void ApplyFontChoice(const FontChoice& choice, CEntityStyle& style)
{
    style.SetFont(choice.face);
    style.SetSize(choice.pointSizeTenths / 10);
    // Any weight but the normal one counts as bold, a light one too.
    style.SetBold(choice.weight != 400);
    style.SetItalic(choice.italic);
    style.SetColor(format("%i,%i,%i", choice.red, choice.green, choice.blue));
}

StyleEditing::StyleEditing(FormDefinitionDocument& document, StyleEditingUi& ui, int dpiY)
    : m_document(document), m_ui(ui), m_dpiY(dpiY)
{}

std::vector<StyleRowTexts> StyleEditing::Rows() const
{
    CEntityStyleContainer& styles = m_document.GetStyles();
    std::vector<std::string> names;
    styles.GetNames(names);
    std::vector<StyleRowTexts> rows;
    for (const std::string& name : names)
        if (const CEntityStyle* style = styles.Find(name))
            rows.push_back(StyleRow(*style));
    return rows;
}

std::vector<CDiagramEntityContainer*> StyleEditing::Forms() const
{
    std::vector<CDiagramEntityContainer*> forms;
    auto take = [&forms](CDiagramEntityContainer* form) {
        if (form && std::find(forms.begin(), forms.end(), form) == forms.end())
            forms.push_back(form);
    };
    take(m_document.GetMainForm());
    for (const auto& entry : m_document.GetFilteredForms())
        take(entry.second.get());
    take(m_document.GetCurrentForm());
    return forms;
}

void StyleEditing::ReplaceEverywhere(const CEntityStyle* style, CEntityStyle* replacement)
{
    // Every form, not only the one on screen: no element may keep a destroyed record.
    for (CDiagramEntityContainer* form : Forms())
        form->ReplaceStyle(style, replacement);
}

bool StyleEditing::AskFreeName(const std::string& preset, const std::string& sameAs, std::string& name)
{
    const CEntityStyleContainer& styles = m_document.GetStyles();
    for (;;) {
        name.clear();
        if (!m_ui.AskName(preset, name))
            return false;
        if (!sameAs.empty() && equalsNoCase(name, sameAs))
            return true;
        if (name.empty())
            m_ui.ShowMessage(langStr("STYLEDLG_MSG_0"), langStr("STYLEDLG_MSG_DLG"));
        else if (!KeepsItsSpelling(name))
            m_ui.ShowMessage(langStr("STYLEDLG_MSG_2"), langStr("STYLEDLG_MSG_DLG"));
        else if (styles.Find(name))
            m_ui.ShowMessage(langStr("STYLEDLG_MSG_1"), langStr("STYLEDLG_MSG_DLG"));
        else
            return true;
    }
}

std::string StyleEditing::New(const std::string& selectedName)
{
    CEntityStyleContainer& styles = m_document.GetStyles();
    const CEntityStyle* selected = selectedName.empty() ? nullptr : styles.Find(selectedName);
    FontChoice chosen;
    if (!m_ui.PickFont(FontChoiceFromStyle(selected, m_dpiY), chosen))
        return {};
    std::string name;
    if (!AskFreeName(std::string(), std::string(), name))
        return {};
    auto style = std::make_unique<CEntityStyle>();
    style->SetName(name);
    ApplyFontChoice(chosen, *style);
    styles.Add(std::move(style));
    m_changed = true;
    return name;
}

StyleEditing::ModifyResult StyleEditing::Modify(const std::string& rowName)
{
    ModifyResult result;
    result.name = rowName;
    CEntityStyleContainer& styles = m_document.GetStyles();
    CEntityStyle* style = styles.Find(rowName);
    if (!style)
        return result;
    FontChoice chosen;
    if (!m_ui.PickFont(FontChoiceFromStyle(style, m_dpiY), chosen))
        return result;

    const StyleRowTexts before = StyleRow(*style);
    ApplyFontChoice(chosen, *style);
    if (StyleRow(*style) != before)
        m_changed = true;

    std::string name;
    // Cancelled: the new font settings stay, the row is left as it was.
    if (!AskFreeName(rowName, rowName, name))
        return result;
    result.refreshRow = true;
    if (equalsNoCase(name, rowName))
        return result;

    std::unique_ptr<CEntityStyle> copy = CEntityStyleContainer::CloneStyle(*style);
    copy->SetName(name);
    CEntityStyle* renamed = styles.Add(std::move(copy));
    ReplaceEverywhere(style, renamed);
    styles.Remove(rowName);
    m_changed = true;
    result.name = name;
    return result;
}

bool StyleEditing::Delete(const std::string& rowName)
{
    CEntityStyleContainer& styles = m_document.GetStyles();
    const CEntityStyle* style = styles.Find(rowName);
    if (!style)
        return false;
    ReplaceEverywhere(style, nullptr);
    styles.Remove(rowName);
    m_changed = true;
    return true;
}

}  // namespace fw
