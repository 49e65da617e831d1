#include "support/zelvanrun.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

zelvan::test::ZelvanRun runDemo(const QStringList &arguments, const QString &workingDirectory = {})
{
    return zelvan::test::runProgram(zelvan::test::binaryPath(u"zelvan-demo"_s), arguments,
                                    QProcessEnvironment::systemEnvironment(), 120000, {}, workingDirectory);
}

// One line per row, columns joined by "|", NULL written as NULL.
QStringList query(const QString &file, const QString &sql)
{
    const auto run = zelvan::test::runProgram(u"sqlite3"_s, {u"-batch"_s, u"-readonly"_s, u"-noheader"_s, u"-nullvalue"_s,
                                                              u"NULL"_s, u"-separator"_s, u"|"_s, file, sql});
    return run.exitCode == 0 ? QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts) : QStringList{QString::fromUtf8(run.err)};
}

} // namespace

class TestZelvanDemo : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_dir;  // default size and seed

    QString file(const QString &name) const { return QDir(m_dir).filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable(u"sqlite3"_s).isEmpty(), "the sqlite3 shell is needed (see README)");
        m_dir = m_tmp.filePath(u"instance"_s);
        const auto run = runDemo({m_dir, u"--tsql"_s, m_tmp.filePath(u"sql"_s)});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        QVERIFY(run.out.contains(("NRV_DEMO_2026|"_L1 + m_dir + "|1|norvent|Zelvan2026"_L1).toUtf8()));
        // The T-SQL scripts of the default instance are the committed ones.
        const QDir sql(m_tmp.filePath(u"sql"_s));
        const QDir committed(QDir::cleanPath(QStringLiteral(ZELVAN_TEST_DATA_DIR "/../../tools/sqlserver")));
        const QStringList files = committed.entryList({u"*.sql"_s}, QDir::Files, QDir::Name);
        QCOMPARE(files, sql.entryList({u"*.sql"_s}, QDir::Files, QDir::Name));
        QCOMPARE(files.join(u','), u"Defination_DB.sql,NRV_DEMO_2026.sql,NRV_ORNEK_2026.sql,logins.sql"_s);
        for (const QString &name : files) {
            const QByteArray bytes = zelvan::test::readFile(sql.filePath(name));
            QVERIFY2(bytes.startsWith("\xEF\xBB\xBF-- "), qPrintable(name));
            QCOMPARE(bytes, zelvan::test::readFile(committed.filePath(name)));
        }
    }

    // The options change the sizes; rewriting a directory with the same seed gives the same bytes, whatever was there.
    void sizesAndSameBytes()
    {
        const QDir again(m_tmp.filePath(u"again"_s));
        QCOMPARE(runDemo({again.path(), u"--seed"_s, u"12"_s, u"--items"_s, u"8"_s, u"--movements-per-item=3"_s}).exitCode, 0);
        QCOMPARE(query(again.filePath(u"NRV_DEMO_2026.sqlite"_s),
                       u"SELECT (SELECT count(*) FROM STOKHAREKET), count(DISTINCT Durum) FROM CEKKART"_s),
                 QStringList{u"24|8"_s});  // even a tiny instance holds every status
        QCOMPARE(query(again.filePath(u"NRV_ORNEK_2026.sqlite"_s), u"SELECT count(*) FROM STOKKART"_s), QStringList{u"2"_s});
        QCOMPARE(runDemo({u"--seed=2026"_s, again.path()}).exitCode, 0);
        for (const QString &name : {u"master"_s, u"Defination_DB"_s, u"NRV_DEMO_2026"_s, u"NRV_ORNEK_2026"_s}) {
            const QByteArray bytes = zelvan::test::readFile(again.filePath(name + u".sqlite"_s));
            QVERIFY2(!bytes.isEmpty(), qPrintable(name));
            QCOMPARE(bytes, zelvan::test::readFile(file(name + u".sqlite"_s)));
        }
    }

    // Usage errors write nothing; a database name taken by a directory can't be written.
    void badArgumentsAndWriteFailure()
    {
        QTemporaryDir cwd;
        for (const QStringList &arguments : {QStringList{u"d"_s, u"--size"_s, u"3"_s}, QStringList{u"d"_s, u"--items"_s, u"0"_s}}) {
            const auto run = runDemo(arguments, cwd.path());
            QCOMPARE(run.exitCode, 2);
            QVERIFY(run.err.contains("usage: zelvan-demo DIR"));
            QVERIFY(run.out.isEmpty());
            QVERIFY(QDir(cwd.path()).isEmpty());
        }
        QVERIFY(runDemo({u"--help"_s}).out.startsWith("usage: zelvan-demo DIR"));
        QVERIFY(QDir(cwd.path()).mkpath(u"inst/NRV_DEMO_2026.sqlite"_s));
        const auto run = runDemo({cwd.filePath(u"inst"_s)});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("NRV_DEMO_2026.sqlite"));
    }
};

QTEST_GUILESS_MAIN(TestZelvanDemo)
#include "tst_zelvandemo.moc"
