// The command line of formwright-tool, run in-process through RunFormTool on
// the shipped samples and the hand-written fixtures.

#include "tools/FormTool.h"

#include "bench/FormGenerator.h"
#include "model/FormDefinitionDocument.h"
#include "services/Environment.h"
#include "services/LanguageTable.h"
#include "support/Scratch.h"
#include "support/TestElements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <regex>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace fw;
using fw::test::FixturePath;
using fw::test::ReadFile;

namespace {

using Lines = std::vector<std::string>;

struct Result {
    int code = -1;
    std::string out;
    std::string err;

    Lines OutLines() const
    {
        Lines lines;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
};

std::string Sample(const std::string& name)
{
    return std::string(FORMWRIGHT_SOURCE_ROOT) + "/data/samples/" + name;
}

// The 1-based line of a file's text on which `needle` first stands.
std::string LineOf(const std::string& text, const std::string& needle)
{
    const size_t at = text.find(needle);
    EXPECT_NE(at, std::string::npos) << needle;
    return std::to_string(1 + std::count(text.begin(), text.begin() + std::min(at, text.size()), '\n'));
}

class FormTool : public ::testing::Test {
protected:
    // --language and --model change process-wide state; later tests expect English and the demo model.
    ~FormTool() override
    {
        ::setenv("FORMWRIGHT_LANGUAGE", "English", 1);
        Environment::instance().reload();
        LanguageTable::instance().loadLanguage("English");
    }

    static Result Run(const Lines& args)
    {
        std::ostringstream out;
        std::ostringstream err;
        Result result;
        result.code = RunFormTool(args, out, err);
        result.out = out.str();
        result.err = err.str();
        return result;
    }

    std::string CopyHere(const std::string& path)
    {
        return m_dir.Put(std::filesystem::path(path).filename().string(), ReadFile(path));
    }

    test::DemoModel m_model;
    test::ScratchDir m_dir;
};

TEST_F(FormTool, CheckFindsNothingInTheSamples)
{
    Lines args{"check"};
    Lines expected;
    for (const auto& entry : std::filesystem::directory_iterator(Sample("")))
        if (entry.path().extension() == ".xml") {
            args.push_back(entry.path().string());
            expected.push_back(entry.path().string() + ": ok");
        }
    ASSERT_GE(args.size(), 4u);
    const Result result = Run(args);
    EXPECT_EQ(result.code, ToolExit::Ok) << result.out;
    EXPECT_EQ(result.OutLines(), expected);
    EXPECT_EQ(result.err, "");
}

TEST_F(FormTool, CheckNamesEveryProblemOfTheBrokenFixtureAndGoesOn)
{
    const std::string path = FixturePath("PUMP_Broken.xml");
    const std::string text = ReadFile(path);
    const std::string sample = Sample("VALVE_Main.xml");
    const Result result = Run({"check", path, sample});
    EXPECT_EQ(result.code, ToolExit::Problems);
    const Lines expected = {
        "Text #2 (line " + LineOf(text, "pos=\"0,10\"") + "): \"pos\" 0,10 has a zero or negative coordinate",
        "Property #1 (line " + LineOf(text, "<Property pos=") + "): \"name\" is missing",
        "editbox \"IMPELLER_DIAMETER\": the object class PUMP has no property IMPELLER_DIAMETER",
        "Text (line " + LineOf(text, "style=\"Bold\"") + "): style \"Bold\" is not defined",
        "editbox \"ARTNO\": tab order 2 is also used by \"NAME\"",
        "editbox \"STATUS\" at 320,190-420,210 lies outside the 400x300 paper",
        "Rectangle #1 (line " + LineOf(text, "<Rectangle") +
            "): \"fillcolor\" 255,0 is not three comma-separated numbers",
        "form \"STATUS:=:Released\": a second form with this filter (line " + LineOf(text, "uuid=\"7F6E5D4C") +
            ") is ignored",
        "line " + LineOf(text, "<!--") + ": a comment is not kept",
    };
    Lines lines = result.OutLines();
    ASSERT_EQ(lines.size(), expected.size() + 1) << result.out;
    EXPECT_EQ(lines.back(), sample + ": ok");
    for (const std::string& problem : expected)
        EXPECT_EQ(std::count(lines.begin(), lines.end(), path + ": " + problem), 1) << problem << "\n" << result.out;

    // A style whose name holds a comma is defined, however an element spells it.
    const Result commas = Run({"check", FixturePath("ARTICLE_Filtered.xml")});
    EXPECT_EQ(commas.out.find("is not defined"), std::string::npos) << commas.out;

    // Every element that asks for a missing style is named, however often the name recurs.
    const std::string styled = m_dir.Put(
        "PUMP_Styled.xml", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<?ORVANEX-application progid=\"Forms.OEF\"?>\n"
                           "<FormDefinition>\n<Styles><Style name=\"s1\" font=\"Arial\" size=\"9\"/></Styles>\n"
                           "<Dialog title=\"EDIT_PUMP\" size=\"700,600\"><Controls>\n"
                           "<Text pos=\"10,10\" size=\"50,18\" style=\"Nope\">A</Text>\n"
                           "<Text pos=\"10,40\" size=\"50,18\" style=\"s1\">B</Text>\n"
                           "<Text pos=\"10,70\" size=\"50,18\" style=\"Nope\">C</Text>\n"
                           "<Text pos=\"10,99\" size=\"50,18\" style=\"s1\">D</Text>\n"
                           "</Controls></Dialog>\n</FormDefinition>\n");
    const Lines missing = Run({"check", styled}).OutLines();
    EXPECT_EQ(std::count(missing.begin(), missing.end(), styled + ": Text (line 6): style \"Nope\" is not defined"), 1);
    EXPECT_EQ(std::count(missing.begin(), missing.end(), styled + ": Text (line 8): style \"Nope\" is not defined"), 1);
    EXPECT_EQ(missing.size(), 2u) << Run({"check", styled}).out;
}

TEST_F(FormTool, CheckNamesLineAndColumnOfAParseErrorAndAClassTheModelLacks)
{
    const std::string torn = m_dir.Put("PUMP_Torn.xml", "<?xml version=\"1.0\"?>\n<FormDefinition>\n"
                                                        "  <Dialog title=\"EDIT_PUMP\" size=\"100,100\">\n"
                                                        "    <Controls>\n  </Dialog>\n</FormDefinition>\n");
    const Result result = Run({"check", torn});
    EXPECT_EQ(result.code, ToolExit::Problems);
    ASSERT_EQ(result.OutLines().size(), 1u) << result.out;
    const std::string line = result.OutLines().front();
    EXPECT_EQ(line.rfind(torn + ": ", 0), 0u) << line;
    EXPECT_NE(line.find("(line 5, column 5)"), std::string::npos) << line;
    EXPECT_EQ(line.find(torn, 1), std::string::npos) << "the file is named once, at the start: " << line;

    // Copied without its picture: saving it there would keep a name that finds nothing.
    const std::string gearbox = m_dir.Put("GEARBOX_Main.xml", ReadFile(Sample("VALVE_Main.xml")));
    const Lines alone = Run({"check", gearbox}).OutLines();
    ASSERT_EQ(alone.size(), 3u);
    EXPECT_NE(alone[1].find("Image at 460,44: the file keeps only the name valve.png"), std::string::npos) << alone[1];
    m_dir.Put("valve.png", ReadFile(Sample("valve.png")));
    EXPECT_EQ(Run({"check", gearbox}).out,
              gearbox + ": the object model has no class GEARBOX (taken from the file name)\n");
    // A model named on the command line that cannot be read stops the run.
    const std::string missingModel = m_dir.Path() + "/missing-model.xml";
    const Result other = Run({"--model", missingModel, "check", Sample("PUMP_Main.xml")});
    EXPECT_EQ(other.code, ToolExit::Usage);
    EXPECT_EQ(other.err, "formwright-tool: --model: cannot open " + missingModel + ": No such file or directory\n");
}

TEST_F(FormTool, FmtWritesWhatTheDocumentWrites)
{
    // Each fixture holds something the reader leaves out: written elsewhere, with a list of it.
    for (const char* fixture : {"PUMP_Fields.xml", "DOCUMENT_Buttons.xml", "VALVE_Graphics.xml"}) {
        const std::string output = m_dir.Path() + "/" + fixture;
        const Result result = Run({"fmt", FixturePath(fixture), "-o", output});
        EXPECT_EQ(result.code, ToolExit::Problems) << result.err;
        EXPECT_EQ(result.out, output + ": written\n");
        EXPECT_NE(result.err.find(FixturePath(fixture) + ": left out:\n"), std::string::npos) << result.err;
        FormDefinitionDocument doc;
        ASSERT_TRUE(doc.ReadFile(FixturePath(fixture)));
        EXPECT_EQ(ReadFile(output), doc.WriteToString()) << fixture;
        EXPECT_NE(ReadFile(output), ReadFile(FixturePath(fixture))) << fixture << " was already normalised";
    }
    // In place; a sample is already in the written form.
    const std::string sample = CopyHere(Sample("PUMP_Main.xml"));
    EXPECT_EQ(Run({"fmt", sample}).code, ToolExit::Ok);
    EXPECT_EQ(ReadFile(sample), ReadFile(Sample("PUMP_Main.xml")));
}

TEST_F(FormTool, FmtLeavesAFileItCannotReadWholeUntouchedAndGoesOn)
{
    const std::string noDialog =
        m_dir.Put("PUMP_NoDialog.xml", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                                       "<?ORVANEX-application progid=\"Forms.OEF\" version=\"0.1\"?>\n"
                                       "<FormDefinition>\n  <Styles/>\n</FormDefinition>\n");
    const std::string before = ReadFile(noDialog);
    const std::string broken = CopyHere(FixturePath("PUMP_Broken.xml"));  // a duplicate filtered form
    // One attribute no reader knows, and nothing else amiss.
    std::string text = ReadFile(Sample("PUMP_Main.xml"));
    const size_t field = text.find("<Property ");
    ASSERT_NE(field, std::string::npos);
    text.insert(field + 10, "colour=\"red\" ");
    const std::string unknown = m_dir.Put("PUMP_Unknown.xml", text);
    const std::string fine = CopyHere(Sample("VALVE_Main.xml"));
    const Result result = Run({"fmt", noDialog, broken, unknown, fine});
    EXPECT_EQ(result.code, ToolExit::Problems);
    EXPECT_EQ(result.out, fine + ": written\n");
    EXPECT_NE(result.err.find(noDialog + ": not rewritten: the main \"Dialog\" is missing"), std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find(broken + ": not rewritten"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(unknown + ": not rewritten, it would lose what reading left out:\n" + unknown +
                              ":   Property (line " + LineOf(text, "colour=") +
                              "): the attribute \"colour\" is not read\n"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(ReadFile(noDialog), before);
    EXPECT_EQ(ReadFile(broken), ReadFile(FixturePath("PUMP_Broken.xml")));
    EXPECT_EQ(ReadFile(unknown), text);

    // Named another way, the file is still the input.
    EXPECT_EQ(Run({"fmt", unknown, "-o", m_dir.Path() + "/./PUMP_Unknown.xml"}).code, ToolExit::Problems);
    EXPECT_EQ(ReadFile(unknown), text);
    // Elsewhere, the output is written and what it lacks is named.
    const std::string other = m_dir.Path() + "/PUMP_Other.xml";
    const Result elsewhere = Run({"fmt", unknown, "-o", other});
    EXPECT_EQ(elsewhere.code, ToolExit::Problems);
    EXPECT_EQ(elsewhere.out, other + ": written\n");
    EXPECT_NE(elsewhere.err.find("the attribute \"colour\" is not read"), std::string::npos) << elsewhere.err;
    EXPECT_EQ(ReadFile(other), ReadFile(Sample("PUMP_Main.xml")));
}

TEST_F(FormTool, CheckReportsBytesThatAreNotUtf8)
{
    std::string text = ReadFile(Sample("PUMP_Main.xml"));
    const size_t field = text.find("<Property ");
    ASSERT_NE(field, std::string::npos);
    text.insert(field + 10, "help=\"M\xFCller\" ");
    const std::string latin = m_dir.Put("PUMP_Latin.xml", text);
    const Result result = Run({"check", latin});
    EXPECT_EQ(result.code, ToolExit::Problems);
    EXPECT_NE(result.out.find(latin + ": line " + LineOf(text, "M\xFC") +
                              ": \"help\" of Property holds bytes that are not UTF-8"),
              std::string::npos)
        << result.out;
}

TEST_F(FormTool, FmtRefusesAReadOnlyFile)
{
    const std::string locked = CopyHere(Sample("PUMP_Main.xml"));
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    const Result refused = Run({"fmt", locked});
    EXPECT_EQ(refused.code, ToolExit::Problems);
    EXPECT_EQ(refused.err, locked + ": not written, the file is read-only\n");
    EXPECT_EQ(ReadFile(locked), ReadFile(Sample("PUMP_Main.xml")));
}

// Two runs write different forms into one file at the same moment, over and
// over. Whoever reads it meanwhile finds one whole version, never a mixture
// or nothing, and the run that says "written" is telling the truth.
TEST_F(FormTool, TwoFmtRunsIntoOneFileEachWriteItWhole)
{
    std::string sources[3];
    std::string versions[3];
    const std::string target = m_dir.Path() + "/PUMP_Both.xml";
    for (unsigned i = 0; i < 3; ++i) {
        sources[i] = m_dir.Put("PUMP_" + std::to_string(i) + ".xml", GenerateFormFile(150, i));
        ASSERT_EQ(Run({"fmt", sources[i], "-o", target}).code, ToolExit::Ok);
        versions[i] = ReadFile(target);
    }
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // Both start at once, when the parent closes the pipe they wait on.
        int start[2];
        ASSERT_EQ(::pipe(start), 0);
        pid_t children[2];
        for (int i = 0; i < 2; ++i) {
            children[i] = ::fork();
            ASSERT_GE(children[i], 0);
            if (children[i] == 0) {
                char go;
                ::close(start[1]);
                while (::read(start[0], &go, 1) > 0) {
                }
                ::_exit(Run({"fmt", sources[i], "-o", target}).code);
            }
        }
        ::close(start[0]);
        ::close(start[1]);
        int codes[2] = {-1, -1};
        for (int running = 2; running > 0;) {
            const std::string seen = ReadFile(target);
            ASSERT_TRUE(seen == versions[0] || seen == versions[1] || seen == versions[2])
                << "a reader found " << seen.size() << " bytes of no version";
            for (int i = 0; i < 2; ++i) {
                int status = 0;
                if (codes[i] < 0 && ::waitpid(children[i], &status, WNOHANG) == children[i]) {
                    codes[i] = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
                    --running;
                }
            }
        }
        EXPECT_EQ(codes[0], ToolExit::Ok);
        EXPECT_EQ(codes[1], ToolExit::Ok);
        const std::string last = ReadFile(target);
        EXPECT_TRUE(last == versions[0] || last == versions[1]) << last.size() << " bytes";
        versions[2] = last;
    }
    EXPECT_EQ(m_dir.Names().size(), 4u) << "nothing but the three sources and the target";
}

TEST_F(FormTool, DumpPrintsEachFormAndElementOnALine)
{
    const Result result = Run({"dump", FixturePath("PUMP_Fields.xml")});
    EXPECT_EQ(result.code, ToolExit::Ok) << result.err;
    // File order: a field, then its caption; a field without caption has none; no style shows "-".
    EXPECT_EQ(
        result.out,
        "form: Default form\npaper:500,300;\n"
        "editbox:130.000000,60.000000,230.000000,80.000000,Flow rate (m³/h),FLOW_RATE,0;\ttab=2\tstyle=s4\tlabel=0\n"
        "static:20.000000,60.000000,120.000000,80.000000,Flow rate (m³/h),FLOW_RATE,0;\ttab=-1\tstyle=s4\tlabel=1\n"
        "static:20.000000,10.000000,220.000000,30.000000,Technical data,TXT_TECHNICAL_DATA,0;\ttab=-1\tstyle=s3\t"
        "label=0\n"
        "editbox:130.000000,34.000000,250.000000,54.000000,Article number,ARTNO,0;\ttab=0\tstyle=s3\tlabel=0\n"
        "static:20.000000,34.000000,120.000000,54.000000,Article number,ARTNO,0;\ttab=-1\tstyle=s3\tlabel=1\n"
        "editbox:130.000000,86.000000,330.000000,106.000000,Name,NAME,0;\ttab=1\tstyle=-\tlabel=0\n"
        "editbox:130.000000,112.000000,330.000000,152.000000,Description,DESCRIPTION,0;\ttab=4\tstyle=s4\tlabel=0\n"
        "static:0.000000,0.000000,0.000000,0.000000,Description,DESCRIPTION,0;\ttab=-1\tstyle=s4\tlabel=1\n"
        "static:20.000000,200.000000,140.000000,220.000000,Notes,TXT_NOTES,0;\ttab=-1\tstyle=-\tlabel=0\n"
        "editbox:130.000000,160.000000,330.000000,180.000000,Material,MATERIAL,0;\ttab=-1\tstyle=s4\tlabel=0\n"
        "static:20.000000,160.000000,120.000000,180.000000,Material,MATERIAL,0;\ttab=-1\tstyle=s4\tlabel=1\n");

    const Result filtered = Run({"dump", FixturePath("ARTICLE_Filtered.xml")});
    Lines forms;
    for (const std::string& line : filtered.OutLines())
        if (line.rfind("form: ", 0) == 0)
            forms.push_back(line);
    EXPECT_EQ(forms, (Lines{"form: Default form", "form: CURRENCY:NOTEQUAL:EUR||CURRENCY:EQUAL:&PRICE:GREATER:0",
                            "form: STATUS:=:Released"}));
    const Result one = Run({"dump", FixturePath("ARTICLE_Filtered.xml"), "--form", "STATUS:=:Released"});
    EXPECT_EQ(one.code, ToolExit::Ok) << one.err;
    EXPECT_EQ(one.out,
              "form: STATUS:=:Released\npaper:600,300;\n"
              "editbox:120.000000,10.000000,220.000000,30.000000,Article number,ARTNO,0;\ttab=0\tstyle=s4\tlabel=0\n"
              "static:10.000000,10.000000,110.000000,30.000000,Article number,ARTNO,0;\ttab=-1\tstyle=s4\tlabel=1\n"
              "editbox:120.000000,40.000000,320.000000,60.000000,Name,NAME,0;\ttab=1\tstyle=s4\tlabel=0\n"
              "static:10.000000,40.000000,110.000000,60.000000,Name,NAME,0;\ttab=-1\tstyle=s4\tlabel=1\n");
}

TEST_F(FormTool, LanguageOptionLocalizesTheDump)
{
    const Result german = Run({"--language", "German", "dump", FixturePath("PUMP_Fields.xml")});
    EXPECT_EQ(german.code, ToolExit::Ok) << german.err;
    const Lines lines = german.OutLines();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], "form: Standardformular");
    EXPECT_NE(lines[2].find(",Förderstrom (m³/h),FLOW_RATE,"), std::string::npos) << lines[2];
    EXPECT_NE(lines[4].find(",Technische Daten,TXT_TECHNICAL_DATA,"), std::string::npos) << lines[4];
    // The main form is found by its localized name.
    EXPECT_EQ(Run({"dump", FixturePath("ARTICLE_Filtered.xml"), "--form", "Standardformular"}).code, ToolExit::Ok);
}

// 0 fine; 1 problems found or a file refused; 2 usage or a file that cannot be
// opened or read, for every command alike, each message with its reason.
TEST_F(FormTool, EveryCommandAnswersByOneStatusRule)
{
    const std::string file = FixturePath("MOTOR.xml");
    const std::string missing = m_dir.Path() + "/PUMP_Missing.xml";
    const std::string folder = m_dir.Path() + "/PUMP_Folder.xml";
    std::filesystem::create_directory(folder);
    const std::string torn = m_dir.Put("PUMP_Torn.xml", "<FormDefinition>\n<Dialog>\n");
    const std::string script = m_dir.Put("s.script", "# nothing\n");
    const std::string png = m_dir.Path() + "/out.png";
    const std::string partial = CopyHere(FixturePath("PUMP_Fields.xml"));
    const std::string noSuchFile = ": No such file or directory";
    const struct {
        Lines args;
        int code;
        std::string out;  // what the output starts with
        std::string err;  // a part of the error output
    } cases[] = {
        {{"check", "--help"}, ToolExit::Ok, "usage: formwright-tool", ""},
        {{"-h"}, ToolExit::Ok, "usage: formwright-tool", ""},
        {{"--version"}, ToolExit::Ok, "formwright-tool ", ""},
        {{"check", file}, ToolExit::Ok, file + ": ok", ""},
        {{}, ToolExit::Usage, "", "usage: formwright-tool"},
        {{"frobnicate", file}, ToolExit::Usage, "", "unknown command frobnicate"},
        {{"frobnicate"}, ToolExit::Usage, "", "unknown command frobnicate"},
        {{"check", "--frob", file}, ToolExit::Usage, "", "unknown option --frob"},
        {{"check"}, ToolExit::Usage, "", "check needs a file"},
        {{"dump", file, "--form"}, ToolExit::Usage, "", "--form needs a value"},
        {{"--language", "Klingon", "dump", file}, ToolExit::Usage, "", "no language \"Klingon\""},
        {{"--model"}, ToolExit::Usage, "", "--model needs a value"},
        {{"dump", file, "--form", "STATUS:=:Draft"}, ToolExit::Usage, "", "no form \"STATUS:=:Draft\""},
        {{"dump", file, file}, ToolExit::Usage, "", "dump takes one file"},
        {{"fmt", file, file, "-o", missing}, ToolExit::Usage, "", "-o takes exactly one input file"},
        {{"fmt", file, "-o", m_dir.Path() + "/no-folder/out.xml"}, ToolExit::Usage, "", "cannot"},
        // A file that cannot be opened.
        {{"check", missing, file}, ToolExit::Usage, file + ": ok", "cannot open " + missing + noSuchFile},
        {{"fmt", missing}, ToolExit::Usage, "", "cannot open " + missing + noSuchFile},
        {{"dump", missing}, ToolExit::Usage, "", "cannot open " + missing + noSuchFile},
        {{"render", missing, "-o", png}, ToolExit::Usage, "", "cannot open " + missing + noSuchFile},
        {{"script", missing, script}, ToolExit::Usage, "", "cannot open " + missing + noSuchFile},
        {{"script", file, missing}, ToolExit::Usage, "", "cannot open " + missing + noSuchFile},
        // A file refused, or no form file.
        {{"check", folder}, ToolExit::Problems, folder + ": not a regular file (a folder)", ""},
        {{"fmt", folder}, ToolExit::Problems, "", folder + ": not rewritten: not a regular file (a folder)"},
        {{"dump", folder}, ToolExit::Problems, "", folder + ": not a regular file (a folder)"},
        {{"check", torn}, ToolExit::Problems, torn + ": ", ""},
        {{"dump", torn}, ToolExit::Problems, "", torn + ": "},
        {{"render", torn, "-o", png}, ToolExit::Problems, "", "(line 2, column 9)"},
        {{"script", torn, script}, ToolExit::Problems, "", "(line 2, column 9)"},
        {{"script", partial, script, "-o", partial}, ToolExit::Problems, "", partial + ": not rewritten"},
    };
    for (const auto& c : cases) {
        const Result result = Run(c.args);
        const std::string what = ::testing::PrintToString(c.args);
        EXPECT_EQ(result.code, c.code) << what << "\n" << result.err;
        EXPECT_EQ(result.out.substr(0, c.out.size()), c.out) << what << "\n" << result.out;
        EXPECT_EQ(c.out.empty(), result.out.empty()) << what << "\n" << result.out;
        EXPECT_NE(result.err.find(c.err), std::string::npos) << what << "\n" << result.err;
    }
    EXPECT_NE(Run({"--help"}).out.find("dump FILE [--form NAME]"), std::string::npos);
    EXPECT_TRUE(std::regex_match(Run({"--version"}).out, std::regex("formwright-tool [0-9.]+\n")));
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_FALSE(std::filesystem::exists(png));
    EXPECT_EQ(ReadFile(partial), ReadFile(FixturePath("PUMP_Fields.xml")));
}

// Runs the tool in a child process that must end within `seconds`, so that a
// read that blocks or never ends fails the test instead of hanging it.
Result RunWithin(const Lines& args, int seconds)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
#if !defined(__SANITIZE_ADDRESS__)
        // Reading without end must fail here, not exhaust the machine.
        const rlimit memory{std::size_t(1) << 30, std::size_t(1) << 30};
        ::setrlimit(RLIMIT_AS, &memory);
#endif
        std::ostringstream out, err;
        const int code = RunFormTool(args, out, err);
        const std::string text = out.str() + err.str();
        (void)!::write(pipeFds[1], text.data(), std::min<size_t>(text.size(), 4096));
        ::_exit(code);
    }
    ::close(pipeFds[1]);
    Result result;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            result.err = "still running after the time allowed";
            ::close(pipeFds[0]);
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    char buffer[4096];
    const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
    ::close(pipeFds[0]);
    result.out.assign(buffer, n > 0 ? static_cast<size_t>(n) : 0);
    result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

TEST_F(FormTool, AFifoAndADeviceAreRefusedAtOnce)
{
    const std::string fifo = m_dir.Path() + "/PUMP_Fifo.xml";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        Lines args;
        std::string says;
    } cases[] = {
        {{"check", fifo}, fifo + ": not a regular file (a FIFO)"},
        {{"dump", "/dev/zero"}, "/dev/zero: not a regular file (a character device)"},
    };
    for (const auto& c : cases) {
        const Result result = RunWithin(c.args, 10);
        EXPECT_EQ(result.code, ToolExit::Problems) << c.says << "\n" << result.err;
        EXPECT_NE(result.out.find(c.says), std::string::npos) << result.out;
    }
}

}  // namespace
