#include "platform/registryfilestore.h"

namespace zelvan::platform {

std::unique_ptr<Registry> createUserRegistry()
{
    return std::make_unique<RegistryFileStore>();
}

} // namespace zelvan::platform
