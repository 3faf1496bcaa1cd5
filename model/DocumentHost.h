#pragma once
// What a form definition document asks of the application around it. The
// desktop frame implements it; the command-line tool and the tests use none.

#include <string>
#include <vector>

namespace fw {

class DocumentHost {
public:
    virtual ~DocumentHost() = default;

    virtual void ShowPanes(bool show) = 0;
    // Empties the object inspector and the properties pane.
    virtual void ClearPanes() = 0;
    // Marks the document as being read, so panes do not react half-way.
    virtual void SetLoading(bool loading) = 0;
    // Hands the object inspector its caption and "localized;internal" entries.
    virtual void SetInspectorEntries(const std::string& className, const std::vector<std::string>& entries) = 0;
    // Shows the object-class chooser with "localized;internal" entries. Answers
    // false when cancelled; otherwise `chosen` is the internal class name, or
    // empty when nothing was selected.
    virtual bool ChooseObjectClass(const std::vector<std::string>& classes, std::string& chosen) = 0;
    virtual void BeginWait() {}
    virtual void EndWait() {}
};

}  // namespace fw
