#include "platform/odbcconnectionstring.h"

#include <QTest>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

class TestOdbcConnectionString : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The expected text follows "DRIVER={driver};".
    void rewrite_data()
    {
        QTest::addColumn<QString>("adoStyle");
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("odbc");
        const auto row = [](const char *name, const QString &ado, const QString &driver, const QString &options,
                            const QString &odbc) { QTest::newRow(name) << ado << driver << options << odbc; };
        const QString sa = u"Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;Password=pw;"
                           u"Initial Catalog=DB1;Data Source=SRV\\SQL"_s;
        const QString values = u"SERVER={SRV\\SQL};DATABASE={DB1};UID={sa};PWD={pw}"_s;
        const QString FreeTds = u";TDS_Version=7.4;ClientCharset=UTF-8"_s;
        const QString Msodbc = u"ODBC Driver 18 for SQL Server"_s;
        const QString braces = u"User ID={u}=;Password=p}w{=;Initial Catalog=D}};Data Source=S"_s;
        row("Microsoft's driver needs no FreeTDS settings; site options appended as they stand", sa, Msodbc,
            u"Encrypt=yes;TrustServerCertificate=no"_s, values + u";Encrypt=yes;TrustServerCertificate=no"_s);
        row("FreeTDS named by its library, options after its settings", sa, u"/usr/lib/odbc/libtdsodbc.so"_s,
            u";Encryption=require"_s, values + FreeTds + u";Encryption=require"_s);
        row("braces inside values, ODBC's doubling", braces, Msodbc, {},
            u"SERVER={S};DATABASE={D}}}}};UID={{u}}=};PWD={p}}w{=}"_s);
        row("braces inside values, FreeTDS takes them single", braces, u"FreeTDS"_s, {},
            u"SERVER={S};DATABASE={D}}};UID={{u}=};PWD={p}w{=}"_s + FreeTds);
    }
    void rewrite()
    {
        QFETCH(QString, adoStyle);
        QFETCH(QString, driver);
        QFETCH(QString, options);
        QFETCH(QString, odbc);
        QCOMPARE(odbcConnectionString(ConnectionString::parse(adoStyle), OdbcSettings{driver, options}),
                 u"DRIVER={"_s + driver + u"};"_s + odbc);
    }

    void environment()
    {
        const auto settings = [](const QByteArray &driver, const QByteArray &options) {
            qputenv("ZELVAN_ODBC_DRIVER", driver);
            qputenv("ZELVAN_ODBC_OPTIONS", options);
            const OdbcSettings read = odbcSettingsFromEnvironment();
            return read.driver + u'|' + read.options;
        };
        QCOMPARE(settings("ODBC Driver 17 for SQL Server", "Encrypt=yes"), u"ODBC Driver 17 for SQL Server|Encrypt=yes"_s);
        QCOMPARE(settings("", ""), defaultOdbcDriver() + u'|');  // an empty driver keeps the default
        qunsetenv("ZELVAN_ODBC_DRIVER");
        qunsetenv("ZELVAN_ODBC_OPTIONS");
        QCOMPARE(odbcSettingsFromEnvironment().driver, defaultOdbcDriver());
#ifdef Q_OS_WIN
        QCOMPARE(defaultOdbcDriver(), u"ODBC Driver 18 for SQL Server"_s);
#else
        QCOMPARE(defaultOdbcDriver(), u"FreeTDS"_s);
#endif
    }
};

QTEST_GUILESS_MAIN(TestOdbcConnectionString)
#include "tst_odbcconnectionstring.moc"
