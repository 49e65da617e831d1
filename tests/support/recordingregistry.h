#pragma once

#include "platform/registry.h"

#include <QByteArray>
#include <QList>
#include <QSet>

namespace zelvan::test {

// Passes every call to another registry and records the writes and the
// handles left open.
class RecordingRegistry : public platform::Registry
{
public:
    explicit RecordingRegistry(platform::Registry &inner) : m_inner(inner) {}

    struct Write
    {
        QByteArray name;
        quint32 type;
        QByteArray data;
    };

    long openKey(Key parent, const QByteArray &subKey, Key *result) override;
    long createKey(Key parent, const QByteArray &subKey, Key *result) override;
    long queryValue(Key key, const QByteArray &name, quint32 *type, char *data, quint32 *size) override;
    long setValue(Key key, const QByteArray &name, quint32 type, const QByteArray &data) override;
    long closeKey(Key key) override;

    QList<Write> writes;
    QSet<Key> openHandles;  // opened or created and not closed yet
    int queries = 0;

private:
    platform::Registry &m_inner;
};

} // namespace zelvan::test
