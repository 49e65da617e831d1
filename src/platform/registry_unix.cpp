#include "platform/fileregistry.h"

namespace zelvan::platform {

std::unique_ptr<Registry> createUserRegistry()
{
    return std::make_unique<FileRegistry>();
}

} // namespace zelvan::platform
