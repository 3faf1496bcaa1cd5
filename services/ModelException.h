#pragma once

#include <stdexcept>
#include <string>

namespace fw {

// Thrown only by the collections, when they cannot grow.
class ModelException : public std::runtime_error {
public:
    static constexpr int OutOfMemory = 1000;

    ModelException(int code, const char* sourceFile, int line);

    int code() const { return m_code; }
    const std::string& sourceFile() const { return m_sourceFile; }
    int line() const { return m_line; }

private:
    int m_code;
    std::string m_sourceFile;
    int m_line;
};

}  // namespace fw
