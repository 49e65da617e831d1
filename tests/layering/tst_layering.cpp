#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// Which folders of src/ each folder may include besides itself: a layer sees
// only the layers below it.
const QHash<QString, QStringList> &allowedIncludes()
{
    static const QHash<QString, QStringList> table{
        {u"runtime"_s, {}},
        {u"database"_s, {u"runtime"_s}},
        {u"platform"_s, {u"runtime"_s}},
        {u"reportengine"_s, {u"runtime"_s, u"platform"_s}},
        {u"program"_s, {u"runtime"_s, u"database"_s, u"platform"_s}},
        {u"login"_s, {u"runtime"_s, u"database"_s, u"platform"_s, u"program"_s}},
        {u"report"_s, {u"runtime"_s, u"database"_s, u"platform"_s, u"reportengine"_s, u"program"_s}},
        {u"app"_s, {u"runtime"_s, u"database"_s, u"platform"_s, u"reportengine"_s, u"program"_s, u"login"_s, u"report"_s}},
    };
    return table;
}

// Folders of plain C++ that the Windows cross-compile builds without Qt.
const QStringList PlainFolders{u"database/odbcapi/"_s, u"platform/win32/"_s};

// System headers that only one folder may use.
struct OwnedHeader
{
    QRegularExpression header;
    QStringList owners;  // folder prefixes below src/
};

const QList<OwnedHeader> &ownedHeaders()
{
    static const QList<OwnedHeader> table{
        {QRegularExpression(u"^sqlite3\\.h$"_s), {u"database/"_s}},
        {QRegularExpression(u"^(sql|sqlext|sqltypes|sqlucode)\\.h$"_s), {u"database/odbcapi/"_s}},
        // ODBC's headers need the Windows types on Windows.
        {QRegularExpression(u"^windows\\.h$"_s, QRegularExpression::CaseInsensitiveOption),
         {u"platform/win32/"_s, u"database/odbcapi/"_s}},
    };
    return table;
}

struct Include
{
    QString file;  // below src/
    int line;
    QString target;
    bool quoted;
};

QList<Include> includesOf(const QString &root, const QString &relative)
{
    static const QRegularExpression pattern(u"^\\s*#\\s*include\\s*([\"<])([^\">]+)[\">]"_s);
    QFile file(root + u'/' + relative);
    QList<Include> result;
    if (!file.open(QIODevice::ReadOnly))
        return result;
    int number = 0;
    while (!file.atEnd()) {
        ++number;
        const QRegularExpressionMatch match = pattern.match(QString::fromUtf8(file.readLine()));
        if (match.hasMatch())
            result.append({relative, number, match.captured(2), match.captured(1) == u"\""});
    }
    return result;
}

bool startsWithAny(const QString &path, const QStringList &prefixes)
{
    return std::any_of(prefixes.begin(), prefixes.end(), [&](const QString &p) { return path.startsWith(p); });
}

// Empty when the include keeps the rules, else why not.
QString breach(const Include &include)
{
    const QString folder = include.file.section(u'/', 0, 0);
    if (startsWithAny(include.file, PlainFolders)) {
        if (include.target.startsWith(u'Q'))
            return u"a Qt header in plain C++"_s;
        if (include.quoted && !include.target.startsWith(include.file.section(u'/', 0, 1) + u'/'))
            return u"plain C++ includes only its own folder"_s;
    }
    if (include.quoted) {
        const QString target = include.target.section(u'/', 0, 0);
        if (!allowedIncludes().contains(target))
            return u"not a folder of src/"_s;
        if (target != folder && !allowedIncludes().value(folder).contains(target))
            return u"%1 may not include %2"_s.arg(folder, target);
        return {};
    }
    for (const OwnedHeader &owned : ownedHeaders())
        if (owned.header.match(include.target).hasMatch() && !startsWithAny(include.file, owned.owners))
            return u"only %1 may include it"_s.arg(owned.owners.join(u", "_s));
    return {};
}

QStringList breaches(const QString &root)
{
    QStringList found;
    QDirIterator it(root, {u"*.h"_s, u"*.cpp"_s}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = QDir(root).relativeFilePath(it.next());
        for (const Include &include : includesOf(root, relative))
            if (const QString why = breach(include); !why.isEmpty())
                found.append(u"%1:%2: #include %3: %4"_s.arg(include.file).arg(include.line).arg(include.target, why));
    }
    return found;
}

} // namespace

class TestLayering : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rules_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("quoted");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("a layer below") << u"report/detailformat.cpp"_s << u"program/program.h"_s << true << true;
        QTest::newRow("upward") << u"database/recordset.cpp"_s << u"program/program.h"_s << true << false;
        QTest::newRow("Qt in plain C++") << u"platform/win32/registryapi.cpp"_s << u"QString"_s << false << false;
        QTest::newRow("plain C++ leaving its folder") << u"database/odbcapi/odbcapi.cpp"_s << u"platform/win32/win32api.h"_s << true << false;
        QTest::newRow("SQLite outside database") << u"report/stockvaluation.cpp"_s << u"sqlite3.h"_s << false << false;
    }

    void rules()
    {
        QFETCH(QString, file);
        QFETCH(QString, target);
        QFETCH(bool, quoted);
        QTEST(breach({file, 1, target, quoted}).isEmpty(), "allowed");
    }

    // Every #include under src/ keeps the rules; a breach names its file and line.
    void sources()
    {
        const QStringList found = breaches(QStringLiteral(ZELVAN_SOURCE_DIR));
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
    }
};

QTEST_APPLESS_MAIN(TestLayering)
#include "tst_layering.moc"

