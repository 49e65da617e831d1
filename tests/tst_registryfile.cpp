#include "platform/codepage1254.h"
#include "platform/registry.h"
#include "platform/registryfile.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using zelvan::platform::Registry;
using zelvan::platform::RegistryTree;
using zelvan::platform::RegistryValue;

namespace {

// One line per key ("[path]") and per value ("name=type:text" for the text
// form, "name=type#hexbytes" for the others).
QStringList dump(const RegistryTree &tree)
{
    QStringList lines;
    for (const auto &key : tree.keys()) {
        lines.append(u'[' + key.path() + u']');
        for (const RegistryValue &value : key.values()) {
            const QString type = QString::number(value.type);
            if (value.isText)
                lines.append(value.name + u'=' + type + u':' + value.text);
            else
                lines.append(value.name + u'=' + type + u'#' + QString::fromLatin1(value.data.toHex()));
        }
    }
    return lines;
}

QByteArray file(const QString &body)
{
    return (u"REGEDIT4\n\n"_s + body).toUtf8();
}

} // namespace

class TestRegistryFile : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void otherRootsKeptVerbatim();
    void writeFormat();
    void roundTrip_data();
    void roundTrip();
    void keyExists_data();
    void keyExists();
    void fromData_data();
    void fromData();
    void everyCodeSurvivesTheTextForm();
    void largeInputs();
};

void TestRegistryFile::parse_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("expected");

    const QString cu = u"[HKEY_CURRENT_USER\\Control Panel\\International]\n"_s;
    const QString ci = u"[Control Panel\\International]"_s;

    QTest::newRow("every form") << file(cu + uR"("sDecimal"=","
"iCount"=dword:0000000a
"Bin"=hex:01,02,ff
@="default"
"Expand"=hex(2):25,00
"None"=hex(0):
)"_s) << QStringList{ci, u"sDecimal=1:,"_s, u"iCount=4#0a000000"_s, u"Bin=3#0102ff"_s,
                     u"=1:default"_s, u"Expand=2#2500"_s, u"None=0#"_s};

    QTest::newRow("escapes") << file(cu + uR"("Path"="C:\\Program Files\\\"x\""
"Odd"="a\nb\"
"Odd2"="a\tb"
"Quote\"Name"="1"
)"_s) << QStringList{ci, u"Path=1:C:\\Program Files\\\"x\""_s, u"Odd2=1:a\\tb"_s, u"Quote\"Name=1:1"_s};

    QTest::newRow("hex continuation") << file(cu + uR"("Long"=hex:01,02,\
  03,04,\
  05
"After"="x"
)"_s) << QStringList{ci, u"Long=3#0102030405"_s, u"After=1:x"_s};

    QTest::newRow("continuation ending the file") << file(cu + u"\"Cut\"=hex:01,\\\n"_s)
                                                  << QStringList{ci};

    QTest::newRow("continuation cut by a section")
        << file(cu + u"\"Cut\"=hex:01,\\\n[HKEY_CURRENT_USER\\Next]\n\"a\"=\"b\"\n"_s)
        << QStringList{ci, u"[Next]"_s, u"a=1:b"_s};

    QTest::newRow("keys and names ignore letter case")
        << file(uR"([HKEY_CURRENT_USER\Software\Foo]
"Name"="1"
[hkey_current_user\SOFTWARE\FOO]
"NAME"="2"
"other"="3"
)"_s) << QStringList{u"[Software\\Foo]"_s, u"Name=1:2"_s, u"other=1:3"_s};

    QTest::newRow("malformed lines skipped")
        << file(cu + uR"(garbage
"Unterminated="x"
"NoEquals" "x"
"Kind"=bogus:12
"BadHex"=hex:0g,01
"LongHexByte"=hex:123
"EmptyByte"=hex:01,,02
"LongDword"=dword:123456789
"EmptyDword"=dword:
"Trailing"="a" b
"Deleted"=-
"Good"="kept"
)"_s) << QStringList{ci, u"Good=1:kept"_s};

    QTest::newRow("short dword, spaces, trailing comment")
        << file(cu + u"\"D\" = dword:A ; ten\n\"S\" = \"x\" ; note\n"_s)
        << QStringList{ci, u"D=4#0a000000"_s, u"S=1:x"_s};

    QTest::newRow("values outside a key are skipped")
        << file(u"\"Lost\"=\"x\"\n"_s + cu + u"\"Kept\"=\"y\"\n"_s) << QStringList{ci, u"Kept=1:y"_s};

    QTest::newRow("bad headers skip their lines")
        << file(uR"([HKEY_CURRENT_USER\a\\b]
"Lost1"="x"
[HKEY_CURRENT_USER\]
"Lost2"="x"
[-HKEY_CURRENT_USER\gone]
"Lost3"="x"
[HKEY_CURRENT_USER\open
"Lost4"="x"
[NOT_A_ROOT\x]
"Lost5"="x"
[HKEY_CURRENT_USER\ok]
"Kept"="y"
)"_s) << QStringList{u"[ok]"_s, u"Kept=1:y"_s};

    QTest::newRow("root key and empty key")
        << file(u"[HKEY_CURRENT_USER]\n\"Top\"=\"1\"\n[HKEY_CURRENT_USER\\Empty]\n"_s)
        << QStringList{u"[]"_s, u"Top=1:1"_s, u"[Empty]"_s};

    QTest::newRow("comments")
        << file(u"; header comment\n"_s + cu + u"; inside\n  ;indented\n\"a\"=\"b\"\n"_s)
        << QStringList{ci, u"a=1:b"_s};

    QTest::newRow("CRLF, BOM, no header")
        << QByteArray("\xEF\xBB\xBF[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"b\"\r\n\"h\"=hex:01,\\\r\n  02\r\n")
        << QStringList{u"[K]"_s, u"a=1:b"_s, u"h=3#0102"_s};

    QTest::newRow("Turkish text")
        << file(u"[HKEY_CURRENT_USER\\Şirket Ayarları]\n\"Kullanıcı\"=\"ÇĞİÖŞÜ çğıöşü\"\n"_s)
        << QStringList{u"[Şirket Ayarları]"_s, u"Kullanıcı=1:ÇĞİÖŞÜ çğıöşü"_s};

    QTest::newRow("invalid UTF-8 does not stop the reading")
        << QByteArray("[HKEY_CURRENT_USER\\K]\n\"a\"=\"\xFF\xFE\"\n\"b\"=\"c\"\n")
        << QStringList{u"[K]"_s, u"a=1:\uFFFD\uFFFD"_s, u"b=1:c"_s};

    QTest::newRow("empty input") << QByteArray() << QStringList();
    QTest::newRow("only a bracket") << QByteArray("[") << QStringList();
    QTest::newRow("only a quote") << QByteArray("[HKEY_CURRENT_USER\\K]\n\"") << QStringList{u"[K]"_s};
    QTest::newRow("only a backslash") << QByteArray("[HKEY_CURRENT_USER\\K]\n\"a\"=hex:\\")
                                      << QStringList{u"[K]"_s};
}

void TestRegistryFile::parse()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, expected);
    QCOMPARE(dump(zelvan::platform::parseRegistryFile(input)), expected);
}

void TestRegistryFile::otherRootsKeptVerbatim()
{
    const QByteArray input = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\X]\n\"a\"=\"b\"\n; note\r\r\n\n"
                             "[HKEY_CURRENT_USER\\K]\n\"c\"=\"d\"\n";
    const RegistryTree tree = zelvan::platform::parseRegistryFile(input);
    QCOMPARE(dump(tree), (QStringList{u"[K]"_s, u"c=1:d"_s}));
    QCOMPARE(tree.otherRoots.size(), 1);
    QCOMPARE(tree.otherRoots[0],
             (QByteArrayList{"[HKEY_LOCAL_MACHINE\\Software\\X]", "\"a\"=\"b\"", "; note"}));

    const QByteArray written = zelvan::platform::writeRegistryFile(tree);
    QVERIFY(written.contains("\n[HKEY_LOCAL_MACHINE\\Software\\X]\n\"a\"=\"b\"\n; note\n"));
    QCOMPARE(zelvan::platform::parseRegistryFile(written).otherRoots, tree.otherRoots);
}

void TestRegistryFile::writeFormat()
{
    RegistryTree tree;
    auto &key = tree.addKey(u"Control Panel\\International"_s);
    key.setValue(RegistryValue::fromData(u"sDecimal"_s, Registry::TypeString, QByteArray(",\0", 2)));
    key.setValue(RegistryValue::fromData(u"Yol"_s, Registry::TypeString, QByteArray("C:\\\"\xDE\0", 6)));
    key.setValue(RegistryValue::fromData(QString(), Registry::TypeString, QByteArray("v\0", 2)));
    key.setValue(RegistryValue::fromData(u"iCount"_s, Registry::TypeDword, QByteArray("\x0a\x00\x00\x80", 4)));
    key.setValue(RegistryValue::fromData(u"Raw"_s, Registry::TypeString, QByteArray("ab")));
    key.setValue(RegistryValue::fromData(u"Bin"_s, Registry::TypeBinary, QByteArray(30, '\x11')));
    key.setValue(RegistryValue::fromData(u"ShortDword"_s, Registry::TypeDword, QByteArray("\x01", 1)));

    const QByteArray expected = "REGEDIT4\n"
                                "\n"
                                "[HKEY_CURRENT_USER\\Control Panel\\International]\n"
                                "\"sDecimal\"=\",\"\n"
                                "\"Yol\"=\"C:\\\\\\\"\xC5\x9E\"\n"
                                "@=\"v\"\n"
                                "\"iCount\"=dword:8000000a\n"
                                "\"Raw\"=hex(1):61,62\n"
                                "\"Bin\"=hex:11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,\\\n"
                                "  11,11,11,11,11,11,11,11\n"
                                "\"ShortDword\"=hex(4):01\n";
    QCOMPARE(zelvan::platform::writeRegistryFile(tree), expected);
}

void TestRegistryFile::roundTrip_data()
{
    QTest::addColumn<QByteArray>("input");

    QTest::newRow("regional settings") << file(uR"([HKEY_CURRENT_USER\Control Panel\International]
"sDecimal"=","
"sThousand"="."
"sShortDate"="dd.MM.yyyy"
"sDate"="."
[HKEY_CURRENT_USER\DEF_NORVENT]
"DEF_KUL"="Ayşe Işık"
"DEF_SRVR"="SUNUCU\\SQL2019"
)"_s);
    QTest::newRow("long binary wraps") << file(u"[HKEY_CURRENT_USER\\K]\n\"b\"=hex:"_s
                                               + QString::fromLatin1(QByteArray(200, '\x5a').toHex(',')) + u'\n');
    QTest::newRow("text with blanks and tab") << file(u"[HKEY_CURRENT_USER\\K]\n\"t\"=\"  a\tb  \"\n"_s);
    QTest::newRow("types") << file(uR"([HKEY_CURRENT_USER]
@="root"
[HKEY_CURRENT_USER\A\B]
"d"=dword:ffffffff
"m"=hex(7):61,00,00
"e"=hex:
)"_s);
}

void TestRegistryFile::roundTrip()
{
    QFETCH(QByteArray, input);
    const RegistryTree first = zelvan::platform::parseRegistryFile(input);
    QVERIFY(!first.keys().isEmpty());
    const QByteArray written = zelvan::platform::writeRegistryFile(first);
    const RegistryTree second = zelvan::platform::parseRegistryFile(written);
    QCOMPARE(dump(second), dump(first));
    QCOMPARE(zelvan::platform::writeRegistryFile(second), written);
}

void TestRegistryFile::keyExists_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("exists");

    QTest::newRow("written") << u"Software\\Suite\\Settings"_s << true;
    QTest::newRow("other case") << u"SOFTWARE\\suite\\SETTINGS"_s << true;
    QTest::newRow("parent") << u"Software\\Suite"_s << true;
    QTest::newRow("grandparent") << u"software"_s << true;
    QTest::newRow("root") << QString() << true;
    QTest::newRow("child") << u"Software\\Suite\\Settings\\More"_s << false;
    QTest::newRow("prefix of a name") << u"Software\\Sui"_s << false;
    QTest::newRow("sibling") << u"Software\\Other"_s << false;
    QTest::newRow("Turkish key") << u"Şirket Ayarları"_s << true;
    QTest::newRow("dotless I in capitals") << u"ŞIRKET AYARLARI"_s << true;
    QTest::newRow("dotted i in small letters") << u"şirket ayarlari"_s << true;
    QTest::newRow("dotted capital İ differs") << u"ŞİRKET AYARLARI"_s << false;
}

void TestRegistryFile::keyExists()
{
    QFETCH(QString, path);
    QFETCH(bool, exists);
    const RegistryTree tree = zelvan::platform::parseRegistryFile(
        u"[HKEY_CURRENT_USER\\Software\\Suite\\Settings]\n\"a\"=\"b\"\n"
        u"[HKEY_CURRENT_USER\\Şirket Ayarları]\n"_s.toUtf8());
    QCOMPARE(tree.keyExists(path), exists);
}

void TestRegistryFile::fromData_data()
{
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("isText");
    QTest::addColumn<QString>("text");

    QTest::newRow("text with NUL") << Registry::TypeString << QByteArray("abc\0", 4) << true << u"abc"_s;
    QTest::newRow("empty text") << Registry::TypeString << QByteArray("\0", 1) << true << QString();
    QTest::newRow("1254 letters") << Registry::TypeString << QByteArray("\xDE\xFD\xD0\xDD\0", 5) << true
                                  << u"ŞıĞİ"_s;
    QTest::newRow("no NUL") << Registry::TypeString << QByteArray("abc") << false << QString();
    QTest::newRow("no data") << Registry::TypeString << QByteArray() << false << QString();
    QTest::newRow("inner NUL") << Registry::TypeString << QByteArray("a\0b\0", 4) << false << QString();
    QTest::newRow("two NULs") << Registry::TypeString << QByteArray("a\0\0", 3) << false << QString();
    QTest::newRow("line break") << Registry::TypeString << QByteArray("a\nb\0", 4) << false << QString();
    QTest::newRow("carriage return") << Registry::TypeString << QByteArray("a\rb\0", 4) << false << QString();
    QTest::newRow("binary") << Registry::TypeBinary << QByteArray("ab\0", 3) << false << QString();
}

void TestRegistryFile::fromData()
{
    QFETCH(quint32, type);
    QFETCH(QByteArray, data);
    QFETCH(bool, isText);
    QFETCH(QString, text);

    const RegistryValue value = RegistryValue::fromData(u"v"_s, type, data);
    QCOMPARE(value.type, type);
    QCOMPARE(value.isText, isText);
    QCOMPARE(value.text, text);
    QCOMPARE(value.toData(), data);

    RegistryTree tree;
    tree.addKey(u"K"_s).setValue(value);
    const RegistryTree back = zelvan::platform::parseRegistryFile(zelvan::platform::writeRegistryFile(tree));
    QVERIFY(back.key(u"K"));
    QVERIFY(back.key(u"K")->value(u"V"));
    QCOMPARE(back.key(u"K")->value(u"V")->toData(), data);
    QCOMPARE(back.key(u"K")->value(u"V")->type, type);
}

void TestRegistryFile::everyCodeSurvivesTheTextForm()
{
    QByteArray data;
    for (int code = 1; code < 256; ++code) {
        if (code != '\n' && code != '\r')
            data.append(char(code));
    }
    data.append('\0');
    const RegistryValue value = RegistryValue::fromData(u"all"_s, Registry::TypeString, data);
    QVERIFY(value.isText);
    RegistryTree tree;
    tree.addKey(u"K"_s).setValue(value);
    const QByteArray written = zelvan::platform::writeRegistryFile(tree);
    QVERIFY(written.contains(u"\u015E"_s.toUtf8()));  // 0xDE is written as the letter, in UTF-8
    const RegistryTree back = zelvan::platform::parseRegistryFile(written);
    QCOMPARE(back.key(u"k")->value(u"ALL")->toData(), data);
}

void TestRegistryFile::largeInputs()
{
    // Long continuations, a deep path and many keys must all be read in one pass.
    QByteArray continued = "[HKEY_CURRENT_USER\\K]\n\"big\"=hex:00";
    for (int i = 0; i < 50000; ++i)
        continued.append(",\\\n  01");
    continued.append('\n');
    const RegistryTree big = zelvan::platform::parseRegistryFile(continued);
    QCOMPARE(big.key(u"K")->value(u"big")->data.size(), 50001);

    QByteArray deep = "[HKEY_CURRENT_USER\\";
    for (int i = 0; i < 100000; ++i)
        deep.append("a\\");
    deep.append("z]\n\"v\"=\"1\"\n");
    QCOMPARE(zelvan::platform::parseRegistryFile(deep).keys().size(), 1);

    QByteArray many;
    for (int i = 0; i < 20000; ++i)
        many.append("[HKEY_CURRENT_USER\\Key" + QByteArray::number(i) + "]\n\"v\"=dword:00000001\n");
    const RegistryTree keys = zelvan::platform::parseRegistryFile(many);
    QCOMPARE(keys.keys().size(), 20000);
    QVERIFY(keys.keyExists(u"key19999"));

    QByteArray quotes(200000, '"');
    quotes.prepend("[HKEY_CURRENT_USER\\K]\n");
    QCOMPARE(dump(zelvan::platform::parseRegistryFile(quotes)), QStringList{u"[K]"_s});
}

QTEST_APPLESS_MAIN(TestRegistryFile)
#include "tst_registryfile.moc"
