#pragma once
// formwright-tool: checks, normalises, dumps and draws form definition files,
// and runs scripts of editor events on them.
// The whole command line runs through RunFormTool so it can be tested
// without a process; main() only forwards to it.

#include <ostream>
#include <string>
#include <vector>

namespace fw {

namespace ToolExit {
constexpr int Ok = 0;
constexpr int Problems = 1;  // check found problems, or fmt refused a file
constexpr int Usage = 2;     // bad command line or an input/output error
}  // namespace ToolExit

int RunFormTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace fw
