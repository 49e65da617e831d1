#pragma once

#include "platform/registry.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>

namespace zelvan::platform {

class RegistryTree;

// HKEY_CURRENT_USER kept in a registry export file (REGEDIT4 syntax, UTF-8
// or UTF-16), for systems without a registry. Every call reads the file
// afresh, so that another process's changes are seen; every change rewrites
// the whole file atomically (temporary file, then rename) in the encoding,
// header and line ends it had, keeping every other key and value. A file
// that cannot be read (registryFileFormat) is never rewritten. Changes are
// serialised between processes by a lock file beside it; a change that
// cannot have the lock within about two seconds fails.
class RegistryFileStore : public Registry
{
public:
    // Win32 results beyond those of Registry.
    static constexpr long AccessDenied = 5;
    static constexpr long InvalidHandle = 6;
    static constexpr long WriteFault = 29;
    static constexpr long SharingViolation = 32;
    static constexpr long InvalidParameter = 87;
    static constexpr long BadPathname = 161;
    static constexpr long BadDatabase = 1009;  // ERROR_BADDB: the file cannot be read

    explicit RegistryFileStore(const QString &path = defaultPath());

    // ZELVAN_REGISTRY when set, else $XDG_CONFIG_HOME/zelvan/registry.reg
    // (~/.config without XDG_CONFIG_HOME).
    static QString defaultPath();
    const QString &path() const { return m_path; }

    long openKey(Key parent, const QByteArray &subKey, Key *result) override;
    long createKey(Key parent, const QByteArray &subKey, Key *result) override;
    long queryValue(Key key, const QByteArray &name, quint32 *type, char *data, quint32 *size) override;
    long setValue(Key key, const QByteArray &name, quint32 type, const QByteArray &data) override;
    long closeKey(Key key) override;
    // The file.
    QString keyLocation(const QString &keyPath) const override;

private:
    // The file's bytes, none when it is missing; false when it exists but cannot be read.
    bool readFile(QByteArray *bytes) const;
    // The file's tree, read as far as it can be; false when readFile fails.
    bool load(RegistryTree *tree) const;
    // Reads, lets `change` alter the tree and writes it back when it says so.
    long modify(const std::function<bool(RegistryTree &)> &change);
    // The full path of a key below `parent`; Success or the Win32 result.
    long childPath(Key parent, const QByteArray &subKey, QString *path) const;
    Key newHandle(const QString &path);
    // RegOpenKeyA, or RegCreateKeyA when `create`.
    long openOrCreate(Key parent, const QByteArray &subKey, Key *result, bool create);

    QString m_path;
    QHash<Key, QString> m_open;  // handle -> full key path
    Key m_nextHandle = 0x1000;
};

} // namespace zelvan::platform
