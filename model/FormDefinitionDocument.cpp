#include "model/FormDefinitionDocument.h"

#include "model/ActiveDocument.h"
#include "model/DocumentHost.h"
#include "model/LoadObserver.h"
#include "model/LoadProblems.h"
#include "services/FileReplace.h"
#include "services/LanguageTable.h"
#include "services/ObjectModel.h"
#include "services/Strings.h"
#include "services/Tokens.h"
#include "services/Xml.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <set>
#include <string_view>

namespace fw {

namespace {

const char* const ProcessingTarget = "ORVANEX-application";
const char* const ProgIdPrefix = "Forms.";
const char* const ProgIdTypes[] = {"OEF", "OCF", "SEF", "CUSTOM"};

bool IsProgIdType(std::string_view type)
{
    return std::find(std::begin(ProgIdTypes), std::end(ProgIdTypes), type) != std::end(ProgIdTypes);
}

// Everything a style holds that the file keeps, for every style in name order.
std::string StylesText(const CEntityStyleContainer& styles)
{
    std::vector<std::string> names;
    styles.GetNames(names);
    std::string text;
    for (const std::string& name : names) {
        const CEntityStyle* style = styles.Find(name);
        text += format("%s\n%s\n%d\n%d\n%d\n%s\n", name.c_str(), style->GetFont().c_str(), style->GetSize(),
                       style->IsBold() ? 1 : 0, style->IsItalic() ? 1 : 0, style->GetColor().c_str());
    }
    return text;
}

}  // namespace

FormDefinitionDocument::FormDefinitionDocument(CDiagramClipboardHandler* clipboard, DocumentHost* host)
    : m_ownClipboard(clipboard ? nullptr : std::make_unique<CDiagramClipboardHandler>()),
      m_clipboard(clipboard ? clipboard : m_ownClipboard.get()),
      m_mainForm(std::make_unique<CDiagramEntityContainer>(m_clipboard)), m_currentForm(m_mainForm.get()), m_host(host)
{
    m_mainForm->SetStyleContainer(&m_styles);
    ClassFactory::GetObjectModel();
}

FormDefinitionDocument::~FormDefinitionDocument() = default;

std::string FormDefinitionDocument::ObjectClassFromPath(const std::string& path)
{
    std::string name = FileNameOf(path);
    std::string objectClass = name.substr(0, name.find('_'));
    if (objectClass.empty() || objectClass == name)
        objectClass = name.substr(0, name.find('.'));
    return objectClass;
}

std::string FormDefinitionDocument::ProposedFileName(const std::string& objectClass, const std::string& path)
{
    const std::string name = FileNameOf(path);
    const size_t underscore = name.find('_');
    const size_t dot = name.rfind('.');
    std::string rest;
    if (underscore != std::string::npos)
        rest = name.substr(underscore + 1,
                           dot == std::string::npos || dot < underscore ? std::string::npos : dot - underscore - 1);
    if (rest.empty())
        rest = "Main";
    return objectClass + "_" + rest + ".xml";
}

bool FormDefinitionDocument::IsObjectClassKnown() const
{
    return ClassFactory::CurrentObjectModel()->FindObject(m_objectClass) != nullptr;
}

void FormDefinitionDocument::DropFilteredForms()
{
    if (m_currentForm != m_mainForm.get())
        m_currentForm = m_mainForm.get();
    m_filteredForms.clear();
}

void FormDefinitionDocument::Reset()
{
    m_currentForm->SetPaper({0, 0});
    m_currentForm->Clear();
    m_mainForm->Clear();
    DropFilteredForms();
    m_filterNames.clear();
    m_styles.RemoveAll();
}

void FormDefinitionDocument::SetObjectClass(const std::string& name)
{
    m_objectClass = name;
    m_mainForm->SetObjectClass(name);
}

bool FormDefinitionDocument::IsModified() const
{
    if (m_fileChanged || m_mainForm->IsModified())
        return true;
    for (const auto& [filter, form] : m_filteredForms)
        if (form->IsModified())
            return true;
    return StylesText(m_styles) != m_savedStyles;
}

void FormDefinitionDocument::SetModified(bool modified)
{
    ++m_changes;
    if (modified) {
        m_fileChanged = true;
        return;
    }
    m_fileChanged = false;
    m_mainForm->SetModified(false);
    for (auto& [filter, form] : m_filteredForms)
        form->SetModified(false);
    m_savedStyles = StylesText(m_styles);
}

std::vector<unsigned long long> FormDefinitionDocument::GetChangeStamp() const
{
    std::vector<unsigned long long> stamp{m_changes, std::hash<std::string>()(StylesText(m_styles)),
                                          m_mainForm->GetChangeCount()};
    for (const auto& [filter, form] : m_filteredForms) {
        stamp.push_back(std::hash<std::string>()(filter));
        stamp.push_back(form->GetChangeCount());
    }
    return stamp;
}

bool FormDefinitionDocument::ReadFile(const std::string& path)
{
    // Taken first: a change made while reading counts as one made since.
    return ReadFrom(path, path, StampOf(SaveTargetOf(path)));
}

bool FormDefinitionDocument::ReadCopy(const std::string& copy, const std::string& path, const FileStamp& diskStamp)
{
    const bool read = ReadFrom(copy, path, diskStamp);
    SetModified(true);
    return read;
}

bool FormDefinitionDocument::ReadFrom(const std::string& source, const std::string& path, const FileStamp& diskStamp)
{
    m_diskTarget = SaveTargetOf(path);
    m_diskStamp = diskStamp;
    // Every report is kept, whoever else listens.
    LoadProblemList problems(path);
    LoadObserverPair both(problems, m_loadObserver);
    LoadObserver* const listener = m_loadObserver;
    m_loadObserver = &both;
    const bool read = ReadParts(source, path);
    m_loadObserver = listener;
    m_readProblems = std::move(problems.lines);
    m_readWhole = read && m_readWhole && m_readProblems.empty();
    SetModified(false);
    return read;
}

bool FormDefinitionDocument::ReadParts(const std::string& source, const std::string& path)
{
    m_readWhole = false;
    Reset();
    SetObjectClass(ObjectClassFromPath(path));
    // Pictures named in the file are looked for beside it.
    SetActiveDocumentPath(path);
    // Both are decided once per read rather than once per element.
    const FileLookupsRemembered pictureLookups;
    const LocaleChoiceHeld names;

    auto fileProblem = [this](const std::string& problem) {
        if (m_loadObserver)
            m_loadObserver->FileProblem(problem);
        return false;
    };

    XmlDocument xml;
    const bool parsed = xml.read(source);
    m_fileFailure = xml.failure();
    if (!parsed) {
        m_currentForm->Clear();
        m_mainForm->Clear();
        DropFilteredForms();
        return fileProblem(xml.errorText());
    }

    const XmlElement* instruction = xml.getHeader(ProcessingTarget);
    if (!instruction)
        return fileProblem(format("the \"%s\" instruction is missing", ProcessingTarget));
    const auto progId = instruction->getAttributeValue("progid");
    if (!progId)
        return fileProblem("the instruction has no \"progid\"");
    if (!startsWith(*progId, ProgIdPrefix))
        return fileProblem(
            format("the prog id \"%s\" does not begin with \"%s\"", std::string(*progId).c_str(), ProgIdPrefix));
    SplitText progIdParts(*progId, ".");
    if (progIdParts.count() >= 2 && IsProgIdType(progIdParts.at(1)))
        m_mainForm->SetProgIdType(progIdParts.at(1));

    const XmlElement* definition = xml.getChild("FormDefinition");
    if (!definition)
        return fileProblem("\"FormDefinition\" is missing");

    if (const XmlElement* styles = definition->getChild("Styles")) {
        m_styles.SetXmlElement(styles);
        m_styles.LoadXml(m_loadObserver);
        m_styles.SetXmlElement(nullptr);
    }

    bool whole = true;
    if (const XmlElement* dialogs = definition->getChild("Dialogs")) {
        for (int i = 0; i < dialogs->getChildCount(); ++i) {
            size_t before = m_filteredForms.size();
            ReadFilteredForm(*dialogs->getChildAt(i));
            whole = whole && m_filteredForms.size() > before;
        }
    }

    const XmlElement* dialog = definition->getChild("Dialog");
    if (!dialog)
        return fileProblem("the main \"Dialog\" is missing");
    m_mainForm->SetXmlElement(dialog);
    m_mainForm->SetStyleContainer(&m_styles);
    m_mainForm->SetLoadObserver(m_loadObserver);
    whole = m_mainForm->LoadDialog() && whole;
    m_mainForm->SetLoadObserver(nullptr);
    m_currentForm = m_mainForm.get();
    ReportLeftOut(xml, *definition);
    m_readWhole = whole;
    return true;
}

namespace {

bool IsBlank(std::string_view text)
{
    return text.find_first_not_of(" \t\r\n\v\f") == std::string_view::npos;
}

// Names seen among an element's children. Siblings share a handful of names,
// so a short list answers faster than a tree; the tree takes over past it.
class SeenNames {
public:
    void Add(std::string_view name)
    {
        if (Has(name))
            return;
        if (m_few.size() < FewLimit)
            m_few.push_back(name);
        else
            m_many.insert(name);
    }
    bool Has(std::string_view name) const
    {
        return std::find(m_few.begin(), m_few.end(), name) != m_few.end() || m_many.count(name) > 0;
    }

private:
    static constexpr std::size_t FewLimit = 16;
    std::vector<std::string_view> m_few;
    std::set<std::string_view> m_many;
};

// What reading left out, found in one walk of the tree. Styles that elements
// ask for but the file does not define (the elements are read, and saved,
// without one) are reported as they are met. What no reader asked for
// (attributes and elements the readers do not know, text where none is read:
// the writer would leave all of it out) follows them.
class LeftOutWalk {
public:
    LeftOutWalk(const CEntityStyleContainer& styles, LoadObserver& observer) : m_styles(styles), m_observer(observer) {}

    // `unreadCounts`: not inside an element already reported as not read.
    void Visit(const XmlElement& element, bool unreadCounts)
    {
        const std::string_view name = element.getElementName();
        bool styleSeen = false;
        for (int i = 0; i < element.getAttributeCount(); ++i) {
            const XmlAttribute* a = element.getAttributeAt(i);
            if (!styleSeen && a->getName() == "style") {
                styleSeen = true;
                if (a->wasRead() && name != "Style")
                    CheckStyle(element, a->getAttribValue());
            }
            if (unreadCounts && !a->wasRead())
                Unread(name, element.getLine(),
                       format("the attribute \"%s\" is not read", std::string(a->getName()).c_str()));
        }
        if (unreadCounts && !element.wasValueRead() && !IsBlank(element.peekValue()))
            Unread(name, element.getLine(), "its text is not read");
        // Where one element of a name belongs, readers take the first. The
        // names read are gathered only once a child was not: most forms have none.
        SeenNames readNames;
        int named = 0;
        for (int i = 0; i < element.getChildCount(); ++i) {
            const XmlElement* child = element.getChildAt(i);
            if (child->wasRead()) {
                Visit(*child, unreadCounts);
                continue;
            }
            if (unreadCounts) {
                for (; named < i; ++named)
                    if (const XmlElement* before = element.getChildAt(named); before->wasRead())
                        readNames.Add(before->getElementName());
                UnreadChild(name, *child, readNames.Has(child->getElementName()));
            }
            Visit(*child, false);
        }
    }

    void ReportUnread()
    {
        for (const Report& report : m_unread)
            m_observer.PartDropped(report.subject, report.line, report.what);
    }

private:
    struct Report {
        std::string subject;
        int line;
        std::string what;
    };

    void CheckStyle(const XmlElement& element, std::string_view style)
    {
        if (!IsDefined(style))
            m_observer.PartDropped(std::string(element.getElementName()), element.getLine(),
                                   format("style \"%s\" is not defined", std::string(style).c_str()));
    }

    // A form uses a handful of styles many times over: the answers for the
    // first few names are kept.
    bool IsDefined(std::string_view style)
    {
        for (const auto& [name, defined] : m_styleAnswers)
            if (name == style)
                return defined;
        // The file spells "||" as ","; most names hold neither.
        const bool defined = contains(style, ",") ? m_styles.Find(toMemorySeparators(style)) : m_styles.Find(style);
        if (m_styleAnswers.size() < StyleAnswerLimit)
            m_styleAnswers.emplace_back(style, defined);
        return defined;
    }

    void UnreadChild(std::string_view parent, const XmlElement& child, bool second)
    {
        const std::string name(child.getElementName());
        const std::string parentName(parent);
        Unread(name, child.getLine(),
               second ? format("a second \"%s\" in \"%s\" is not read", name.c_str(), parentName.c_str())
                      : format("\"%s\" holds no such element", parentName.c_str()));
    }

    void Unread(std::string_view subject, int line, std::string what)
    {
        m_unread.push_back({std::string(subject), line, std::move(what)});
    }

    static constexpr std::size_t StyleAnswerLimit = 8;

    const CEntityStyleContainer& m_styles;
    LoadObserver& m_observer;
    std::vector<Report> m_unread;
    std::vector<std::pair<std::string_view, bool>> m_styleAnswers;
};

}  // namespace

void FormDefinitionDocument::ReportLeftOut(const XmlDocument& xml, const XmlElement& definition)
{
    if (!m_loadObserver)
        return;
    for (const XmlReadNote& note : xml.readNotes())
        m_loadObserver->PartDropped("", note.line, note.text);
    LeftOutWalk walk(m_styles, *m_loadObserver);
    walk.Visit(definition, true);
    walk.ReportUnread();
}

void FormDefinitionDocument::ReadFilteredForm(const XmlElement& dialog)
{
    const auto filter = dialog.getAttributeValue("filter");
    if (!filter) {
        dialog.markRead();
        if (m_loadObserver)
            m_loadObserver->PartDropped(std::string(dialog.getElementName()), dialog.getLine(),
                                        "a filtered form without \"filter\" is left out");
        return;
    }
    std::string key = toMemorySeparators(*filter);
    std::unique_ptr<CDiagramEntityContainer> form = NewForm(key);
    form->SetXmlElement(&dialog);
    form->SetLoadObserver(m_loadObserver);
    bool loaded = form->LoadDialog();
    form->SetLoadObserver(nullptr);
    if (!loaded)
        return;
    if (m_filteredForms.count(key)) {
        dialog.markRead();
        if (m_loadObserver)
            m_loadObserver->FormProblem(
                key, format("a second form with this filter (line %d) is ignored", dialog.getLine()));
        return;
    }
    m_filteredForms.emplace(key, std::move(form));
}

void FormDefinitionDocument::WriteDialog(XmlWriter& writer, CDiagramEntityContainer& form, const std::string* filter,
                                         WriteUse use)
{
    writer.writeStartElement("Dialog");
    writer.writeAttributeString("title", "EDIT_" + m_objectClass);
    const IntSize paper = form.GetUsablePaper();
    writer.writeAttributePair("size", paper.cx, paper.cy);
    if (form.IsSizeable())
        writer.writeAttributeString("sizeable", "true");
    if (form.HasNoButtons())
        writer.writeAttributeString("nobuttons", "true");
    if (!form.GetHelp().empty())
        writer.writeAttributeString("help", form.GetHelp());
    if (form.GetUuid().empty() && use == WriteUse::Save)
        form.SetUuid(CDiagramEntityContainer::CreateUuid());
    writer.writeAttributeString("uuid",
                                form.GetUuid().empty() ? CDiagramEntityContainer::CreateUuid() : form.GetUuid());
    if (filter)
        writer.writeAttributeString("filter", toFileSeparators(*filter));
    form.SetXmlWriter(&writer);
    form.WriteControls(use == WriteUse::Copy);
    form.SetXmlWriter(nullptr);
    writer.writeEndElement();
}

void FormDefinitionDocument::Write(XmlWriter& writer, WriteUse use)
{
    // An element takes about a hundred bytes.
    std::size_t elements = static_cast<std::size_t>(m_mainForm->GetCount());
    for (const auto& [filter, form] : m_filteredForms)
        if (form)
            elements += static_cast<std::size_t>(form->GetCount());
    writer.reserve(1024 + 128 * elements);
    writer.writeHeader("?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?");
    writer.writeHeader(format("?%s progid=\"%s%s\" version=\"0.1\"?", ProcessingTarget, ProgIdPrefix,
                              m_mainForm->GetProgIdType().c_str()));
    writer.writeStartElement("FormDefinition");
    m_styles.SetXmlWriter(&writer);
    m_styles.WriteXml();
    m_styles.SetXmlWriter(nullptr);
    WriteDialog(writer, *m_mainForm, nullptr, use);
    if (!m_filteredForms.empty()) {
        writer.writeStartElement("Dialogs");
        for (auto& [filter, form] : m_filteredForms)
            if (form)
                WriteDialog(writer, *form, &filter, use);
        writer.writeEndElement();
    }
    writer.writeEndElement();
}

bool FormDefinitionDocument::WriteFile(const std::string& path)
{
    m_writeError.clear();
    XmlWriter writer;
    if (!writer.create(path))
        m_writeError = writer.errorText();
    Write(writer, WriteUse::Save);
    if (!writer.close() && m_writeError.empty())
        m_writeError = writer.errorText();
    if (m_writeError.empty()) {
        m_diskTarget = SaveTargetOf(path);
        m_diskStamp = writer.writtenStamp();
    }
    return true;
}

bool FormDefinitionDocument::ChangedOnDisk(const std::string& path) const
{
    if (m_diskTarget.empty() || SaveTargetOf(path) != m_diskTarget)
        return false;
    const FileStamp now = StampOf(m_diskTarget);
    return now.exists && now != m_diskStamp;
}

std::string FormDefinitionDocument::WriteToString()
{
    XmlWriter writer;
    Write(writer, WriteUse::Save);
    writer.close();
    return writer.takeText();
}

std::string FormDefinitionDocument::WriteCopyToString()
{
    XmlWriter writer;
    Write(writer, WriteUse::Copy);
    writer.close();
    return writer.takeText();
}

namespace {

// The pattern with its "%s" marks replaced by the parts, in order.
std::string FillIn(const std::string& pattern, std::initializer_list<std::string> parts)
{
    std::string text;
    size_t from = 0;
    for (const std::string& part : parts) {
        const size_t mark = pattern.find("%s", from);
        if (mark == std::string::npos)
            break;
        text += pattern.substr(from, mark - from) + part;
        from = mark + 2;
    }
    return text + pattern.substr(from);
}

void AddSaveLosses(const CDiagramEntityContainer& form, const std::string& folder, std::vector<std::string>& losses)
{
    for (int i = 0; i < form.GetCount(); ++i) {
        const CDiagramEntity* element = form.GetAt(i);
        const std::string loss = element->GetWriteLoss(folder);
        if (loss.empty())
            continue;
        const IntRect rect = element->GetRect();
        losses.push_back(FillIn(langStr("SAVE_LOSS_LINE"),
                                {form.GetFormName(), element->GetType(), format("%d,%d", rect.left, rect.top), loss}));
    }
}

}  // namespace

std::vector<std::string> FormDefinitionDocument::GetSaveLosses(const std::string& path) const
{
    const std::string folder = FolderOf(path);
    // A bare file name is beside the working folder, where it is written.
    const std::string where = folder.empty() ? "." : folder;
    std::vector<std::string> losses;
    AddSaveLosses(*m_mainForm, where, losses);
    for (const auto& [filter, form] : m_filteredForms)
        if (form)
            AddSaveLosses(*form, where, losses);
    return losses;
}

CDiagramEntityContainer* FormDefinitionDocument::GetForm(const std::string& name) const
{
    if (name == langStr("FD_DEFAULT"))
        return m_mainForm.get();
    auto it = m_filteredForms.find(name);
    return it == m_filteredForms.end() ? nullptr : it->second.get();
}

void FormDefinitionDocument::SelectForm(const std::string& name, bool main)
{
    m_currentForm = main ? m_mainForm.get() : GetForm(name);
}

std::string FormDefinitionDocument::GetCurrentFormName() const
{
    if (!m_currentForm || m_currentForm == m_mainForm.get())
        return langStr("FD_DEFAULT");
    return m_currentForm->GetFormName();
}

bool FormDefinitionDocument::SelectFormByName(const std::string& name)
{
    if (equalsNoCase(GetCurrentFormName(), name))
        return false;
    CDiagramEntityContainer* before = m_currentForm;
    const bool main = name == langStr("FD_DEFAULT");
    CDiagramEntityContainer* form = main ? m_mainForm.get() : GetForm(name);
    // An unknown name keeps the form the editor shows.
    if (form)
        m_currentForm = form;
    return m_currentForm != before;
}

std::unique_ptr<CDiagramEntityContainer> FormDefinitionDocument::NewForm(const std::string& filter)
{
    auto form = std::make_unique<CDiagramEntityContainer>(m_clipboard);
    form->SetStyleContainer(&m_styles);
    form->SetFormName(filter);
    form->SetObjectClass(m_objectClass);
    return form;
}

bool FormDefinitionDocument::AddForm(const std::string& filter)
{
    if (m_filteredForms.count(filter))
        return false;
    std::unique_ptr<CDiagramEntityContainer> form = NewForm(filter);
    form->SetPaper(m_currentForm ? m_currentForm->GetPaper() : m_mainForm->GetPaper());
    m_filteredForms.emplace(filter, std::move(form));
    m_fileChanged = true;
    ++m_changes;
    return true;
}

bool FormDefinitionDocument::RemoveForm(const std::string& filter)
{
    auto it = m_filteredForms.find(filter);
    if (it == m_filteredForms.end())
        return false;
    // The editor must never be left on a destroyed form.
    if (m_currentForm == it->second.get())
        m_currentForm = m_mainForm.get();
    m_filteredForms.erase(it);
    m_fileChanged = true;
    ++m_changes;
    return true;
}

bool FormDefinitionDocument::CopyForm(const std::string& newFilter, const std::string& sourceName)
{
    const CDiagramEntityContainer* source = GetForm(sourceName);
    if (m_filteredForms.count(newFilter) || !source)
        return false;
    std::unique_ptr<CDiagramEntityContainer> copy = source->Clone();
    copy->SetClipboardHandler(m_clipboard);
    copy->SetFormName(newFilter);
    // The copy is the same dialog for other objects: it keeps how it is shown,
    // but is a form of its own to the host.
    copy->SetHelp(source->GetHelp());
    copy->SetSizeable(source->IsSizeable());
    copy->SetNoButtons(source->HasNoButtons());
    copy->SetUuid(CDiagramEntityContainer::CreateUuid());
    m_filteredForms.emplace(newFilter, std::move(copy));
    m_fileChanged = true;
    ++m_changes;
    return true;
}

bool FormDefinitionDocument::RenameForm(const std::string& newFilter, const std::string& oldName)
{
    auto it = m_filteredForms.find(oldName);
    if (it == m_filteredForms.end())
        return CopyForm(newFilter, oldName);
    if (m_filteredForms.count(newFilter))
        return false;
    // Re-keyed, not copied: windows, the properties pane and the undo
    // history all keep working on the one form.
    auto entry = m_filteredForms.extract(it);
    entry.key() = newFilter;
    entry.mapped()->SetFormName(newFilter);
    m_filteredForms.insert(std::move(entry));
    m_fileChanged = true;
    ++m_changes;
    return true;
}

void FormDefinitionDocument::RefreshLists(bool force)
{
    if (m_filterNames.empty() || force) {
        m_filterNames.clear();
        for (const auto& [filter, form] : m_filteredForms)
            m_filterNames.push_back(filter);
    }
    if (m_classProperties.empty() || force)
        BuildClassProperties();
    if (m_host)
        m_host->SetInspectorEntries(force ? std::string() : GetLocaleObjectType(m_objectClass), m_classProperties);
}

void FormDefinitionDocument::BuildClassProperties()
{
    m_classProperties.clear();
    PropertyObject* object = ClassFactory::CurrentObjectModel()->FindObject(m_objectClass);
    if (!object)
        return;
    if (!object->PropertiesLoaded())
        object->LoadProperties(m_extendedModel);
    for (int i = 0; i < object->GetPropertyCount(); ++i) {
        const std::string& name = object->GetProperty(i)->GetName();
        m_classProperties.push_back(GetLocalePropertyName(name, m_objectClass) + ";" + name);
    }
    // Stable, like the neighbour-swapping sort the lists have always had.
    std::stable_sort(m_classProperties.begin(), m_classProperties.end(),
                     [](const std::string& a, const std::string& b) { return compareNoCase(a, b) < 0; });
}

void FormDefinitionDocument::ReloadObjectModel()
{
    if (m_host)
        m_host->BeginWait();
    ClassFactory::FreeObjectModel();
    if (m_extendedModel)
        ClassFactory::GetObjectModelEx();
    else
        ClassFactory::GetObjectModel();
    RefreshLists(true);
    if (m_host)
        m_host->EndWait();
}

bool FormDefinitionDocument::ContainsProperty(const std::string& name) const
{
    return m_currentForm && m_currentForm->ContainsProperty(name);
}

void FormDefinitionDocument::BuildClassList(std::vector<std::string>& out) const
{
    const ObjectModel* model = ClassFactory::CurrentObjectModel();
    for (int i = 0; i < model->GetObjectTypeCount(); ++i) {
        const std::vector<PropertyObject*>* objects = model->GetObjectTypeClassArray(i);
        if (!objects || objects->empty())
            continue;
        const PropertyObject* object = objects->front();
        if (contains(object->GetObjectType(), "QTK-CP"))
            continue;
        out.push_back(format("%s;%s", object->GetLocaleObjectType().c_str(), object->GetObjectType().c_str()));
    }
}

FormDefinitionDocument::NewResult FormDefinitionDocument::NewDocument()
{
    if (m_host)
        m_host->ShowPanes(false);
    Reset();
    m_styles.CreateDefaults();
    SetModified(false);
    std::vector<std::string> classes;
    BuildClassList(classes);
    std::string chosen;
    if (!m_host || !m_host->ChooseObjectClass(classes, chosen))
        return NewResult::Cancelled;
    if (chosen.empty())
        return NewResult::Refused;
    SetObjectClass(chosen);
    m_currentForm->SetPaper({700, 600});
    RefreshLists(false);
    m_host->ShowPanes(true);
    return NewResult::Created;
}

bool FormDefinitionDocument::OpenDocument(const std::string& path)
{
    return OpenWith(&FormDefinitionDocument::ReadFrom, path, path, StampOf(SaveTargetOf(path)));
}

bool FormDefinitionDocument::OpenCopy(const std::string& copy, const std::string& path, const FileStamp& diskStamp)
{
    return OpenWith(&FormDefinitionDocument::ReadCopy, copy, path, diskStamp);
}

bool FormDefinitionDocument::OpenWith(bool (FormDefinitionDocument::*read)(const std::string&, const std::string&,
                                                                           const FileStamp&),
                                      const std::string& source, const std::string& path, const FileStamp& diskStamp)
{
    if (m_host)
        m_host->SetLoading(true);
    const bool done = (this->*read)(source, path, diskStamp);
    RefreshLists(false);
    if (m_host) {
        m_host->ShowPanes(true);
        m_host->SetLoading(false);
    }
    return done;
}

void FormDefinitionDocument::SaveDocument(const std::string& path)
{
    WriteFile(path);
    if (m_writeError.empty())
        SetModified(false);
}

void FormDefinitionDocument::CloseDocument(int openDocuments)
{
    if (openDocuments < 2 && m_host)
        m_host->ClearPanes();
}

}  // namespace fw
