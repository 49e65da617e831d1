#include "platform/registry.h"
#include "platform/registryexport.h"
#include "support/zelvanrun.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan;
using namespace zelvan::platform;

namespace {

// One entry per key, "[path]", then one per value: "name=type:text" for text, "name=type#hex" for bytes.
QStringList dump(const RegistryTree &tree)
{
    QStringList entries;
    for (const auto &key : tree.keys()) {
        entries.append(u'[' + key.path() + u']');
        for (const RegistryValue &v : key.values())
            entries.append(v.name + u'=' + QString::number(v.type) + (v.isText ? u':' + v.text : u'#' + QString::fromLatin1(v.data.toHex())));
    }
    return entries;
}

QByteArray lines(const QByteArrayList &lines) { return lines.join('\n'); }

} // namespace

class TestRegistryExport : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse()
    {
        QFETCH(QByteArray, input);
        QTEST(dump(parseRegistryFile(input)), "tree");
    }

    // Sections of other roots come back as they stood (blank lines aside), after ours. A replaced value keeps
    // its place and first spelling (tst_registryfilestore). That what is written reads back as it was, the
    // fuzz corpus replay checks of every input.
    void write()
    {
        RegistryTree tree = parseRegistryFile("[HKEY_LOCAL_MACHINE\\Software\\X]\n\"a\"=\"b\"\n; note\r\r\n\n");
        RegistryKeyData &intl = tree.addKey(u"Control Panel\\International"_s);
        intl.setValue(RegistryValue::fromData(QString(), Registry::TypeString, {"v\0", 2}));
        intl.setValue(RegistryValue::fromData(u"Yol"_s, Registry::TypeString, {"C:\\\"\xDE\0", 6}));
        intl.setValue(RegistryValue::fromData(u"Raw"_s, Registry::TypeString, "ab"));
        intl.setValue(RegistryValue::fromData(u"iCount"_s, Registry::TypeDword, {"\x0a\x00\x00\x80", 4}));
        intl.setValue(RegistryValue::fromData(u"Bin"_s, Registry::TypeBinary, QByteArray(50, '\x11')));
        intl.setValue(RegistryValue::fromData(u"ShortDword"_s, Registry::TypeDword, {"\x01", 1}));
        tree.addKey(QString()).setValue(RegistryValue::fromData(u"m"_s, 7, QByteArray("a\0\0", 3)));
        QCOMPARE(writeRegistryFile(tree),
                 lines({"REGEDIT4", "", "[HKEY_CURRENT_USER\\Control Panel\\International]", "@=\"v\"", "\"Yol\"=\"C:\\\\\\\"\xC5\x9E\"",
                        "\"Raw\"=hex(1):61,62", "\"iCount\"=dword:8000000a",
                        "\"Bin\"=hex:11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,\\",
                        "  11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,\\",
                        "  11,11,11", "\"ShortDword\"=hex(4):01", "", "[HKEY_CURRENT_USER]", "\"m\"=hex(7):61,00,00", "",
                        "[HKEY_LOCAL_MACHINE\\Software\\X]", "\"a\"=\"b\"", "; note", ""}));
    }

    // The form a rewrite keeps where the file leaves a choice: mixed line ends become UTF-16's CRLF, UTF-8's LF. A
    // file that cannot be read has none and is never rewritten (a NUL byte: tst_regionalsettings). That a rewrite
    // keeps the file's form and its keys and values, the fuzz corpus replay checks (a big-endian file, a Windows
    // export, a UTF-8 mark and CRLF); tst_badinput compares a Windows export's rewrite byte for byte.
    void fileFormat_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<bool>("crlf");
        using enum RegistryFileFormat::Encoding;
        QTest::newRow("UTF-8, mixed line ends") << QByteArray("REGEDIT4\r\n\n") << true << int(Utf8) << false;
        QTest::newRow("UTF-16, mixed line ends") << test::utf16File(u"REGEDIT4\r\n\n"_s) << true << int(Utf16LE) << true;
        QTest::newRow("no header") << QByteArray("[HKEY_CURRENT_USER\\K]\n\"a\"=\"b\"\n") << false << 0 << false;
        QTest::newRow("invalid UTF-8") << QByteArray("REGEDIT4\n\"a\"=\"\xFE\"\n") << false << 0 << false;
        QTest::newRow("UTF-16, lone surrogate") << test::utf16File(u"REGEDIT4\r\n"_s + QChar(0xD800) + u'x') << false << 0 << false;
    }
    void fileFormat()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, readable);
        const std::optional<RegistryFileFormat> format = registryFileFormat(file);
        QCOMPARE(format.has_value(), readable);
        if (!format)
            return;
        QTEST(int(format->encoding), "encoding");
        QTEST(format->crlf, "crlf");
    }
};

void TestRegistryExport::parse_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("tree");
    // Only \\ and \" are escapes.
    QTest::newRow("every form, escapes")
        << lines({"REGEDIT4", "", R"([HKEY_CURRENT_USER\K])", R"("sDecimal"=",")", R"("iCount"=dword:0000000a)", R"("Bin"=hex:01,02,ff)",
                  R"(@="default")", R"("Expand"=hex(2):25,00)", R"("None"=hex(0):)", R"("D" = dword:A ; ten)", R"("Path"="C:\\x\\\"y\"")",
                  R"("Odd"="a\tb\")", R"("Q\"Name"="a\tb")"})
        << QStringList{u"[K]"_s, u"sDecimal=1:,"_s, u"iCount=4#0a000000"_s, u"Bin=3#0102ff"_s, u"=1:default"_s, u"Expand=2#2500"_s,
                       u"None=0#"_s, u"D=4#0a000000"_s, uR"(Path=1:C:\x\"y")"_s, uR"(Q"Name=1:a\tb)"_s};
    QTest::newRow("hex continuation, one cut by a section; keys and names in any case")
        << lines({R"([HKEY_CURRENT_USER\Control Panel\Intl])", R"("Long"=hex:01,02,\)", R"(  03,04,\)", "  05", R"("Name"="1")",
                  R"([hkey_current_user\CONTROL PANEL\intl])", R"("NAME"="2")", R"("Cut"=hex:01,\)", R"([HKEY_CURRENT_USER\Next])",
                  R"("a"="b")"})
        << QStringList{uR"([Control Panel\Intl])"_s, u"Long=3#0102030405"_s, u"Name=1:2"_s, u"[Next]"_s, u"a=1:b"_s};
    QTest::newRow("CRLF, BOM, no header; UTF-8, valid or not")
        << lines({"\xEF\xBB\xBF[HKEY_CURRENT_USER\\K]\r", "\"a\"=\"b\"\r", "\"h\"=hex:01,\\\r", "  02\r",
                  u"[HKEY_CURRENT_USER\\Şirket]"_s.toUtf8(), u"\"Kullanıcı\"=\"ÇĞİ"_s.toUtf8() + "\xFF\"", "\"b\"=\"c\"", ""})
        << QStringList{u"[K]"_s, u"a=1:b"_s, u"h=3#0102"_s, u"[Şirket]"_s, u"Kullanıcı=1:ÇĞİ\uFFFD"_s, u"b=1:c"_s};
}

QTEST_APPLESS_MAIN(TestRegistryExport)
#include "tst_registryexport.moc"
