#pragma once
// The problems reading a file reports, as lines a designer can act on.

#include "model/LoadObserver.h"

#include <cstddef>
#include <string>
#include <vector>

namespace fw {

// Every report as the line `formwright-tool check` prints after the file's
// name, in the order found: "Text #2 (line 14): ...", "form \"A:=:1\": ...".
class LoadProblemList : public LoadObserver {
public:
    // `path`: parse errors that start with it are kept without it.
    explicit LoadProblemList(std::string path = {}) : m_path(std::move(path)) {}

    void FileProblem(const std::string& problem) override;
    void FormProblem(const std::string& formName, const std::string& problem) override;
    void ElementDropped(const std::string& formName, const XmlElement& element, int ordinal,
                        const std::string& reason) override;
    void PartDropped(const std::string& subject, int line, const std::string& what) override;

    // "form \"NAME\": ", or nothing for the main form.
    static std::string FormPrefix(const std::string& formName);

    std::vector<std::string> lines;
    // The file as a whole could not be used.
    bool unusable = false;

private:
    std::string m_path;
};

// What the editor tells the designer about a file read in part: what that
// means, then the first `shown` problems, one a line, and how many more.
std::string DescribeLeftOut(const std::vector<std::string>& problems, std::size_t shown);

// Passes every report on to both observers (the second may be none).
class LoadObserverPair : public LoadObserver {
public:
    LoadObserverPair(LoadObserver& first, LoadObserver* second) : m_first(first), m_second(second) {}

    void FileProblem(const std::string& problem) override;
    void FormProblem(const std::string& formName, const std::string& problem) override;
    void ElementDropped(const std::string& formName, const XmlElement& element, int ordinal,
                        const std::string& reason) override;
    void PartDropped(const std::string& subject, int line, const std::string& what) override;

private:
    LoadObserver& m_first;
    LoadObserver* m_second;
};

}  // namespace fw
