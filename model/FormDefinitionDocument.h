#pragma once
// One form definition file: its main form, its filtered forms, its text styles
// and the object class whose properties its forms show. Reads and writes the
// file; the desktop document and the command-line tool both delegate here.

#include "model/DiagramEntityContainer.h"
#include "model/EntityStyle.h"
#include "services/FileReplace.h"
#include "services/Xml.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fw {

class CDiagramClipboardHandler;
class DocumentHost;
class LoadObserver;
class XmlWriter;

class FormDefinitionDocument {
public:
    // `clipboard` is the application's shared element clipboard (none: the
    // document keeps one for its forms). Every form of the document uses it.
    explicit FormDefinitionDocument(CDiagramClipboardHandler* clipboard = nullptr, DocumentHost* host = nullptr);
    FormDefinitionDocument(const FormDefinitionDocument&) = delete;
    FormDefinitionDocument& operator=(const FormDefinitionDocument&) = delete;
    ~FormDefinitionDocument();

    // Reads a file; false when it could not be parsed or lacks the instruction,
    // its prog id, "FormDefinition" or the main "Dialog".
    bool ReadFile(const std::string& path);
    // Reads a copy kept aside of the file at `path` as that file: its object
    // class from that name, its pictures beside it, the file on disk as
    // `diskStamp` says it was when the copy was made (a save asks before
    // replacing one changed since). The document is then modified.
    bool ReadCopy(const std::string& copy, const std::string& path, const FileStamp& diskStamp);
    // The file last read or written, as it was then; none before either.
    const FileStamp& GetDiskStamp() const { return m_diskStamp; }
    // Writes the whole file (replacing it only once the new one is complete).
    // Always answers true; GetWriteError() says whether the bytes reached the disk.
    bool WriteFile(const std::string& path);
    const std::string& GetWriteError() const { return m_writeError; }
    // Whether `path` is the file last read or written here and someone else
    // has changed or replaced it since (not when it is gone: nothing to lose).
    bool ChangedOnDisk(const std::string& path) const;
    // The file text, as WriteFile would write it.
    std::string WriteToString();
    // The file text without changing the forms: elements in the order the
    // forms hold them (a save puts fields in tab order), and a form without
    // an id keeps none.
    std::string WriteCopyToString();
    // What writing the file to `path` would lose, one line per element (an
    // image without a picture, a picture kept by a name that is not beside
    // the file, ...), in the designer's words; empty when nothing.
    std::vector<std::string> GetSaveLosses(const std::string& path) const;
    // Whether the last ReadFile read the file whole: every form, and nothing
    // left out (no problem reported). A file read in part must not be
    // replaced by what was read without the designer knowing.
    bool WasReadWhole() const { return m_readWhole; }
    // What the last ReadFile reported, one line each with the file's line
    // where there is one; empty when the file was read whole.
    const std::vector<std::string>& GetReadProblems() const { return m_readProblems; }
    // Why the last ReadFile could not read the file at all (None when it could).
    XmlReadFailure GetFileFailure() const { return m_fileFailure; }

    // Whether the file changed since it was read, created or last saved: any
    // of its forms, its list of forms or its styles.
    bool IsModified() const;
    // Differs whenever anything of the file changed since it was last taken.
    std::vector<unsigned long long> GetChangeStamp() const;
    // true: the file changed beyond what its forms record; false: the file is
    // as saved, every form's flag included.
    void SetModified(bool modified);
    void SetLoadObserver(LoadObserver* observer) { m_loadObserver = observer; }

    void Reset();
    void SetObjectClass(const std::string& name);
    const std::string& GetObjectClass() const { return m_objectClass; }

    // The main form under the localized default-form name, else a filtered form.
    CDiagramEntityContainer* GetForm(const std::string& name) const;
    void SelectForm(const std::string& name, bool main);
    // The current form's name as the filter list shows it: the localized
    // default-form text for the main form, else its filter.
    std::string GetCurrentFormName() const;
    // Makes the named form current: the main form for the default-form text
    // (exact), else the filtered form of that name. Nothing happens when the
    // current form already has the name, ignoring case. True when the current
    // form changed.
    bool SelectFormByName(const std::string& name);
    CDiagramEntityContainer* GetCurrentForm() const { return m_currentForm; }
    CDiagramEntityContainer* GetMainForm() const { return m_mainForm.get(); }
    bool AddForm(const std::string& filter);
    bool RemoveForm(const std::string& filter);
    // A copy of the source (elements, paper, help, "sizeable", "nobuttons")
    // with a new uuid and no undo history.
    bool CopyForm(const std::string& newFilter, const std::string& sourceName);
    // Files a filtered form under a new filter; it stays the same form, so
    // every window keeps showing it, with its properties and undo history.
    // The main form keeps its place: renaming it copies it.
    bool RenameForm(const std::string& newFilter, const std::string& oldName);
    // The filtered forms by key (the filter in memory form), in key order.
    const std::map<std::string, std::unique_ptr<CDiagramEntityContainer>>& GetFilteredForms() const
    {
        return m_filteredForms;
    }

    void RefreshLists(bool force);
    void ReloadObjectModel();
    bool ContainsProperty(const std::string& name) const;
    void SetExtendedModel(bool extended) { m_extendedModel = extended; }
    bool IsExtendedModel() const { return m_extendedModel; }
    // "localized;internal" for every object type the designer may choose.
    void BuildClassList(std::vector<std::string>& out) const;

    const std::vector<std::string>& GetFilterNames() const { return m_filterNames; }
    const std::vector<std::string>& GetClassProperties() const { return m_classProperties; }
    CEntityStyleContainer& GetStyles() { return m_styles; }

    // The steps of the application's document life cycle.
    enum class NewResult { Created, Cancelled, Refused };
    NewResult NewDocument();
    bool OpenDocument(const std::string& path);
    // OpenDocument for ReadCopy.
    bool OpenCopy(const std::string& copy, const std::string& path, const FileStamp& diskStamp);
    void SaveDocument(const std::string& path);
    void CloseDocument(int openDocuments);

    // The object class a file edits: its name up to the first "_", else up to the first ".".
    static std::string ObjectClassFromPath(const std::string& path);
    // The name Save As offers: "CLASS_rest.xml" from the file's own name when
    // its class part already names the class, else "CLASS_Main.xml" (or
    // "CLASS_rest.xml" keeping what followed another class's "_").
    static std::string ProposedFileName(const std::string& objectClass, const std::string& path);
    // Whether the object model describes the class this file edits.
    bool IsObjectClassKnown() const;

private:
    // `source` holds the bytes of the file at `path`.
    bool ReadFrom(const std::string& source, const std::string& path, const FileStamp& diskStamp);
    bool ReadParts(const std::string& source, const std::string& path);
    bool OpenWith(bool (FormDefinitionDocument::*read)(const std::string&, const std::string&, const FileStamp&),
                  const std::string& source, const std::string& path, const FileStamp& diskStamp);
    void ReadFilteredForm(const XmlElement& dialog);
    // What reading the tree left out beyond the forms' own reports.
    void ReportLeftOut(const XmlDocument& xml, const XmlElement& definition);
    // An empty filtered form on the document's styles and clipboard.
    std::unique_ptr<CDiagramEntityContainer> NewForm(const std::string& filter);
    enum class WriteUse { Save, Copy };
    void WriteDialog(XmlWriter& writer, CDiagramEntityContainer& form, const std::string* filter, WriteUse use);
    void Write(XmlWriter& writer, WriteUse use);
    void BuildClassProperties();
    void DropFilteredForms();

    // Declared first so the forms, whose elements point at styles and whose
    // clipboard may be this document's, go first.
    CEntityStyleContainer m_styles;
    std::unique_ptr<CDiagramClipboardHandler> m_ownClipboard;
    CDiagramClipboardHandler* m_clipboard;
    std::unique_ptr<CDiagramEntityContainer> m_mainForm;
    CDiagramEntityContainer* m_currentForm;
    std::string m_objectClass;
    std::vector<std::string> m_filterNames;
    std::map<std::string, std::unique_ptr<CDiagramEntityContainer>> m_filteredForms;
    std::vector<std::string> m_classProperties;
    bool m_extendedModel = false;
    DocumentHost* m_host;
    LoadObserver* m_loadObserver = nullptr;
    bool m_readWhole = false;
    std::vector<std::string> m_readProblems;
    XmlReadFailure m_fileFailure = XmlReadFailure::None;
    std::string m_writeError;
    // The file last read or written, links followed, as it was then.
    std::string m_diskTarget;
    FileStamp m_diskStamp;
    // A form was added, removed or filed anew, or the file was marked changed,
    // since it was read or saved.
    bool m_fileChanged = false;
    unsigned long long m_changes = 0;
    // The styles as last read or saved; edits happen on the records themselves.
    std::string m_savedStyles;
};

}  // namespace fw
