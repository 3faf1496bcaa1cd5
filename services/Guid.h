#pragma once

#include <string>

namespace fw {

// A new random GUID as upper-case 8-4-4-4-12 text; empty when none can be made.
std::string createGuid();

}  // namespace fw
