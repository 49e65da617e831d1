#include "runtime/codepage1254.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::runtime;
using namespace Qt::Literals::StringLiterals;

class TestCodePage1254 : public QObject
{
    Q_OBJECT

private slots:
    void conversions()
    {
        QByteArray all;
        for (int code = 0; code < 256; ++code) {
            QCOMPARE(cp1254Code(cp1254Char(quint8(code))), code);
            all.append(char(code));
        }
        QCOMPARE(toCp1254(fromCp1254(all)), all);
        // The page's undefined codes stand for the C1 control of the same number.
        QCOMPARE(cp1254Char(0x81), char32_t(0x81));
        const QByteArray turkish("\xD0\xDD\xDE\xF0\xFD\xFE\xC7\xFC\x80");
        QCOMPARE(toCp1254(u"ĞİŞğışÇü€"_s), turkish);
        QCOMPARE(fromCp1254(turkish), u"ĞİŞğışÇü€"_s);
        // Characters the page lacks become question marks, one for a surrogate pair; among them
        // the Latin-1 letters whose places the Turkish letters took.
        QCOMPARE(toCp1254(u"ÐÝÞðýþ aΩb x😀y"_s), QByteArray("?????? a?b x?y"));
    }
};

QTEST_GUILESS_MAIN(TestCodePage1254)
#include "tst_codepage1254.moc"
