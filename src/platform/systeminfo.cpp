#include "platform/systeminfo.h"

#include <cstring>

namespace zelvan::platform {

bool putComputerName(QByteArrayView name, QByteArray &buffer, quint32 &size)
{
    const auto needed = quint32(name.size()) + 1;
    if (needed > size || qsizetype(needed) > buffer.size()) {
        size = needed;
        return false;
    }
    if (!name.isEmpty())
        std::memcpy(buffer.data(), name.data(), size_t(name.size()));
    buffer[name.size()] = '\0';
    size = quint32(name.size());
    return true;
}

} // namespace zelvan::platform
