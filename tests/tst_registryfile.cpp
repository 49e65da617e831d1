#include "platform/codepage1254.h"
#include "platform/registry.h"
#include "platform/registryfile.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan::platform;

namespace {

// "[path]" per key, then "name=type:text" (text form) or "name=type#hex" per value.
QStringList dump(const RegistryTree &tree)
{
    QStringList lines;
    for (const auto &key : tree.keys()) {
        lines.append(u'[' + key.path() + u']');
        for (const RegistryValue &v : key.values())
            lines.append(v.name + u'=' + QString::number(v.type)
                         + (v.isText ? u':' + v.text : u'#' + QString::fromLatin1(v.data.toHex())));
    }
    return lines;
}

// A REGEDIT4 file with these lines under the regional settings key.
QByteArray file(const QStringList &lines)
{
    return (u"REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\International]\n"_s + lines.join(u'\n') + u'\n').toUtf8();
}

const QString Intl = u"[Control Panel\\International]"_s;

} // namespace

class TestRegistryFile : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void writeFormat();
    void fromData_data();
    void fromData();
};

void TestRegistryFile::parse_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("every form")
        << file({uR"("sDecimal"=",")"_s, uR"("iCount"=dword:0000000a)"_s, uR"("Bin"=hex:01,02,ff)"_s, uR"(@="default")"_s,
                 uR"("Expand"=hex(2):25,00)"_s, uR"("None"=hex(0):)"_s, uR"("D" = dword:A ; ten)"_s})
        << QStringList{Intl, u"sDecimal=1:,"_s, u"iCount=4#0a000000"_s, u"Bin=3#0102ff"_s, u"=1:default"_s,
                       u"Expand=2#2500"_s, u"None=0#"_s, u"D=4#0a000000"_s};
    // Only \\ and \" are escapes.
    QTest::newRow("escapes") << file({uR"("Path"="C:\\x\\\"y\"")"_s, uR"("Odd"="a\tb\")"_s, uR"("Q\"Name"="a\tb")"_s})
                             << QStringList{Intl, u"Path=1:C:\\x\\\"y\""_s, u"Q\"Name=1:a\\tb"_s};
    QTest::newRow("hex continuation, then one cut by a section")
        << file({uR"("Long"=hex:01,02,\)"_s, uR"(  03,04,\)"_s, u"  05"_s, uR"("Cut"=hex:01,\)"_s,
                 uR"([HKEY_CURRENT_USER\Next])"_s, uR"("a"="b")"_s})
        << QStringList{Intl, u"Long=3#0102030405"_s, u"[Next]"_s, u"a=1:b"_s};
    QTest::newRow("keys and names ignore letter case")
        << file({uR"("Name"="1")"_s, uR"([hkey_current_user\CONTROL PANEL\international])"_s, uR"("NAME"="2")"_s})
        << QStringList{Intl, u"Name=1:2"_s};
    QTest::newRow("malformed lines skipped")
        << file({u"garbage"_s, u"; comment"_s, uR"("Unterminated="x")"_s, uR"("NoEquals" "x")"_s, uR"("Kind"=bogus:12)"_s,
                 uR"("BadHex"=hex:0g,01)"_s, uR"("EmptyByte"=hex:01,,02)"_s, uR"("LongDword"=dword:123456789)"_s,
                 uR"("Trailing"="a" b)"_s, uR"("Deleted"=-)"_s, uR"("Good"="kept" ; note)"_s})
        << QStringList{Intl, u"Good=1:kept"_s};
    QTest::newRow("values outside a key or under a bad header are skipped")
        << QByteArray("\"L\"=\"x\"\n[HKEY_CURRENT_USER\\a\\\\b]\n\"L\"=\"x\"\n[HKEY_CURRENT_USER\\]\n\"L\"=\"x\"\n"
                      "[-HKEY_CURRENT_USER\\gone]\n\"L\"=\"x\"\n[HKEY_CURRENT_USER\\open\n\"L\"=\"x\"\n[NOT_A_ROOT\\x]\n"
                      "\"L\"=\"x\"\n[HKEY_CURRENT_USER]\n@=\"root\"\n[HKEY_CURRENT_USER\\Empty]")
        << QStringList{u"[]"_s, u"=1:root"_s, u"[Empty]"_s};
    QTest::newRow("CRLF, BOM, no header")
        << QByteArray("\xEF\xBB\xBF[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"b\"\r\n\"h\"=hex:01,\\\r\n  02\r\n")
        << QStringList{u"[K]"_s, u"a=1:b"_s, u"h=3#0102"_s};
    QTest::newRow("UTF-8, valid or not") << u"[HKEY_CURRENT_USER\\Şirket]\n\"Kullanıcı\"=\"ÇĞİ"_s.toUtf8() + "\xFF\"\n\"b\"=\"c\"\n"
                                         << QStringList{u"[Şirket]"_s, u"Kullanıcı=1:ÇĞİ\uFFFD"_s, u"b=1:c"_s};
    QTest::newRow("cut short") << QByteArray("[HKEY_CURRENT_USER\\K]\n\"a\"=hex:\\") << QStringList{u"[K]"_s};

    // Long inputs are read in one pass, without deep recursion.
    QTest::newRow("50000 continuations") << "[HKEY_CURRENT_USER\\K]\n\"big\"=hex:00" + QByteArray(",\\\n  01").repeated(50000)
                                         << QStringList{u"[K]"_s, u"big=3#00"_s + u"01"_s.repeated(50000)};
    QTest::newRow("200000 quotes") << "[HKEY_CURRENT_USER\\K]\n" + QByteArray(200000, '"') << QStringList{u"[K]"_s};
}

void TestRegistryFile::parse()
{
    QFETCH(QByteArray, input);
    QTEST(dump(parseRegistryFile(input)), "expected");
}

void TestRegistryFile::writeFormat()
{
    // Sections of other roots come back as they stood (blank lines aside), after ours.
    RegistryTree tree = parseRegistryFile("[HKEY_LOCAL_MACHINE\\Software\\X]\n\"a\"=\"b\"\n; note\r\r\n\n");
    auto &key = tree.addKey(u"Control Panel\\International"_s);
    const std::tuple<QString, quint32, QByteArray> values[] = {
        {u"sDecimal"_s, Registry::TypeString, QByteArray(".\0", 2)},
        {u"Yol"_s, Registry::TypeString, QByteArray("C:\\\"\xDE\0", 6)}, {QString(), Registry::TypeString, QByteArray("v\0", 2)},
        {u"iCount"_s, Registry::TypeDword, QByteArray("\x0a\x00\x00\x80", 4)},
        {u"Raw"_s, Registry::TypeString, QByteArray("ab")}, {u"Bin"_s, Registry::TypeBinary, QByteArray(50, '\x11')},
        {u"ShortDword"_s, Registry::TypeDword, QByteArray("\x01", 1)},
        {u"SDECIMAL"_s, Registry::TypeString, QByteArray(",\0", 2)},  // replaced in place; the name keeps its first spelling
    };
    for (const auto &[name, type, data] : values)
        key.setValue(RegistryValue::fromData(name, type, data));
    tree.addKey(QString()).setValue(RegistryValue::fromData(u"m"_s, 7, QByteArray("a\0\0", 3)));

    const QByteArray expected = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\International]\n\"sDecimal\"=\",\"\n"
                                "\"Yol\"=\"C:\\\\\\\"\xC5\x9E\"\n@=\"v\"\n\"iCount\"=dword:8000000a\n\"Raw\"=hex(1):61,62\n"
                                "\"Bin\"=hex:11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,\\\n"
                                "  11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,\\\n"
                                "  11,11,11\n\"ShortDword\"=hex(4):01\n\n[HKEY_CURRENT_USER]\n\"m\"=hex(7):61,00,00\n\n"
                                "[HKEY_LOCAL_MACHINE\\Software\\X]\n\"a\"=\"b\"\n; note\n";
    QCOMPARE(writeRegistryFile(tree), expected);
    // What is written reads back as it was.
    const RegistryTree back = parseRegistryFile(expected);
    QCOMPARE(dump(back), dump(tree));
    QCOMPARE(writeRegistryFile(back), expected);
}

// Text form or bytes, and back through the file unchanged.
void TestRegistryFile::fromData_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("isText");
    QByteArray everyCode;  // every code of 1254 but the line breaks, and a NUL
    for (int code = 1; code < 256; ++code)
        everyCode.append(code == '\n' || code == '\r' ? QByteArray() : QByteArray(1, char(code)));
    QTest::newRow("every code") << everyCode + '\0' << true;
    QTest::newRow("empty text") << QByteArray("\0", 1) << true;
    QTest::newRow("inner NUL") << QByteArray("a\0b\0", 4) << false;
    QTest::newRow("line break") << QByteArray("a\nb\0", 4) << false;
    QTest::newRow("carriage return") << QByteArray("a\rb\0", 4) << false;
}

void TestRegistryFile::fromData()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, isText);
    const RegistryValue value = RegistryValue::fromData(u"v"_s, Registry::TypeString, data);
    QCOMPARE(value.isText, isText);
    QCOMPARE(value.text, isText ? fromCp1254(data.chopped(1)) : QString());
    RegistryTree tree;
    tree.addKey(u"K"_s).setValue(value);
    const RegistryTree read = parseRegistryFile(writeRegistryFile(tree));
    const RegistryValue *back = read.key(u"k")->value(u"V");
    QVERIFY(back);
    QCOMPARE(back->type, Registry::TypeString);
    QCOMPARE(back->toData(), data);
}

QTEST_APPLESS_MAIN(TestRegistryFile)
#include "tst_registryfile.moc"
