#include "platform/registryfilestore.h"

#include "platform/registryexport.h"
#include "platform/replacefile.h"
#include "runtime/codepage1254.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

#include <cstring>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::platform {

namespace {
// A write takes milliseconds. A holder that has died is noticed at once
// (QLockFile looks for its process, and takes over a lock older than 30 s);
// one that keeps the lock past this wait makes the change fail rather than
// go ahead beside it.
constexpr int LockWaitMs = 2000;
constexpr int LockPollMs = 2;

bool hasLineBreak(QByteArrayView bytes)
{
    return bytes.contains('\n') || bytes.contains('\r');
}

// A lock file that still names no holder after the wait was left by a writer
// that died between making it and writing its name in; QLockFile would wait
// for it to grow 30 s old.
bool takeNamelessLock(QLockFile &lock)
{
    qint64 pid = 0;
    QString hostName;
    QString appName;
    if (lock.getLockInfo(&pid, &hostName, &appName))
        return false;
    return lock.removeStaleLockFile() && lock.tryLock(0);
}

// Short, even polls: QLockFile's own wait doubles its sleeps and lets a busy
// writer starve the others. A lock that cannot be made at all (a folder that
// cannot be written) is not waited for.
bool takeLock(QLockFile &lock)
{
    const QDeadlineTimer deadline(LockWaitMs);
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError)
            return false;
        if (deadline.hasExpired())
            return takeNamelessLock(lock);
        QThread::msleep(LockPollMs);
    }
    return true;
}
} // namespace

RegistryFileStore::RegistryFileStore(const QString &path)
    : m_path(path)
{
}

QString RegistryFileStore::defaultPath()
{
    const QString explicitPath = qEnvironmentVariable("ZELVAN_REGISTRY");
    if (!explicitPath.isEmpty())
        return explicitPath;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + u"/.config"_s;
    return config + u"/zelvan/registry.reg"_s;
}

bool RegistryFileStore::readFile(QByteArray *bytes) const
{
    bytes->clear();
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

bool RegistryFileStore::load(RegistryTree *tree) const
{
    QByteArray bytes;
    if (!readFile(&bytes))
        return false;
    *tree = parseRegistryFile(bytes);
    return true;
}

long RegistryFileStore::modify(const std::function<bool(RegistryTree &)> &change)
{
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return AccessDenied;
    QLockFile lock(m_path + u".lock"_s);
    if (!takeLock(lock))
        return lock.error() == QLockFile::LockFailedError ? SharingViolation : AccessDenied;
    QByteArray bytes;
    if (!readFile(&bytes))
        return AccessDenied;
    // Rewriting what could not be read would lose every key in it.
    const auto format = registryFileFormat(bytes);
    if (!format)
        return BadDatabase;
    RegistryTree tree = parseRegistryFile(bytes);
    if (!change(tree))
        return Success;
    return replaceFileContents(m_path, writeRegistryFile(tree, *format)).isEmpty() ? Success : WriteFault;
}

long RegistryFileStore::childPath(Key parent, const QByteArray &subKey, QString *path) const
{
    QString parentPath;
    if (parent != CurrentUser) {
        const auto it = m_open.constFind(parent);
        if (it == m_open.cend())
            return InvalidHandle;
        parentPath = *it;
    }
    const QString sub = runtime::fromCp1254(subKey);
    if (!isValidKeyPath(sub) || hasLineBreak(subKey))
        return BadPathname;
    if (parentPath.isEmpty() || sub.isEmpty())
        *path = parentPath + sub;
    else
        *path = parentPath + u'\\' + sub;
    return Success;
}

RegistryFileStore::Key RegistryFileStore::newHandle(const QString &path)
{
    const Key handle = m_nextHandle;
    m_nextHandle += 4;
    m_open.insert(handle, path);
    return handle;
}

long RegistryFileStore::openKey(Key parent, const QByteArray &subKey, Key *result)
{
    return openOrCreate(parent, subKey, result, false);
}

long RegistryFileStore::createKey(Key parent, const QByteArray &subKey, Key *result)
{
    return openOrCreate(parent, subKey, result, true);
}

long RegistryFileStore::openOrCreate(Key parent, const QByteArray &subKey, Key *result, bool create)
{
    if (!result)
        return InvalidParameter;
    QString path;
    if (const long rc = childPath(parent, subKey, &path); rc != Success)
        return rc;
    if (subKey.isEmpty()) {
        *result = parent;
        return Success;
    }
    long rc = Success;
    if (create) {
        rc = modify([&path](RegistryTree &tree) {
            if (tree.keyExists(path))
                return false;
            tree.addKey(path);
            return true;
        });
    } else {
        RegistryTree tree;
        if (!load(&tree))
            rc = AccessDenied;
        else if (!tree.keyExists(path))
            rc = FileNotFound;
    }
    if (rc == Success)
        *result = newHandle(path);
    return rc;
}

long RegistryFileStore::queryValue(Key key, const QByteArray &name, quint32 *type, char *data, quint32 *size)
{
    QString path;
    if (const long rc = childPath(key, QByteArray(), &path); rc != Success)
        return rc;
    if (data && !size)
        return InvalidParameter;
    RegistryTree tree;
    if (!load(&tree))
        return AccessDenied;
    const RegistryKeyData *keyData = tree.key(path);
    const RegistryValue *value = keyData ? keyData->value(runtime::fromCp1254(name)) : nullptr;
    if (!value)
        return FileNotFound;
    const QByteArray bytes = value->toData();
    if (type)
        *type = value->type;
    if (!size)
        return Success;
    const auto needed = quint32(bytes.size());
    if (data) {
        if (*size < needed) {
            *size = needed;
            return MoreData;
        }
        std::memcpy(data, bytes.constData(), needed);
    }
    *size = needed;
    return Success;
}

long RegistryFileStore::setValue(Key key, const QByteArray &name, quint32 type, const QByteArray &data)
{
    QString path;
    if (const long rc = childPath(key, QByteArray(), &path); rc != Success)
        return rc;
    if (hasLineBreak(name))
        return InvalidParameter;
    const RegistryValue value = RegistryValue::fromData(runtime::fromCp1254(name), type, data);
    return modify([&path, &value](RegistryTree &tree) {
        tree.addKey(path).setValue(value);
        return true;
    });
}

QString RegistryFileStore::keyLocation(const QString &) const
{
    return QDir::toNativeSeparators(m_path);
}

long RegistryFileStore::closeKey(Key key)
{
    if (key == CurrentUser)
        return Success;
    return m_open.remove(key) ? Success : InvalidHandle;
}

} // namespace zelvan::platform
