#include "tools/FormTool.h"

#include "controls/StandardControls.h"
#include "editor/FormPainter.h"
#include "model/DiagramEntity.h"
#include "model/ElementFactory.h"
#include "model/FormDefinitionDocument.h"
#include "model/LoadProblems.h"
#include "render/CairoDrawContext.h"
#include "services/Environment.h"
#include "services/FileReplace.h"
#include "services/LanguageTable.h"
#include "services/ObjectModel.h"
#include "services/Strings.h"
#include "services/Xml.h"
#include "tools/EditorScript.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <utility>

namespace fw {

namespace {

const char* const Version = "formwright-tool " FORMWRIGHT_VERSION;

const char* const UsageHead = R"(usage: formwright-tool [options] COMMAND ...

commands:
  check FILE...            load each file as the editor does and list every problem
  fmt FILE... [-o OUT]     read each file and write it back normalised
                           (in place, or to OUT when there is one input);
                           a file whose reading left anything out is not
                           rewritten in place, and OUT is written with a
                           list of what it lacks
  dump FILE [--form NAME]  print each form and its elements in text form
  render FILE -o OUT [--form NAME] [--zoom Z]
                           draw one form as the canvas shows it; OUT ends in
                           .png, .svg or .pdf
  render FILE -o OUT --editor [--script S] [--form NAME] [--zoom Z]
                           draw the whole editor window instead (1000 x 800
                           unless S sets a size): paper, grid when on,
                           margins, button bar, selection markers; after
                           running the script S when there is one
  script FILE SCRIPT [-o OUT] [--dump] [--form NAME] [--zoom Z]
                           open the main form (or NAME) in a form view of
                           1000 x 800 pixels (at zoom Z), run the editor
                           events of SCRIPT on it, write the file to OUT and,
                           with --dump, print the forms as dump does (as the
                           editor left them, before saving); a bad script
                           line stops with its number and writes nothing

options:
  --model FILE             object model file (default: the configured one)
  --language NAME          language of names and texts (English, German)
  -h, --help               show this text
  --version                show the version

script lines, one event each; # starts a comment; points are client pixels:
)";

const char* const UsageTail = R"(
exit status, the same for every command:
  0  done, and nothing found
  1  problems found, or a file refused: not a form file, not a regular file,
     larger than 256 MB, or read only in part (check, fmt)
  2  a usage error, a file that cannot be opened, read or written (the
     message gives the system's reason), or a script line that is malformed
     or fails
)";

std::string UsageText()
{
    return UsageHead + DescribeScriptVerbs("  ") + UsageTail;
}

struct Options {
    std::string command;
    std::vector<std::string> files;
    std::string output;
    std::string form;
    bool hasForm = false;
    double zoom = 1.0;
    bool hasZoom = false;
    bool dump = false;
    bool editor = false;
    std::string script;
    bool modelGiven = false;
};

// Problems of one file, in the order they are found.
using ProblemList = LoadProblemList;

// Reads the file; when it cannot be read at all, says why (after `lead`)
// and answers the status: a file that could not be opened or read is an I/O
// error, one refused (not a regular file, too large) or no form file a problem.
int ReadDocument(FormDefinitionDocument& doc, const std::string& path, std::ostream& err, const char* lead = "")
{
    if (doc.ReadFile(path))
        return ToolExit::Ok;
    const std::vector<std::string>& problems = doc.GetReadProblems();
    const std::string why = problems.empty() ? std::string("cannot be read") : problems.front();
    if (doc.GetFileFailure() == XmlReadFailure::Unreadable) {
        err << "formwright-tool: " << why << "\n";
        return ToolExit::Usage;
    }
    err << path << ": " << lead << why << "\n";
    return ToolExit::Problems;
}

// What loading cannot see: references that resolve to nothing and layout faults.
void CheckForm(const FormDefinitionDocument& doc, const CDiagramEntityContainer& form, const PropertyObject* object,
               ProblemList& problems)
{
    const std::string prefix = problems.FormPrefix(form.GetFormName());
    std::map<int, std::string> tabOwners;
    const IntSize paper = form.GetPaper();
    for (int i = 0; i < form.GetCount(); ++i) {
        const CDiagramEntity* e = form.GetAt(i);
        const std::string what = format("%s \"%s\"", e->GetType().c_str(), e->GetName().c_str());
        if (e->TakesPartInTabOrder()) {
            if (object && !object->FindProperty(e->GetName()))
                problems.lines.push_back(format("%s%s: the object class %s has no property %s", prefix.c_str(),
                                                what.c_str(), doc.GetObjectClass().c_str(), e->GetName().c_str()));
            int tab = e->GetTabIndex();
            if (tab >= 0) {
                auto [it, inserted] = tabOwners.emplace(tab, e->GetName());
                if (!inserted)
                    problems.lines.push_back(format("%s%s: tab order %d is also used by \"%s\"", prefix.c_str(),
                                                    what.c_str(), tab, it->second.c_str()));
            }
        }
        IntRect r = e->GetRect().Normalized();
        if (r.left < 0 || r.top < 0 || r.right > paper.cx || r.bottom > paper.cy)
            problems.lines.push_back(format("%s%s at %d,%d-%d,%d lies outside the %dx%d paper", prefix.c_str(),
                                            what.c_str(), r.left, r.top, r.right, r.bottom, paper.cx, paper.cy));
    }
}

int Check(const Options& options, std::ostream& out, std::ostream& err)
{
    int result = ToolExit::Ok;
    for (const std::string& path : options.files) {
        ProblemList problems(path);
        FormDefinitionDocument doc;
        doc.SetLoadObserver(&problems);
        doc.ReadFile(path);
        doc.SetLoadObserver(nullptr);
        if (doc.GetFileFailure() == XmlReadFailure::Unreadable) {
            err << "formwright-tool: " << problems.lines.front() << "\n";
            result = ToolExit::Usage;
            continue;
        }
        if (!problems.unusable) {
            const PropertyObject* object = ClassFactory::CurrentObjectModel()->FindObject(doc.GetObjectClass());
            if (!object)
                problems.lines.push_back(format("the object model has no class %s (taken from the file name)",
                                                doc.GetObjectClass().c_str()));
            else if (!object->PropertiesLoaded())
                const_cast<PropertyObject*>(object)->LoadProperties(true);
            CheckForm(doc, *doc.GetMainForm(), object, problems);
            for (const auto& [filter, form] : doc.GetFilteredForms())
                CheckForm(doc, *form, object, problems);
            // What saving the file where it is would lose.
            for (const std::string& loss : doc.GetSaveLosses(path))
                problems.lines.push_back(loss);
        }
        if (problems.lines.empty()) {
            out << path << ": ok\n";
            continue;
        }
        result = std::max(result, ToolExit::Problems);
        for (const std::string& line : problems.lines)
            out << path << ": " << line << "\n";
    }
    return result;
}

// A file read in part is never written over: that would lose what reading
// left out. True (after naming each part) when `target` is the file itself;
// otherwise names what `target` will lack.
bool RefuseToLoseParts(const FormDefinitionDocument& doc, const std::string& path, const std::string& target,
                       std::ostream& err)
{
    const bool inPlace = target == path || IsSameFile(target, path);
    err << path << (inPlace ? ": not rewritten, it would lose what reading left out:\n" : ": left out:\n");
    for (const std::string& line : doc.GetReadProblems())
        err << path << ":   " << line << "\n";
    return inPlace;
}

// Writes the document to `target`, but never over a file its owner made
// read-only: there is nobody to ask. Answers the exit status it earns.
int WriteDocument(FormDefinitionDocument& doc, const std::string& target, std::ostream& err)
{
    if (IsReadOnlyFile(target)) {
        err << target << ": not written, the file is read-only\n";
        return ToolExit::Problems;
    }
    doc.WriteFile(target);
    if (!doc.GetWriteError().empty()) {
        err << "formwright-tool: " << doc.GetWriteError() << "\n";
        return ToolExit::Usage;
    }
    return ToolExit::Ok;
}

int Fmt(const Options& options, std::ostream& out, std::ostream& err)
{
    if (!options.output.empty() && options.files.size() != 1) {
        err << "formwright-tool: -o takes exactly one input file\n";
        return ToolExit::Usage;
    }
    int result = ToolExit::Ok;
    for (const std::string& path : options.files) {
        FormDefinitionDocument doc;
        if (const int status = ReadDocument(doc, path, err, "not rewritten: "); status != ToolExit::Ok) {
            result = std::max(result, status);
            continue;
        }
        const std::string target = options.output.empty() ? path : options.output;
        if (!doc.WasReadWhole()) {
            result = std::max(result, ToolExit::Problems);
            if (RefuseToLoseParts(doc, path, target, err))
                continue;
        }
        const int written = WriteDocument(doc, target, err);
        if (written == ToolExit::Usage)
            return written;
        result = std::max(result, written);
        if (written == ToolExit::Ok)
            out << target << ": written\n";
    }
    return result;
}

void DumpForm(const CDiagramEntityContainer& form, std::ostream& out)
{
    out << "form: " << form.GetFormName() << "\n" << form.GetString() << "\n";
    for (int i = 0; i < form.GetCount(); ++i) {
        const CDiagramEntity* e = form.GetAt(i);
        std::string style = e->GetStyleName();
        out << e->GetString() << "\ttab=" << e->GetTabIndex() << "\tstyle=" << (style.empty() ? "-" : style)
            << "\tlabel=" << (e->IsDependentPart() ? 1 : 0) << "\n";
    }
}

void DumpDocument(const FormDefinitionDocument& doc, std::ostream& out)
{
    DumpForm(*doc.GetMainForm(), out);
    for (const auto& [filter, form] : doc.GetFilteredForms())
        DumpForm(*form, out);
}

int Dump(const Options& options, std::ostream& out, std::ostream& err)
{
    if (options.files.size() != 1) {
        err << "formwright-tool: dump takes one file\n";
        return ToolExit::Usage;
    }
    FormDefinitionDocument doc;
    if (const int status = ReadDocument(doc, options.files.front(), err); status != ToolExit::Ok)
        return status;
    if (options.hasForm) {
        const CDiagramEntityContainer* form = doc.GetForm(options.form);
        if (!form) {
            err << options.files.front() << ": no form \"" << options.form << "\"\n";
            return ToolExit::Usage;
        }
        DumpForm(*form, out);
        return ToolExit::Ok;
    }
    DumpDocument(doc, out);
    return ToolExit::Ok;
}

std::string LowerExtension(const std::string& path)
{
    auto dot = path.find_last_of('.');
    auto slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

std::unique_ptr<CairoDrawContext> MakeSurface(const std::string& extension, const std::string& path, IntSize size)
{
    if (extension == "png")
        return CairoDrawContext::ForImage(size.cx, size.cy);
    if (extension == "svg")
        return CairoDrawContext::ForSvg(path, size.cx, size.cy);
    return CairoDrawContext::ForPdf(path, size.cx, size.cy);
}

// Reads FILE for the commands that work on one form of it; null after a
// message when the file or the form named by --form is not there, with the
// status to answer in `status`.
CDiagramEntityContainer* ReadForm(const Options& options, FormDefinitionDocument& doc, std::ostream& err, int& status)
{
    const std::string& path = options.files.front();
    status = ReadDocument(doc, path, err);
    if (status != ToolExit::Ok)
        return nullptr;
    CDiagramEntityContainer* form = options.hasForm ? doc.GetForm(options.form) : doc.GetMainForm();
    if (!form) {
        err << path << ": no form \"" << options.form << "\"\n";
        status = ToolExit::Usage;
    }
    return form;
}

// Opens the form in a form view and runs the script file, if there is one;
// null after a message when the script cannot be read or stops early.
std::unique_ptr<HeadlessFormView> OpenInEditor(const Options& options, FormDefinitionDocument& doc,
                                               CDiagramEntityContainer& form, const std::string& scriptPath,
                                               std::ostream& err)
{
    std::ifstream script;
    if (!scriptPath.empty()) {
        script.open(scriptPath);
        if (!script) {
            err << "formwright-tool: cannot open " << scriptPath << ": " << std::strerror(errno) << "\n";
            return nullptr;
        }
    }
    doc.SelectForm(form.GetFormName(), &form == doc.GetMainForm());
    auto session = std::make_unique<HeadlessFormView>(doc);
    if (options.hasZoom)
        session->Editor().SetZoom(options.zoom);
    if (!scriptPath.empty() && !RunEditorScript(session->View(), session->Host(), script, err, scriptPath).ok)
        return nullptr;
    return session;
}

int Render(const Options& options, std::ostream& out, std::ostream& err)
{
    if (options.files.size() != 1 || options.output.empty()) {
        err << "formwright-tool: render takes one file and -o OUT\n";
        return ToolExit::Usage;
    }
    if (!options.script.empty() && !options.editor) {
        err << "formwright-tool: --script draws the editor and needs --editor\n";
        return ToolExit::Usage;
    }
    const std::string& path = options.files.front();
    const std::string extension = LowerExtension(options.output);
    if (extension != "png" && extension != "svg" && extension != "pdf") {
        err << "formwright-tool: " << options.output << ": the output must end in .png, .svg or .pdf\n";
        return ToolExit::Usage;
    }
    FormDefinitionDocument doc;
    int status = ToolExit::Ok;
    CDiagramEntityContainer* form = ReadForm(options, doc, err, status);
    if (!form)
        return status;

    std::unique_ptr<HeadlessFormView> session;
    IntSize size;
    if (options.editor) {
        session = OpenInEditor(options, doc, *form, options.script, err);
        if (!session)
            return ToolExit::Usage;
        size = session->Host().GetClientSize();
    } else {
        const IntRect paper = ZoomedPaper(*form, options.zoom);
        if (paper.IsEmpty()) {
            err << path << ": the form has no paper to draw on\n";
            return ToolExit::Usage;
        }
        size = {paper.Width(), paper.Height()};
    }

    std::unique_ptr<CairoDrawContext> dc = MakeSurface(extension, options.output, size);
    if (!dc) {
        err << "formwright-tool: cannot draw to " << options.output << "\n";
        return ToolExit::Usage;
    }
    if (session)
        session->Editor().Paint(*dc);
    else
        PaintForm(*dc, *form, options.zoom);
    bool written = extension == "png" ? dc->WritePng(options.output) : dc->Finish();
    if (!written) {
        const std::string why = dc->WriteError().empty() ? "cannot write " + options.output : dc->WriteError();
        err << "formwright-tool: " << why << "\n";
        return ToolExit::Usage;
    }
    out << options.output << ": " << size.cx << "x" << size.cy << "\n";
    return ToolExit::Ok;
}

int Script(const Options& options, std::ostream& out, std::ostream& err)
{
    if (options.files.size() != 2) {
        err << "formwright-tool: script takes a form file and a script file\n";
        return ToolExit::Usage;
    }
    FormDefinitionDocument doc;
    int status = ToolExit::Ok;
    CDiagramEntityContainer* form = ReadForm(options, doc, err, status);
    if (!form)
        return status;
    const bool overInput = !options.output.empty() && !doc.WasReadWhole() &&
                           (options.output == options.files[0] || IsSameFile(options.output, options.files[0]));
    if (overInput && RefuseToLoseParts(doc, options.files[0], options.output, err))
        return ToolExit::Problems;
    std::unique_ptr<HeadlessFormView> session = OpenInEditor(options, doc, *form, options.files[1], err);
    if (!session)
        return ToolExit::Usage;
    // Taken before saving, which moves the property fields to the end in tab
    // order: the dump shows the editor's own list, with or without -o.
    std::ostringstream dump;
    if (options.dump)
        DumpDocument(doc, dump);
    if (!options.output.empty())
        if (const int written = WriteDocument(doc, options.output, err))
            return written;
    out << dump.str();
    return ToolExit::Ok;
}

bool ParseArguments(const std::vector<std::string>& args, Options& options, std::ostream& err)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                err << "formwright-tool: " << a << " needs a value\n";
                return false;
            }
            into = args[++i];
            return true;
        };
        if (a == "--model") {
            std::string path;
            if (!value(path))
                return false;
            ClassFactory::SetModelFile(path);
            ClassFactory::FreeObjectModel();
            options.modelGiven = true;
        } else if (a == "--language") {
            std::string language;
            if (!value(language))
                return false;
            if (!LanguageTable::instance().loadLanguage(language)) {
                const std::string& why = LanguageTable::instance().loadError();
                err << "formwright-tool: no language \"" << language << "\"" << (why.empty() ? "" : " (" + why + ")")
                    << "\n";
                return false;
            }
            ::setenv("FORMWRIGHT_LANGUAGE", language.c_str(), 1);
            Environment::instance().reload();
        } else if (a == "-o") {
            if (!value(options.output))
                return false;
        } else if (a == "--zoom") {
            std::string zoom;
            if (!value(zoom))
                return false;
            options.zoom = toDouble(zoom);
            options.hasZoom = true;
            // The canvas's own limits, 10 % to 1000 %.
            if (!(options.zoom >= 0.1 && options.zoom <= 10.0)) {
                err << "formwright-tool: --zoom takes a factor between 0.1 and 10\n";
                return false;
            }
        } else if (a == "--dump") {
            options.dump = true;
        } else if (a == "--editor") {
            options.editor = true;
        } else if (a == "--script") {
            if (!value(options.script))
                return false;
        } else if (a == "--form") {
            if (!value(options.form))
                return false;
            options.hasForm = true;
        } else if (startsWith(a, "-") && a != "-") {
            err << "formwright-tool: unknown option " << a << "\n";
            return false;
        } else if (options.command.empty()) {
            options.command = a;
        } else {
            options.files.push_back(a);
        }
    }
    return true;
}

}  // namespace

int RunFormTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            out << UsageText();
            return ToolExit::Ok;
        }
        if (a == "--version") {
            out << Version << "\n";
            return ToolExit::Ok;
        }
    }
    Options options;
    if (!ParseArguments(args, options, err))
        return ToolExit::Usage;
    if (options.command.empty()) {
        err << UsageText();
        return ToolExit::Usage;
    }
    static const std::pair<const char*, int (*)(const Options&, std::ostream&, std::ostream&)> commands[] = {
        {"check", Check}, {"fmt", Fmt}, {"dump", Dump}, {"render", Render}, {"script", Script},
    };
    const auto command = std::find_if(std::begin(commands), std::end(commands),
                                      [&](const auto& row) { return options.command == row.first; });
    if (command == std::end(commands)) {
        err << "formwright-tool: unknown command " << options.command << "\n" << UsageText();
        return ToolExit::Usage;
    }
    if (options.files.empty()) {
        err << "formwright-tool: " << options.command << " needs a file\n";
        return ToolExit::Usage;
    }
    // A model named on the command line must be there; the configured one may be missing.
    if (const ObjectModel* model = ClassFactory::CurrentObjectModel();
        options.modelGiven && !model->errorText().empty()) {
        err << "formwright-tool: --model: " << model->errorText() << "\n";
        return ToolExit::Usage;
    }

    ElementFactory& table = ElementFactory::Global();
    if (!table.Knows("Property"))
        RegisterStandardControls(table);

    return command->second(options, out, err);
}

}  // namespace fw
