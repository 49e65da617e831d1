#pragma once

#include "platform/registryfileformat.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

namespace zelvan::platform {

// One value of a registry key as the export format holds it. A string written
// as "..." keeps its Unicode text; every other form keeps the data bytes that
// the ANSI registry functions see.
struct RegistryValue
{
    QString name;         // empty: the key's default value, written "@"
    quint32 type = 0;     // REG_SZ, REG_BINARY, REG_DWORD, ...
    bool isText = false;  // REG_SZ held as `text` (the data is the text in code page 1254 and a NUL)
    QString text;
    QByteArray data;      // when not isText (a dword is four bytes, little-endian)

    // The value for data handed to RegSetValueExA. A REG_SZ that is plain text
    // ended by one NUL becomes text; anything else keeps its bytes exactly.
    static RegistryValue fromData(const QString &name, quint32 type, const QByteArray &data);
    // The data RegQueryValueExA returns.
    QByteArray toData() const;
};

// One key below HKEY_CURRENT_USER with its values in the order first written.
class RegistryKeyData
{
public:
    explicit RegistryKeyData(const QString &path) : m_path(path) {}

    // Components joined by backslashes, in the letter case first written; empty for the root.
    const QString &path() const { return m_path; }
    const QList<RegistryValue> &values() const { return m_values; }
    // Value names match without regard to letter case (as Windows: upper-cased,
    // so "ı" and "i" both match "I", and "İ" only itself).
    const RegistryValue *value(QStringView name) const;
    // Replaces a value of the same name in place, or appends.
    void setValue(const RegistryValue &value);

private:
    QString m_path;
    QList<RegistryValue> m_values;
    QHash<QString, qsizetype> m_index;  // upper-cased name -> position
};

// The HKEY_CURRENT_USER part of a registry export file.
class RegistryTree
{
public:
    // The key written with exactly this path (letter case aside), or null.
    const RegistryKeyData *key(QStringView path) const;
    RegistryKeyData *key(QStringView path);
    // True for a written key and for every key above one (a key's parents exist).
    bool keyExists(QStringView path) const;
    // The written key of this path, added at the end when missing.
    RegistryKeyData &addKey(const QString &path);
    const QList<RegistryKeyData> &keys() const { return m_keys; }

    // Sections under other roots, each its header and lines as they stood.
    QList<QByteArrayList> otherRoots;

private:
    QList<RegistryKeyData> m_keys;
    QHash<QString, qsizetype> m_index;  // upper-cased path -> position
};

// True for the root's empty path and for names joined by single backslashes
// (no leading, doubled or trailing backslash).
bool isValidKeyPath(QStringView path);

// Reads an export file (REGEDIT4 syntax; UTF-16 after its byte order mark,
// else UTF-8). Never fails: a line that cannot be read is skipped with its
// value, and a bad section header skips the lines up to the next section.
// Whether the file may be rewritten is registryFileFormat's to say.
RegistryTree parseRegistryFile(QByteArrayView bytes);
// Writes the tree in the format; comments and skipped lines are not kept.
QByteArray writeRegistryFile(const RegistryTree &tree, const RegistryFileFormat &format = {});

} // namespace zelvan::platform
