#include "model/LoadProblems.h"

#include "services/LanguageTable.h"
#include "services/Strings.h"
#include "services/Xml.h"

namespace fw {

void LoadProblemList::FileProblem(const std::string& problem)
{
    unusable = true;
    const std::string prefix = m_path + ": ";
    lines.push_back(!m_path.empty() && startsWith(problem, prefix) ? problem.substr(prefix.size()) : problem);
}

void LoadProblemList::FormProblem(const std::string& formName, const std::string& problem)
{
    lines.push_back(format("form \"%s\": %s", formName.c_str(), problem.c_str()));
}

void LoadProblemList::ElementDropped(const std::string& formName, const XmlElement& element, int ordinal,
                                     const std::string& reason)
{
    lines.push_back(format("%s%s #%d (line %d): %s", FormPrefix(formName).c_str(),
                           std::string(element.getElementName()).c_str(), ordinal, element.getLine(), reason.c_str()));
}

void LoadProblemList::PartDropped(const std::string& subject, int line, const std::string& what)
{
    if (subject.empty())
        lines.push_back(format("line %d: %s", line, what.c_str()));
    else
        lines.push_back(format("%s (line %d): %s", subject.c_str(), line, what.c_str()));
}

std::string LoadProblemList::FormPrefix(const std::string& formName)
{
    return formName == langStr("FD_DEFAULT") ? std::string() : format("form \"%s\": ", formName.c_str());
}

std::string DescribeLeftOut(const std::vector<std::string>& problems, std::size_t shown)
{
    std::string text = langStr("INFO_READ_IN_PART");
    for (std::size_t i = 0; i < problems.size() && i < shown; ++i)
        text += "\n" + problems[i];
    if (problems.size() > shown)
        text += "\n" + replaceAll(langStr("INFO_READ_IN_PART_MORE"), "%s", std::to_string(problems.size() - shown));
    return text;
}

void LoadObserverPair::FileProblem(const std::string& problem)
{
    m_first.FileProblem(problem);
    if (m_second)
        m_second->FileProblem(problem);
}

void LoadObserverPair::FormProblem(const std::string& formName, const std::string& problem)
{
    m_first.FormProblem(formName, problem);
    if (m_second)
        m_second->FormProblem(formName, problem);
}

void LoadObserverPair::ElementDropped(const std::string& formName, const XmlElement& element, int ordinal,
                                      const std::string& reason)
{
    m_first.ElementDropped(formName, element, ordinal, reason);
    if (m_second)
        m_second->ElementDropped(formName, element, ordinal, reason);
}

void LoadObserverPair::PartDropped(const std::string& subject, int line, const std::string& what)
{
    m_first.PartDropped(subject, line, what);
    if (m_second)
        m_second->PartDropped(subject, line, what);
}

}  // namespace fw
