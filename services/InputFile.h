#pragma once
// Reads a whole input file into memory, refusing at once what is not a
// regular file (a FIFO would block, a device never ends) and what is larger
// than the caller's limit.

#include <cstddef>
#include <string>

namespace fw {

enum class InputFileStatus {
    Ok,
    Unreadable,  // cannot be opened or read; the message carries the system's reason
    Refused,     // not a regular file, or larger than the limit
};

// Limits by kind of file, large enough for any real one.
constexpr std::size_t FormFileLimit = std::size_t(256) << 20;
constexpr std::size_t ModelFileLimit = std::size_t(64) << 20;
constexpr std::size_t TextFileLimit = std::size_t(16) << 20;

// `error` names the path: "cannot open X: Permission denied", "X: not a
// regular file (a FIFO)", "X: larger than the limit of 16 MB".
InputFileStatus readInputFile(const std::string& path, std::size_t limit, std::string& contents, std::string& error);

}  // namespace fw
