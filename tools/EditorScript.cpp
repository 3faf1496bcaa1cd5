#include "tools/EditorScript.h"

#include "model/FormDefinitionDocument.h"
#include "services/LanguageTable.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <utility>
#include <variant>

namespace fw {

HeadlessFormView::HeadlessFormView(FormDefinitionDocument& document, IntSize client) : m_host(client), m_view(document)
{
    m_host.Attach(&m_view.GetEditor());
    m_view.OnInitialUpdate(&m_host, &m_pane);
}

namespace {

// Wide enough for any window, small enough that zoomed arithmetic stays in range.
constexpr int CoordinateLimit = 32767;
constexpr int ClientLimit = 16384;
constexpr int TickLimit = 100000;
constexpr int WaitLimit = 3600 * 1000;
constexpr int WheelLimit = 1 << 20;

const ScriptVerb* FindVerb(const std::string& name)
{
    for (const ScriptVerb& verb : GetScriptVerbs())
        if (name == verb.name)
            return &verb;
    return nullptr;
}

// Walks a line's arguments; every failure leaves a message naming the verb.
class ArgReader {
public:
    ArgReader(const ScriptLine& line, std::string& error) : m_line(line), m_error(error) {}

    bool Int(const char* what, int min, int max, int& value)
    {
        if (m_next >= m_line.args.size())
            return Malformed();
        const std::string& text = m_line.args[m_next++];
        size_t digits = (text[0] == '-' || text[0] == '+') ? 1 : 0;
        bool numeric =
            digits < text.size() && std::all_of(text.begin() + static_cast<long>(digits), text.end(),
                                                [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
        if (!numeric)
            return Fail(std::string(m_line.verb) + ": " + what + " \"" + text + "\" is not a whole number");
        errno = 0;
        long parsed = std::strtol(text.c_str(), nullptr, 10);
        if (errno == ERANGE || parsed < min || parsed > max)
            return Fail(m_line.verb + ": " + what + " " + text + " is not between " + std::to_string(min) + " and " +
                        std::to_string(max));
        value = static_cast<int>(parsed);
        return true;
    }

    bool Point(IntPoint& point)
    {
        return Int("X", -CoordinateLimit, CoordinateLimit, point.x) &&
               Int("Y", -CoordinateLimit, CoordinateLimit, point.y);
    }

    bool Number(const char* what, double& value)
    {
        if (m_next >= m_line.args.size())
            return Malformed();
        const std::string& text = m_line.args[m_next++];
        char* end = nullptr;
        value = std::strtod(text.c_str(), &end);
        if (end != text.c_str() + text.size() || !std::isfinite(value))
            return Fail(m_line.verb + ": " + what + " \"" + text + "\" is not a number");
        return true;
    }

    // A word out of a fixed list.
    bool Word(const std::string*& word)
    {
        if (m_next >= m_line.args.size())
            return Malformed();
        word = &m_line.args[m_next++];
        return true;
    }

    bool HasMore() const { return m_next < m_line.args.size(); }

    // What is left may only be "ctrl", "shift" and "alt", each once.
    bool Modifiers(unsigned& modifiers)
    {
        modifiers = Modifier::None;
        for (; m_next < m_line.args.size(); ++m_next) {
            const std::string& word = m_line.args[m_next];
            const unsigned bit = word == "ctrl"    ? Modifier::Ctrl
                                 : word == "shift" ? Modifier::Shift
                                 : word == "alt"   ? Modifier::Alt
                                                   : 0;
            if (bit == 0)
                return Fail(m_line.verb + ": \"" + word + "\" is not ctrl, shift or alt");
            if (modifiers & bit)
                return Fail(m_line.verb + ": " + word + " is given twice");
            modifiers |= bit;
        }
        return true;
    }

    bool End() { return m_next == m_line.args.size() || Malformed(); }

    bool Fail(const std::string& message)
    {
        m_error = message;
        return false;
    }

    bool Malformed()
    {
        const ScriptVerb* verb = FindVerb(m_line.verb);
        std::string synopsis = verb ? verb->synopsis : "";
        return Fail(m_line.verb + " takes " + (synopsis.empty() ? std::string("no arguments") : synopsis));
    }

private:
    const ScriptLine& m_line;
    std::string& m_error;
    size_t m_next = 0;
};

using MouseEvent = void (CDiagramEditor::*)(IntPoint, unsigned);

// Left-button events and moves, which take modifier keys.
template <MouseEvent Event> bool ParseMouse(const ScriptLine& line, ScriptAction& action, std::string& error)
{
    ArgReader args(line, error);
    IntPoint point;
    unsigned modifiers = 0;
    if (!args.Point(point) || !args.Modifiers(modifiers))
        return false;
    action = [point, modifiers](ScriptTarget& target, std::string&) {
        target.host.SetMousePosition(point);
        (target.view.GetEditor().*Event)(point, modifiers);
        return true;
    };
    return true;
}

// Right button and double click: a point only.
template <MouseEvent Event> bool ParseClick(const ScriptLine& line, ScriptAction& action, std::string& error)
{
    ArgReader args(line, error);
    IntPoint point;
    if (!args.Point(point) || !args.End())
        return false;
    action = [point](ScriptTarget& target, std::string&) {
        target.host.SetMousePosition(point);
        (target.view.GetEditor().*Event)(point, Modifier::None);
        return true;
    };
    return true;
}

bool ParseMiddlePress(const ScriptLine& line, ScriptAction& action, std::string& error)
{
    ArgReader args(line, error);
    IntPoint point;
    if (!args.Point(point) || !args.End())
        return false;
    action = [point](ScriptTarget& target, std::string&) {
        target.host.SetMousePosition(point);
        target.view.GetEditor().OnMButtonDown(point);
        return true;
    };
    return true;
}

bool ParseSize(const ScriptLine& line, ScriptAction& action, std::string& error)
{
    ArgReader args(line, error);
    IntSize size;
    if (!args.Int("W", 1, ClientLimit, size.cx) || !args.Int("H", 1, ClientLimit, size.cy) || !args.End())
        return false;
    action = [size](ScriptTarget& target, std::string&) {
        target.host.SetClientSize(size);
        return true;
    };
    return true;
}

bool ParseMenu(const ScriptLine& line, ScriptAction& action, std::string& error)
{
    ArgReader args(line, error);
    int command = 0;
    if (!args.Int("ID", 0, 65535, command) || !args.End())
        return false;
    action = [command](ScriptTarget& target, std::string&) {
        target.host.QueueMenuAnswer(command);
        return true;
    };
    return true;
}

bool ParseAnswer(const ScriptLine& line, ScriptAction& action, std::string& error)
{
    ArgReader args(line, error);
    const std::string* word = nullptr;
    if (!args.Word(word) || !args.End())
        return false;
    if (*word != "yes" && *word != "no")
        return args.Fail("answer: \"" + *word + "\" is neither yes nor no");
    const bool yes = *word == "yes";
    action = [yes](ScriptTarget& target, std::string&) {
        target.host.QueueQuestionAnswer(yes);
        return true;
    };
    return true;
}

const std::vector<std::pair<const char*, EditorKey>>& KeyNames()
{
    static const std::vector<std::pair<const char*, EditorKey>> names = {
        {"Left", EditorKey::Left},
        {"Right", EditorKey::Right},
        {"Up", EditorKey::Up},
        {"Down", EditorKey::Down},
        {"Delete", EditorKey::Delete},
        {"Insert", EditorKey::Insert},
        {"Escape", EditorKey::Escape},
        {"PageUp", EditorKey::PageUp},
        {"PageDown", EditorKey::PageDown},
        {"Enter", EditorKey::Enter},
        {"A", EditorKey::A},
        {"X", EditorKey::X},
        {"V", EditorKey::V},
        {"C", EditorKey::C},
        {"Z", EditorKey::Z},
        {"Y", EditorKey::Y},
        {"Add", EditorKey::Add},
        {"Subtract", EditorKey::Subtract},
    };
    return names;
}

bool ParseKey(const ScriptLine& line, ScriptAction& action, std::string& error)
{
    ArgReader args(line, error);
    const std::string* name = nullptr;
    unsigned modifiers = 0;
    if (!args.Word(name))
        return false;
    const auto& names = KeyNames();
    auto it = std::find_if(names.begin(), names.end(), [&](const auto& entry) { return *name == entry.first; });
    if (it == names.end()) {
        std::string known;
        for (const auto& entry : names)
            known += std::string(known.empty() ? "" : " ") + entry.first;
        return args.Fail("key: no key \"" + *name + "\" (known: " + known + ")");
    }
    if (!args.Modifiers(modifiers))
        return false;
    const EditorKey key = it->second;
    action = [key, modifiers](ScriptTarget& target, std::string&) {
        target.view.GetEditor().OnKeyDown(key, modifiers);
        return true;
    };
    return true;
}

bool ParseWheel(const ScriptLine& line, ScriptAction& action, std::string& error)
{
    ArgReader args(line, error);
    WheelTurn turn;
    unsigned modifiers = 0;
    if (!args.Int("DELTA", -WheelLimit, WheelLimit, turn.rotation))
        return false;
    const bool pointed = args.HasMore();
    if (pointed && (!args.Point(turn.at) || !args.Modifiers(modifiers)))
        return false;
    turn.zoom = (modifiers & Modifier::Ctrl) != 0;
    turn.sideways = (modifiers & Modifier::Shift) != 0;
    action = [turn, pointed](ScriptTarget& target, std::string&) {
        if (pointed)
            target.host.SetMousePosition(turn.at);
        target.view.GetEditor().OnMouseWheel(turn);
        return true;
    };
    return true;
}

bool ParseTick(const ScriptLine& line, ScriptAction& action, std::string& error)
{
    ArgReader args(line, error);
    int count = 1;
    if ((args.HasMore() && !args.Int("N", 1, TickLimit, count)) || !args.End())
        return false;
    action = [count](ScriptTarget& target, std::string&) {
        target.host.Tick(count);
        return true;
    };
    return true;
}

bool ParseWait(const ScriptLine& line, ScriptAction& action, std::string& error)
{
    ArgReader args(line, error);
    int milliseconds = 0;
    if (!args.Int("MS", 0, WaitLimit, milliseconds) || !args.End())
        return false;
    action = [milliseconds](ScriptTarget& target, std::string&) {
        target.host.AdvanceClock(milliseconds);
        return true;
    };
    return true;
}

bool ParseCommand(const ScriptLine& line, ScriptAction& action, std::string& error)
{
    ArgReader args(line, error);
    int id = 0;
    if (!args.Int("ID", 0, 65535, id) || !args.End())
        return false;
    const std::vector<int>& commands = FormView::GetCommands();
    if (std::find(commands.begin(), commands.end(), id) == commands.end())
        return args.Fail("command: the form view has no command " + std::to_string(id));
    const int number = line.number;
    action = [id, number](ScriptTarget& target, std::string& failure) {
        // The ribbon greys out what the view disables; such a click goes nowhere.
        if (!target.view.GetCommandState(id).enabled) {
            target.err << target.name << ":" << number << ": note: command " << id
                       << " is disabled here and does nothing\n";
            return true;
        }
        if (!target.view.OnCommand(id)) {
            failure = "command: the form view did not run command " + std::to_string(id);
            return false;
        }
        return true;
    };
    return true;
}

bool ParseZoom(const ScriptLine& line, ScriptAction& action, std::string& error)
{
    ArgReader args(line, error);
    double zoom = 0;
    if (!args.Number("Z", zoom) || !args.End())
        return false;
    // A zoom of zero or less would divide by zero on the way back to form units.
    if (zoom <= 0)
        return args.Fail("zoom: Z must be above 0");
    action = [zoom](ScriptTarget& target, std::string&) {
        target.view.GetEditor().SetZoom(zoom);
        return true;
    };
    return true;
}

// The text after the first `skip` words of a line, trimmed.
std::string RestAfterWords(const ScriptLine& line, size_t skip)
{
    std::string rest = line.rest;
    for (size_t i = 0; i < skip && i < line.args.size(); ++i) {
        rest.erase(0, rest.find(line.args[i]) + line.args[i].size());
        const size_t first = rest.find_first_not_of(" \t\r\f\v");
        rest.erase(0, first == std::string::npos ? rest.size() : first);
    }
    return rest;
}

// A row's value typed as text, read as the kind the row holds.
bool ParseRowValue(const std::string& text, const PropertyValue& kind, PropertyValue& value)
{
    if (std::holds_alternative<std::string>(kind)) {
        value = text;
        return true;
    }
    if (std::holds_alternative<bool>(kind)) {
        if (text != "true" && text != "false")
            return false;
        value = text == "true";
        return true;
    }
    if (std::holds_alternative<double>(kind)) {
        char* end = nullptr;
        const double number = std::strtod(text.c_str(), &end);
        if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(number))
            return false;
        value = number;
        return true;
    }
    const size_t sign = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (sign == text.size() || !std::all_of(text.begin() + static_cast<long>(sign), text.end(),
                                            [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return false;
    errno = 0;
    const long long number = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE)
        return false;
    if (std::holds_alternative<std::int64_t>(kind)) {
        value = static_cast<std::int64_t>(number);
        return true;
    }
    if (number < std::numeric_limits<std::int32_t>::min() || number > std::numeric_limits<std::int32_t>::max())
        return false;
    value = static_cast<std::int32_t>(number);
    return true;
}

const char* KindName(const PropertyValue& kind)
{
    if (std::holds_alternative<std::string>(kind))
        return "text";
    if (std::holds_alternative<bool>(kind))
        return "true or false";
    if (std::holds_alternative<double>(kind))
        return "a number";
    return "a whole number";
}

bool ParseProp(const ScriptLine& line, ScriptAction& action, std::string& error)
{
    ArgReader args(line, error);
    int id = 0;
    if (!args.Int("ID", 0, 65535, id))
        return false;
    const std::string text = RestAfterWords(line, 1);
    const int number = line.number;
    action = [id, text, number](ScriptTarget& target, std::string& failure) {
        auto* pane = dynamic_cast<PropertiesPaneModel*>(target.view.GetEditor().GetPropertiesPane());
        if (!pane) {
            failure = "prop: the view has no properties pane";
            return false;
        }
        const char* rows = pane->GetMode() == PropertiesPaneModel::FormMode ? "the form" : "the selection";
        PropertyItem* item = pane->GetGrid().FindItem(id);
        if (!item || item->IsGroup()) {
            failure = "prop: " + std::string(rows) + " has no row " + std::to_string(id);
            return false;
        }
        if (item->IsReadOnly()) {
            failure = "prop: row " + std::to_string(id) + " of " + rows + " is read-only";
            return false;
        }
        PropertyValue value;
        if (!ParseRowValue(text, item->GetValue(), value)) {
            failure =
                "prop: row " + std::to_string(id) + " takes " + KindName(item->GetValue()) + ", not \"" + text + "\"";
            return false;
        }
        // A value the pane turns down is the designer's mistake, not the
        // script's: the row keeps its value and the script goes on.
        if (!pane->OnPropertyChanged(id, value))
            target.err << target.name << ":" << number << ": note: the pane turned down \"" << text << "\" for row "
                       << id << "\n";
        return true;
    };
    return true;
}

bool ParseForm(const ScriptLine& line, ScriptAction& action, std::string&)
{
    const std::string name = line.rest;
    action = [name](ScriptTarget& target, std::string& failure) {
        FormDefinitionDocument& document = target.view.GetDocument();
        const std::string shown = name.empty() ? langStr("FD_DEFAULT") : name;
        if (!document.GetForm(shown)) {
            failure = "form: the file has no form \"" + shown + "\"";
            return false;
        }
        // As the main frame shows another form: the view takes it, then the
        // pane hears what is selected there.
        if (document.SelectFormByName(shown)) {
            target.view.OnCurrentFormChanged();
            target.view.GetEditor().NotifySelection();
        }
        return true;
    };
    return true;
}

bool ParseDrop(const ScriptLine& line, ScriptAction& action, std::string& error)
{
    ArgReader args(line, error);
    IntPoint point;
    if (!args.Point(point))
        return false;
    const std::string text = RestAfterWords(line, 2);
    if (text.empty())
        return args.Malformed();
    const int number = line.number;
    action = [point, text, number](ScriptTarget& target, std::string&) {
        target.host.SetMousePosition(point);
        // A drop the editor turns down (a property already on the form) is
        // a note with what the designer would read; the script goes on.
        const size_t shown = target.host.GetMessages().size();
        if (!target.view.OnDropProperty(point, text)) {
            target.err << target.name << ":" << number << ": note: the drop of \"" << text << "\" placed no field";
            const auto& messages = target.host.GetMessages();
            for (size_t i = shown; i < messages.size(); ++i)
                target.err << " (" << messages[i].second << ": " << messages[i].first << ")";
            target.err << "\n";
        }
        return true;
    };
    return true;
}

// Splits off the comment and the words; false for a line with nothing to run.
bool SplitLine(const std::string& text, int number, ScriptLine& line)
{
    std::string code = text.substr(0, text.find('#'));
    std::istringstream words(code);
    line = ScriptLine{};
    line.number = number;
    if (!(words >> line.verb))
        return false;
    for (std::string word; words >> word;)
        line.args.push_back(word);
    const size_t after = code.find(line.verb) + line.verb.size();
    const size_t first = code.find_first_not_of(" \t\r\f\v", after);
    const size_t last = code.find_last_not_of(" \t\r\f\v");
    if (first != std::string::npos)
        line.rest = code.substr(first, last - first + 1);
    return true;
}

}  // namespace

const std::vector<ScriptVerb>& GetScriptVerbs()
{
    static const std::vector<ScriptVerb> verbs = {
        {"size", "W H", "client area in pixels", ParseSize},
        {"press", "X Y [ctrl] [shift]", "left button down at a client point",
         ParseMouse<&CDiagramEditor::OnLButtonDown>},
        {"move", "X Y [ctrl] [shift] [alt]", "mouse move (dragging while the left button is down)",
         ParseMouse<&CDiagramEditor::OnMouseMove>},
        {"release", "X Y [ctrl] [shift]", "left button up", ParseMouse<&CDiagramEditor::OnLButtonUp>},
        {"rpress", "X Y", "right button down", ParseClick<&CDiagramEditor::OnRButtonDown>},
        {"rrelease", "X Y", "right button up (a popup answers with the command set by menu)",
         ParseClick<&CDiagramEditor::OnRButtonUp>},
        {"dblclick", "X Y", "left double click", ParseClick<&CDiagramEditor::OnLButtonDblClk>},
        {"menu", "ID", "the command the next popup menu answers (0: dismissed)", ParseMenu},
        {"answer", "yes|no", "the answer to the next question box", ParseAnswer},
        {"key", "NAME [ctrl] [shift]", "key down (names below)", ParseKey},
        {"wheel", "DELTA [X Y [ctrl] [shift]]", "mouse wheel at a client point (120 a notch; ctrl zooms)", ParseWheel},
        {"mpress", "X Y", "middle button down (starts or stops panning)", ParseMiddlePress},
        {"tick", "[N]", "N timer ticks (default 1)", ParseTick},
        {"wait", "MS", "let MS milliseconds pass (arrow keys a second apart are separate steps)", ParseWait},
        {"command", "ID", "a form-view command, as the ribbon sends it (32858, 32808, 32881, ...)", ParseCommand},
        {"zoom", "Z", "set the zoom, above 0 (the editor keeps it within its limits)", ParseZoom},
        {"prop", "ID VALUE", "commit VALUE (rest of the line) to the properties pane's row ID", ParseProp},
        {"drop", "X Y TEXT", "drop a property entry (\"Name;NAME\", rest of the line) at a client point", ParseDrop},
        {"form", "[NAME]", "show the file's form filtered by NAME (rest of the line; none: the main form)", ParseForm},
    };
    return verbs;
}

std::string DescribeScriptVerbs(const std::string& indent)
{
    size_t width = 0;
    for (const ScriptVerb& verb : GetScriptVerbs())
        width = std::max(width, std::string(verb.name).size() + 1 + std::string(verb.synopsis).size());
    std::string text;
    for (const ScriptVerb& verb : GetScriptVerbs()) {
        std::string head = std::string(verb.name) + " " + verb.synopsis;
        text += indent + head + std::string(width + 2 - head.size(), ' ') + verb.summary + "\n";
    }
    std::string keys;
    for (const auto& entry : KeyNames())
        keys += std::string(" ") + entry.first;
    // Add and Subtract are the keypad's plus and minus.
    return text + indent + "key names:" + keys + "\n";
}

ScriptResult RunEditorScript(FormView& view, HeadlessHost& host, std::istream& script, std::ostream& err,
                             const std::string& name)
{
    struct Step {
        int number;
        ScriptAction action;
    };
    std::vector<Step> steps;
    ScriptResult result;
    auto stop = [&](int number, const std::string& message) {
        err << name << ":" << number << ": " << message << "\n";
        result.ok = false;
        result.failedLine = number;
        return result;
    };

    int number = 0;
    for (std::string text; std::getline(script, text);) {
        ++number;
        ScriptLine line;
        if (!SplitLine(text, number, line))
            continue;
        const ScriptVerb* verb = FindVerb(line.verb);
        if (!verb)
            return stop(number, "unknown verb \"" + line.verb + "\"");
        Step step{number, {}};
        std::string error;
        if (!verb->parse(line, step.action, error))
            return stop(number, error);
        steps.push_back(std::move(step));
    }
    if (script.bad())
        return stop(number, "the script cannot be read");

    ScriptTarget target{view, host, err, name};
    for (Step& step : steps) {
        std::string error;
        if (!step.action(target, error))
            return stop(step.number, error);
        ++result.events;
    }
    return result;
}

}  // namespace fw
