#pragma once
// What the fuzz targets share: the process set-up a form file needs, a
// private scratch folder, and a way to stop with a reason.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fw::fuzz {

// Registers the standard controls and points the object model at the demo
// model (FORMWRIGHT_DATA_DIR, else the source tree's data folder). Once.
void PrepareOnce();

// A path in this process's own scratch folder (made on first use, removed at
// exit), so parallel fuzzing processes never share files.
std::string ScratchFile(const std::string& name);

bool WriteBytes(const std::string& path, const std::uint8_t* data, std::size_t size);

// Prints why and traps, so the fuzzer keeps the input as a crash.
[[noreturn]] void Fail(const char* what, const std::string& detail = {});

}  // namespace fw::fuzz
