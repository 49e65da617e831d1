#include "platform/registry.h"
#include "platform/registryexport.h"
#include "runtime/codepage1254.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan;
using namespace zelvan::platform;

// "[path]" per key, then "name=type:text" (text form) or "name=type#hex" per value, joined by '|'.
static QString dump(const RegistryTree &tree)
{
    QStringList lines;
    for (const auto &key : tree.keys()) {
        lines.append(u'[' + key.path() + u']');
        for (const RegistryValue &v : key.values())
            lines.append(v.name + u'=' + QString::number(v.type)
                         + (v.isText ? u':' + v.text : u'#' + QString::fromLatin1(v.data.toHex())));
    }
    return lines.join(u'|');
}

class TestRegistryExport : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse()
    {
        QFETCH(QByteArray, input); QTEST(dump(parseRegistryFile(input.replace('|', '\n'))), "expected");
    }

    // Sections of other roots come back as they stood (blank lines aside), after ours. What is written
    // reads back as it was. A REG_SZ is text when it is plain text ended by one NUL, else bytes.
    void write()
    {
        RegistryTree tree = parseRegistryFile("[HKEY_LOCAL_MACHINE\\Software\\X]\n\"a\"=\"b\"\n; note\r\r\n\n");
        const quint32 text = Registry::TypeString, dword = Registry::TypeDword, binary = Registry::TypeBinary;
        // SDECIMAL replaces sDecimal in place; the name keeps its first spelling.
        const std::tuple<QString, quint32, QByteArray> values[] = {{u"sDecimal"_s, text, {".\0", 2}}, {QString(), text, {"v\0", 2}},
            {u"Yol"_s, text, {"C:\\\"\xDE\0", 6}}, {u"Raw"_s, text, "ab"}, {u"iCount"_s, dword, {"\x0a\x00\x00\x80", 4}},
            {u"Bin"_s, binary, QByteArray(50, '\x11')}, {u"ShortDword"_s, dword, {"\x01", 1}}, {u"SDECIMAL"_s, text, {",\0", 2}}};
        for (const auto &[name, type, data] : values)
            tree.addKey(u"Control Panel\\International"_s).setValue(RegistryValue::fromData(name, type, data));
        tree.addKey(QString()).setValue(RegistryValue::fromData(u"m"_s, 7, QByteArray("a\0\0", 3)));
        const QByteArray expected = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\International]\n\"sDecimal\"=\",\"\n@=\"v\"\n\"Yol\"="
                                    "\"C:\\\\\\\"\xC5\x9E\"\n\"Raw\"=hex(1):61,62\n\"iCount\"=dword:8000000a\n"
                                    "\"Bin\"=hex:11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,\\\n"
                                    "  11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,\\\n"
                                    "  11,11,11\n\"ShortDword\"=hex(4):01\n\n[HKEY_CURRENT_USER]\n\"m\"=hex(7):61,00,00\n\n"
                                    "[HKEY_LOCAL_MACHINE\\Software\\X]\n\"a\"=\"b\"\n; note\n";
        QCOMPARE(writeRegistryFile(tree), expected);

        QByteArray everyCode;  // every code of 1254 but the line breaks
        for (int code = 1; code < 256; ++code)
            everyCode.append(code == '\n' || code == '\r' ? QByteArray() : QByteArray(1, char(code)));
        const QByteArray data[] = {everyCode + '\0', QByteArray("\0", 1), {"a\0b\0", 4}, {"a\nb\0", 4}, {"a\rb\0", 4}};
        for (int i = 0; i < 5; ++i)
            tree.addKey(u"K"_s).setValue(RegistryValue::fromData(QString::number(i), Registry::TypeString, data[i]));
        const RegistryTree back = parseRegistryFile(writeRegistryFile(tree));
        QCOMPARE(writeRegistryFile(back), writeRegistryFile(tree));
        const QList<RegistryValue> &made = tree.key(u"K")->values(), &read = back.key(u"k")->values();
        for (int i = 0; i < 5; ++i)
            QCOMPARE(std::pair(made[i].isText, read[i].toData()), std::pair(i < 2, data[i]));
    }
};

// Input lines are separated by '|', and so are the lines of the dump.
void TestRegistryExport::parse_data()
{
    QTest::addColumn<QByteArray>("input"); QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const QByteArray &input, const QString &expected) { QTest::newRow(name) << input << expected; };
    // Only \\ and \" are escapes.
    row("every form, escapes",
        R"(REGEDIT4||[HKEY_CURRENT_USER\K]|"sDecimal"=","|"iCount"=dword:0000000a|"Bin"=hex:01,02,ff|@="default"|)"
        R"("Expand"=hex(2):25,00|"None"=hex(0):|"D" = dword:A ; ten|"Path"="C:\\x\\\"y\""|"Odd"="a\tb\"|"Q\"Name"="a\tb")",
        uR"([K]|sDecimal=1:,|iCount=4#0a000000|Bin=3#0102ff|=1:default|Expand=2#2500|None=0#|D=4#0a000000|)"
        uR"(Path=1:C:\x\"y"|Q"Name=1:a\tb)"_s);
    row("hex continuation, one cut by a section; keys and names ignore letter case",
        R"([HKEY_CURRENT_USER\Control Panel\Intl]|"Long"=hex:01,02,\|  03,04,\|  05|"Name"="1"|)"
        R"([hkey_current_user\CONTROL PANEL\intl]|"NAME"="2"|"Cut"=hex:01,\|[HKEY_CURRENT_USER\Next]|"a"="b")",
        uR"([Control Panel\Intl]|Long=3#0102030405|Name=1:2|[Next]|a=1:b)"_s);
    row("values outside a key, under a bad header or malformed are skipped",
        R"("L"="x"|[HKEY_CURRENT_USER\a\\b]|"L"="x"|[HKEY_CURRENT_USER\]|"L"="x"|[-HKEY_CURRENT_USER\gone]|"L"="x"|)"
        R"([HKEY_CURRENT_USER\open|"L"="x"|[NOT_A_ROOT\x]|"L"="x"|[HKEY_CURRENT_USER]|@="root"|[HKEY_CURRENT_USER\Empty]|)"
        R"([HKEY_CURRENT_USER\K]|garbage|; comment|"Unterminated="x"|"NoEquals" "x"|"Kind"=bogus:12|"BadHex"=hex:0g,01|)"
        R"("EmptyByte"=hex:01,,02|"LongDword"=dword:123456789|"Trailing"="a" b|"Deleted"=-|"Good"="kept" ; note)",
        u"[]|=1:root|[Empty]|[K]|Good=1:kept"_s);
    row("CRLF, BOM, no header; UTF-8, valid or not",
        "\xEF\xBB\xBF[HKEY_CURRENT_USER\\K]\r|\"a\"=\"b\"\r|\"h\"=hex:01,\\\r|  02\r|"
            + u"[HKEY_CURRENT_USER\\Şirket]|\"Kullanıcı\"=\"ÇĞİ"_s.toUtf8() + "\xFF\"|\"b\"=\"c\"|",
        u"[K]|a=1:b|h=3#0102|[Şirket]|Kullanıcı=1:ÇĞİ\uFFFD|b=1:c"_s);
    // Long inputs are read in one pass, without deep recursion; a continuation may be cut short.
    row("50000 continuations, 200000 quotes, cut short",
        "[HKEY_CURRENT_USER\\K]|\"big\"=hex:00" + QByteArray(",\\|  01").repeated(50000) + '|' + QByteArray(200000, '"') + "|\"a\"=hex:\\",
        u"[K]|big=3#00"_s + u"01"_s.repeated(50000));
}

QTEST_APPLESS_MAIN(TestRegistryExport)
#include "tst_registryexport.moc"
