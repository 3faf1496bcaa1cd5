#include "services/Guid.h"

#include <uuid/uuid.h>

namespace fw {

std::string createGuid()
{
    uuid_t id;
    uuid_generate_random(id);
    char text[37] = {};  // 36 characters and the terminator, as uuid_unparse writes them
    uuid_unparse_upper(id, text);
    return text;
}

}  // namespace fw
