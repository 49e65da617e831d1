#include "tsqlscript.h"

#include "demoinstance.h"

#include <QLocale>
#include <QSaveFile>
#include <QStringList>

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::demo {

namespace {

constexpr int RowsPerInsert = 500;  // SQL Server takes at most 1000 rows in one VALUES list

QString quotedText(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'\'', u"''"_s);
    return u"N'"_s + quoted + u'\'';
}

QString bracketed(const QString &name)
{
    QString quoted = name;
    quoted.replace(u']', u"]]"_s);
    return u'[' + quoted + u']';
}

QString columnNames(const QList<ColumnDef> &columns)
{
    QStringList names;
    for (const ColumnDef &column : columns)
        names.append(QString::fromUtf16(column.name));
    return names.join(u',');
}

} // namespace

QString tsqlLiteral(const QVariant &value, QStringView columnType)
{
    if (!value.isValid() || value.isNull())
        return u"NULL"_s;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? u"1"_s : u"0"_s;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return value.toString();
    case QMetaType::Double:
        // The shortest text that gives the double back: the decimal the demo meant.
        return QString::number(value.toDouble(), 'f', QLocale::FloatingPointShortest);
    default:
        break;
    }
    const QString text = value.toString();
    if (columnType.startsWith(u"DATETIME", Qt::CaseInsensitive) && text.size() >= 10 && text[4] == u'-'
        && text[7] == u'-')
        return u'\'' + text.left(4) + text.mid(5, 2) + text.mid(8, 2) + text.mid(10) + u'\'';
    return quotedText(text);
}

TsqlScript::TsqlScript(const QString &path, const QString &title)
    : m_path(path)
    , m_head(u"-- "_s + title + u"\n-- Written by zelvan-demo.\nSET NOCOUNT ON;\nGO\n"_s)
{
}

void TsqlScript::createDatabase(const QString &database)
{
    statement(u"IF DB_ID(%1) IS NULL\n    CREATE DATABASE %2 COLLATE Turkish_CI_AS"_s.arg(quotedText(database),
                                                                                       bracketed(database)));
    statement(u"USE "_s + bracketed(database));
}

void TsqlScript::createTable(const QString &table, const QList<ColumnDef> &columns, const QString &tableConstraint)
{
    QStringList parts;
    for (const ColumnDef &column : columns)
        parts.append(u"    "_s + QString::fromUtf16(column.name) + u' ' + QString::fromUtf16(column.type));
    if (!tableConstraint.isEmpty())
        parts.append(u"    "_s + tableConstraint);
    Section section;
    section.columns = columns;
    section.text = u"\nDROP TABLE IF EXISTS "_s + table + u";\nCREATE TABLE "_s + table + u" (\n"_s
                   + parts.join(u",\n"_s) + u"\n);\nGO\n"_s;
    m_tables.append(table);
    m_sections.insert(table, section);
}

void TsqlScript::addRow(const QString &table, std::initializer_list<QVariant> values)
{
    Section &section = m_sections[table];
    if (section.rowsInInsert == RowsPerInsert) {
        section.text += u";\nGO\n"_s;
        section.rowsInInsert = 0;
    }
    section.text += section.rowsInInsert == 0
        ? u"INSERT INTO "_s + table + u" ("_s + columnNames(section.columns) + u") VALUES\n("_s
        : u",\n("_s;
    qsizetype index = 0;
    for (const QVariant &value : values) {
        if (index > 0)
            section.text += u',';
        const QStringView type = index < section.columns.size() ? QStringView(section.columns[index].type) : QStringView();
        section.text += tsqlLiteral(value, type);
        ++index;
    }
    section.text += u')';
    ++section.rowsInInsert;
}

void TsqlScript::statement(const QString &sql)
{
    (m_tables.isEmpty() ? m_head : m_tail) += sql + u";\nGO\n"_s;
}

void TsqlScript::save()
{
    QByteArray bytes = "\xEF\xBB\xBF" + m_head.toUtf8();
    for (const QString &table : std::as_const(m_tables)) {
        const Section &section = m_sections[table];
        bytes += section.text.toUtf8();
        if (section.rowsInInsert > 0)
            bytes += ";\nGO\n";
    }
    if (!m_tail.isEmpty())
        bytes += '\n' + m_tail.toUtf8();
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error("cannot write " + m_path.toStdString() + ": " + file.errorString().toStdString());
}

void writeLoginsScript(const QString &path, const QList<SqlLogin> &logins, const QStringList &databases)
{
    TsqlScript script(path, u"Read-only logins of the demo, each a user of every demo database. sa is the\n"
                            u"-- server's own administrator and is left alone."_s);
    QList<SqlLogin> created;
    for (const SqlLogin &login : logins) {
        if (login.name != u"sa")
            created.append(login);
    }
    // The demo's passwords are short or empty, which the server's password
    // policy would refuse; real logins keep the policy on.
    script.statement(u"USE [master]"_s);
    for (const SqlLogin &login : std::as_const(created)) {
        script.statement(u"IF SUSER_ID(%1) IS NULL\n    CREATE LOGIN %2 WITH PASSWORD = %3, CHECK_POLICY = OFF, "
                         u"DEFAULT_DATABASE = %4"_s.arg(quotedText(login.name), bracketed(login.name),
                                                        quotedText(login.password), bracketed(databases.value(0))));
    }
    for (const QString &database : databases) {
        script.statement(u"USE "_s + bracketed(database));
        for (const SqlLogin &login : std::as_const(created)) {
            script.statement(u"IF USER_ID(%1) IS NULL\n    CREATE USER %2 FOR LOGIN %2"_s.arg(quotedText(login.name),
                                                                                          bracketed(login.name)));
            script.statement(u"ALTER ROLE db_datareader ADD MEMBER "_s + bracketed(login.name));
        }
    }
    script.save();
}

} // namespace zelvan::demo
