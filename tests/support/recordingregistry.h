#pragma once

#include "platform/registryfilestore.h"

#include <QSet>


namespace zelvan::test {

// The registry file, recording the writes and the keys left open.
class RecordingRegistry : public platform::RegistryFileStore
{
public:
    using platform::RegistryFileStore::RegistryFileStore;

    struct Write
    {
        QByteArray name;
        quint32 type;
        QByteArray data;
    };
    QList<Write> writes;
    QSet<Key> openHandles;  // opened or created and not closed yet

    long openKey(Key parent, const QByteArray &subKey, Key *result) override
    {
        return remember(platform::RegistryFileStore::openKey(parent, subKey, result), parent, result);
    }
    long createKey(Key parent, const QByteArray &subKey, Key *result) override
    {
        return remember(platform::RegistryFileStore::createKey(parent, subKey, result), parent, result);
    }
    long setValue(Key key, const QByteArray &name, quint32 type, const QByteArray &data) override
    {
        writes.append({name, type, data});
        return platform::RegistryFileStore::setValue(key, name, type, data);
    }
    long closeKey(Key key) override
    {
        openHandles.remove(key);
        return platform::RegistryFileStore::closeKey(key);
    }

private:
    long remember(long rc, Key parent, const Key *result)
    {
        if (rc == Success && *result != parent)
            openHandles.insert(*result);
        return rc;
    }
};

} // namespace zelvan::test
