#pragma once

#include "platform/registry.h"

#include <QHash>
#include <QString>

#include <functional>

namespace zelvan::platform {

class RegistryTree;

// HKEY_CURRENT_USER kept in a registry export file (REGEDIT4 syntax, UTF-8),
// for systems without a registry. Every call reads the file afresh, so that
// another process's changes are seen; every change rewrites the whole file
// atomically (temporary file, then rename), keeping every other key and
// value. Changes are serialised between processes by a lock file beside it.
class RegistryFileStore : public Registry
{
public:
    // Win32 results beyond those of Registry.
    static constexpr long AccessDenied = 5;
    static constexpr long InvalidHandle = 6;
    static constexpr long WriteFault = 29;
    static constexpr long InvalidParameter = 87;
    static constexpr long BadPathname = 161;

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

private:
    // The file's tree; false when the file exists but cannot be read.
    bool load(RegistryTree *tree) const;
    long save(const RegistryTree &tree) const;
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
