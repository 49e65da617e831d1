#pragma once

#include <QStringList>
#include <QTemporaryDir>


namespace zelvan::test {

// A digest of every file's name and bytes under `dir`, to show that a run changed nothing.
QByteArray directoryDigest(const QString &dir);

// An embedded instance in a temporary directory, built by the test itself.
class TestInstance
{
public:
    QString path() const { return m_dir.path(); }

    // A row of master.sqlite's sql_logins (the file is created on first use).
    void addLogin(const QString &name, const QString &password, const QString &salt = QStringLiteral("zelvan"));
    // Creates (or replaces) <name>.sqlite and runs the statements in it.
    void createDatabase(const QString &name, const QStringList &statements);
    // Runs statements in an existing database file.
    void run(const QString &name, const QStringList &statements);

    // The connection string the program builds for these values.
    QString connectionString(const QString &database, const QString &user, const QString &password) const;
    QByteArray digest() const { return directoryDigest(path()); }

private:
    QTemporaryDir m_dir;
};

// The instance most tests need: login "zelvan"/"parola", a Defination_DB with the right table and company row,
// and company database "FIRMA" with every table the report reads, all empty.
void addStandardDatabases(TestInstance &instance);

} // namespace zelvan::test
