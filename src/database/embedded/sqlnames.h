#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace zelvan::database {

// Rewrites SQL Server's three-part names `<db>.dbo.<table>` for an embedded
// instance, where each database is an attached SQLite file: the name becomes
// `"<schema>".<table>` with the schema of schemaNameFor(<db>); the current
// database becomes `main`. `dbo.<table>` alone becomes `<table>`. Text inside
// quotes, brackets and comments is never touched.
struct ThreePartRewrite
{
    QString sql;
    QStringList databases;  // other databases named, as written, each once
    // Each rewritten name as the engine reports it ("schema.table", the
    // schema in lower case) with the name as the SQL text wrote it, so that
    // an error can name the table the way the user wrote it.
    QList<QPair<QString, QString>> names;

    QString originalName(const QString &reported) const;
};

ThreePartRewrite rewriteThreePartNames(QStringView sql, QStringView currentDatabase);

// The schema an attached database gets: its name in ASCII lower case.
QString schemaNameFor(QStringView database);

} // namespace zelvan::database
