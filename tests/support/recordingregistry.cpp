#include "support/recordingregistry.h"

namespace zelvan::test {

long RecordingRegistry::openKey(Key parent, const QByteArray &subKey, Key *result)
{
    const long rc = m_inner.openKey(parent, subKey, result);
    if (rc == Success && *result != parent)
        openHandles.insert(*result);
    return rc;
}

long RecordingRegistry::createKey(Key parent, const QByteArray &subKey, Key *result)
{
    const long rc = m_inner.createKey(parent, subKey, result);
    if (rc == Success && *result != parent)
        openHandles.insert(*result);
    return rc;
}

long RecordingRegistry::queryValue(Key key, const QByteArray &name, quint32 *type, char *data, quint32 *size)
{
    ++queries;
    return m_inner.queryValue(key, name, type, data, size);
}

long RecordingRegistry::setValue(Key key, const QByteArray &name, quint32 type, const QByteArray &data)
{
    writes.append({name, type, data});
    return m_inner.setValue(key, name, type, data);
}

long RecordingRegistry::closeKey(Key key)
{
    openHandles.remove(key);
    return m_inner.closeKey(key);
}

} // namespace zelvan::test
