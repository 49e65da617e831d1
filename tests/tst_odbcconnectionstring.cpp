#include "platform/odbcconnectionstring.h"

#include <QTest>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

namespace {
const QString FreeTds = u";TDS_Version=7.4;ClientCharset=UTF-8"_s;
const QString Msodbc = u"ODBC Driver 18 for SQL Server"_s;
} // namespace

class TestOdbcConnectionString : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rewrite_data()
    {
        QTest::addColumn<QString>("adoStyle");
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("odbc");

        const QString sa = u"Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;Password=pw;"
                           u"Initial Catalog=DB1;Data Source=SRV\\SQL"_s;
        const QString values = u"SERVER={SRV\\SQL};DATABASE={DB1};UID={sa};PWD={pw}"_s;
        QTest::newRow("FreeTDS") << sa << u"FreeTDS"_s << QString() << u"DRIVER={FreeTDS};"_s + values + FreeTds;
        QTest::newRow("Microsoft's driver needs no FreeTDS settings") << sa << Msodbc << QString()
                                                                      << u"DRIVER={%1};"_s.arg(Msodbc) + values;
        QTest::newRow("FreeTDS named by its library")
            << sa << u"/usr/lib/odbc/libtdsodbc.so"_s << QString()
            << u"DRIVER={/usr/lib/odbc/libtdsodbc.so};"_s + values + FreeTds;
        const QString braces = u"User ID={u}=;Password=p}w{=;Initial Catalog=D}};Data Source=S"_s;
        QTest::newRow("braces inside values, ODBC's doubling")
            << braces << Msodbc << QString()
            << u"DRIVER={%1};SERVER={S};DATABASE={D}}}}};UID={{u}}=};PWD={p}}w{=}"_s.arg(Msodbc);
        QTest::newRow("braces inside values, FreeTDS takes them single")
            << braces << u"FreeTDS"_s << QString()
            << u"DRIVER={FreeTDS};SERVER={S};DATABASE={D}}};UID={{u}=};PWD={p}w{=}"_s + FreeTds;
        QTest::newRow("site options appended as they stand")
            << sa << Msodbc << u"Encrypt=yes;TrustServerCertificate=no"_s
            << u"DRIVER={%1};"_s.arg(Msodbc) + values + u";Encrypt=yes;TrustServerCertificate=no"_s;
        QTest::newRow("options after the FreeTDS settings, own separator kept")
            << sa << u"FreeTDS"_s << u";Encryption=require"_s
            << u"DRIVER={FreeTDS};"_s + values + FreeTds + u";Encryption=require"_s;
    }
    void rewrite()
    {
        QFETCH(QString, adoStyle);
        QFETCH(QString, driver);
        QFETCH(QString, options);
        QTEST(odbcConnectionString(ConnectionString::parse(adoStyle), OdbcSettings{driver, options}), "odbc");
    }

    void environment_data()
    {
        QTest::addColumn<QByteArray>("driver");  // "-" leaves the variable unset
        QTest::addColumn<QByteArray>("options");
        QTest::addColumn<QString>("expectedDriver");
        QTest::addColumn<QString>("expectedOptions");

        QTest::newRow("unset") << "-"_ba << "-"_ba << defaultOdbcDriver() << QString();
        QTest::newRow("empty driver keeps the default") << ""_ba << ""_ba << defaultOdbcDriver() << QString();
        QTest::newRow("both set") << "ODBC Driver 17 for SQL Server"_ba << "Encrypt=yes"_ba
                                  << u"ODBC Driver 17 for SQL Server"_s << u"Encrypt=yes"_s;
    }
    void environment()
    {
        QFETCH(QByteArray, driver);
        QFETCH(QByteArray, options);
        const auto set = [](const char *name, const QByteArray &value) {
            value == "-" ? void(qunsetenv(name)) : void(qputenv(name, value));
        };
        set("ZELVAN_ODBC_DRIVER", driver);
        set("ZELVAN_ODBC_OPTIONS", options);
        const OdbcSettings settings = odbcSettingsFromEnvironment();
        set("ZELVAN_ODBC_DRIVER", "-");
        set("ZELVAN_ODBC_OPTIONS", "-");
        QTEST(settings.driver, "expectedDriver");
        QTEST(settings.options, "expectedOptions");
#ifdef Q_OS_WIN
        QCOMPARE(defaultOdbcDriver(), u"ODBC Driver 18 for SQL Server"_s);
#else
        QCOMPARE(defaultOdbcDriver(), u"FreeTDS"_s);
#endif
    }
};

QTEST_GUILESS_MAIN(TestOdbcConnectionString)
#include "tst_odbcconnectionstring.moc"
