#include "database/connectionstring.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::database;
using namespace Qt::Literals::StringLiterals;

// Blanks, '=', braces and a ';' in a login run through the program's own tests.
class TestConnectionString : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void split_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("catalog");
        QTest::addColumn<QString>("source");
        const QString head = u"Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;"_s;
        QTest::newRow("plain") << head + u"Password=pw;Initial Catalog=DB1;Data Source=SRV1"_s << u"sa"_s << u"pw"_s << u"DB1"_s << u"SRV1"_s;
        QTest::newRow("password that names a keyword, last wins")
            << head + u"Password=x;Data Source=EVIL;Initial Catalog=D;Data Source=S"_s << u"sa"_s << u"x"_s << u"D"_s << u"S"_s;
        QTest::newRow("keywords in any case, blanks kept in values")
            << u"user id= sa ;PASSWORD= p ;initial catalog=D;data source= S"_s << u" sa "_s << u" p "_s << u"D"_s << u" S"_s;
        QTest::newRow("pieces without =") << u"junk;User ID=u;;Data Source=S"_s << u"u"_s << QString() << QString() << u"S"_s;
    }
    void split()
    {
        QFETCH(QString, text);
        const ConnectionString parsed = ConnectionString::parse(text);
        QTEST(parsed.userId(), "user");
        QTEST(parsed.password(), "password");
        QTEST(parsed.initialCatalog(), "catalog");
        QTEST(parsed.dataSource(), "source");
    }
};

QTEST_GUILESS_MAIN(TestConnectionString)
#include "tst_connectionstring.moc"
