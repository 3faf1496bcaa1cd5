#include "services/ModelException.h"

#include "services/Strings.h"

namespace fw {

ModelException::ModelException(int code, const char* sourceFile, int line)
    : std::runtime_error(format("model error %d at %s:%d", code, sourceFile ? sourceFile : "?", line)), m_code(code),
      m_sourceFile(sourceFile ? sourceFile : ""), m_line(line)
{}

}  // namespace fw
