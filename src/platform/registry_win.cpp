#include "platform/registry.h"

#include "platform/win32/registryapi.h"

#include <type_traits>

namespace zelvan::platform {

namespace {

static_assert(std::is_same_v<Registry::Key, win32::RegistryKey>);
static_assert(Registry::CurrentUser == win32::CurrentUserKey);

class Win32Registry final : public Registry
{
public:
    long openKey(Key parent, const QByteArray &subKey, Key *result) override
    {
        return win32::regOpenKey(parent, subKey.toStdString(), result);
    }

    long createKey(Key parent, const QByteArray &subKey, Key *result) override
    {
        return win32::regCreateKey(parent, subKey.toStdString(), result);
    }

    long queryValue(Key key, const QByteArray &name, quint32 *type, char *data, quint32 *size) override
    {
        return win32::regQueryValue(key, name.toStdString(), type, data, size);
    }

    long setValue(Key key, const QByteArray &name, quint32 type, const QByteArray &data) override
    {
        return win32::regSetValue(key, name.toStdString(), type, {data.constData(), std::size_t(data.size())});
    }

    long closeKey(Key key) override { return win32::regCloseKey(key); }
};

} // namespace

std::unique_ptr<Registry> createUserRegistry()
{
    return std::make_unique<Win32Registry>();
}

} // namespace zelvan::platform
