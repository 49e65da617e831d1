#include "support/temporaryregistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zelvan::test {

TemporaryRegistry::TemporaryRegistry(const QString &relativePath)
    : m_path(m_dir.filePath(relativePath))
    , m_wasSet(qEnvironmentVariableIsSet("ZELVAN_REGISTRY"))
    , m_previous(qgetenv("ZELVAN_REGISTRY"))
{
    qputenv("ZELVAN_REGISTRY", QFile::encodeName(m_path));
}

TemporaryRegistry::~TemporaryRegistry()
{
    if (m_wasSet)
        qputenv("ZELVAN_REGISTRY", m_previous);
    else
        qunsetenv("ZELVAN_REGISTRY");
}

QByteArray TemporaryRegistry::read() const
{
    return readFile(m_path);
}

bool TemporaryRegistry::write(const QByteArray &bytes) const
{
    return QDir().mkpath(QFileInfo(m_path).absolutePath()) && writeFile(m_path, bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace zelvan::test
