#pragma once
// Hears what reading a form file leaves out. The document keeps every report
// (anything reported makes the file "read in part"); the command-line check
// listens too and prints each one.

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
    // Any other part of the file that reading leaves out: an attribute or
    // element no reader knows, a style, a reference to a style that is not
    // there, text that is not UTF-8, a comment. `subject` names what holds it
    // ("Text", "Style \"s9\""; empty for the file itself), `line` counts from 1.
    virtual void PartDropped(const std::string& subject, int line, const std::string& what)
    {
        (void)subject;
        (void)line;
        (void)what;
    }
};

}  // namespace fw
