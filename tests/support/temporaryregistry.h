#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace zelvan::test {

// A registry file of its own for one test: ZELVAN_REGISTRY names a file in a
// fresh temporary folder while the object lives, and is restored after.
class TemporaryRegistry
{
public:
    // `relativePath`: where the file lies inside the folder (the folders on
    // the way are not created).
    explicit TemporaryRegistry(const QString &relativePath = QStringLiteral("registry.reg"));
    ~TemporaryRegistry();
    TemporaryRegistry(const TemporaryRegistry &) = delete;
    TemporaryRegistry &operator=(const TemporaryRegistry &) = delete;

    bool isValid() const { return m_dir.isValid(); }
    const QString &path() const { return m_path; }
    // A path inside the temporary folder.
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // The file's bytes (empty when missing), and writing it with its folders.
    QByteArray read() const;
    bool write(const QByteArray &bytes) const;

private:
    QTemporaryDir m_dir;
    QString m_path;
    bool m_wasSet;
    QByteArray m_previous;
};

QByteArray readFile(const QString &path);
bool writeFile(const QString &path, const QByteArray &bytes);

} // namespace zelvan::test
