#pragma once
// Hears what reading a form file leaves out. The editor reads silently; the
// command-line check listens and reports every problem.

#include <string>

namespace fw {

class XmlElement;

class LoadObserver {
public:
    virtual ~LoadObserver() = default;
    // The file as a whole cannot be used (unparsable, or a required part missing).
    virtual void FileProblem(const std::string& problem) = 0;
    // A form lacks a required part (what was read before it stays), or a
    // value of it was unusable and replaced.
    virtual void FormProblem(const std::string& formName, const std::string& problem) = 0;
    // An element under "Controls" was left out; `ordinal` counts the elements
    // of that name in the form, from 1.
    virtual void ElementDropped(const std::string& formName, const XmlElement& element, int ordinal,
                                const std::string& reason) = 0;
};

}  // namespace fw
