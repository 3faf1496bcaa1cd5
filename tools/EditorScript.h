#pragma once
// Scripts of editor events, one event a line, run against a form view on a
// headless window. The command-line tool drives the real editor with them,
// and so do the tests.

#include "editor/FormView.h"
#include "editor/HeadlessHost.h"
#include "panes/PropertiesPaneModel.h"

#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace fw {

class FormDefinitionDocument;

// A document's current form in a form view on a headless window, set up as
// the application sets up a view when it is first shown.
class HeadlessFormView {
public:
    explicit HeadlessFormView(FormDefinitionDocument& document, IntSize client = {1000, 800});
    HeadlessFormView(const HeadlessFormView&) = delete;
    HeadlessFormView& operator=(const HeadlessFormView&) = delete;

    FormView& View() { return m_view; }
    HeadlessHost& Host() { return m_host; }
    CDEditor& Editor() { return m_view.GetEditor(); }
    PropertiesPaneModel& Pane() { return m_pane; }

private:
    // The host and the pane outlive the view, whose editor holds on to both.
    HeadlessHost m_host;
    PropertiesPaneModel m_pane;
    FormView m_view;
};

// What a script line acts on.
struct ScriptTarget {
    FormView& view;
    HeadlessHost& host;
    std::ostream& err;        // for notes that do not stop the script
    const std::string& name;  // the script's name in messages
};

// One script line without its comment.
struct ScriptLine {
    int number = 0;
    std::string verb;
    std::vector<std::string> args;
    std::string rest;  // everything after the verb, trimmed, for verbs that take free text
};

// A checked line's effect; false with a message stops the script.
using ScriptAction = std::function<bool(ScriptTarget& target, std::string& error)>;

struct ScriptVerb {
    const char* name;
    const char* synopsis;  // the arguments, as the help shows them
    const char* summary;
    // Checks the arguments and builds the action; false with a message when
    // the line is malformed.
    bool (*parse)(const ScriptLine& line, ScriptAction& action, std::string& error);
};

// Every verb, in the order the help lists them.
const std::vector<ScriptVerb>& GetScriptVerbs();
// The language for help texts: one indented line per verb.
std::string DescribeScriptVerbs(const std::string& indent);

struct ScriptResult {
    bool ok = true;
    int failedLine = 0;  // the line that stopped the script; 0 when it ran through
    int events = 0;      // lines that ran
};

// Checks the whole script first, so a malformed line runs nothing, then runs
// it line by line. Problems go to `err` as "NAME:LINE: message".
ScriptResult RunEditorScript(FormView& view, HeadlessHost& host, std::istream& script, std::ostream& err,
                             const std::string& name = "script");

}  // namespace fw
