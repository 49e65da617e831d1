#include "report/activereport1.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using zelvan::ActiveReport1;
using zelvan::platform::ReportAlignment;
using zelvan::platform::ReportControl;
using zelvan::platform::ReportControlKind;
using zelvan::platform::ReportPage;

namespace {

enum class Style { Title, Heading, Caption, Amount };

// The whole layout, control by control.
struct Expected
{
    QString section;
    QString name;
    ReportControlKind kind;
    int left = 0;
    int top = 0;
    int width = 0;
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    QString text;
    Style style = Style::Caption;
};

class ExpectedLayout
{
public:
    QList<Expected> controls;

    QStringList fieldNames() const
    {
        QStringList names;
        for (const Expected &e : controls) {
            if (e.kind == ReportControlKind::Field)
                names << e.name;
        }
        return names;
    }

    ExpectedLayout()
    {
        controls.append({u"PageHeader"_s, u"Label1"_s, ReportControlKind::Label, 4320, 0, 2070, 0, 0, 0, 0,
                         u"ZELVAN RAPORU"_s, Style::Title});
        label(u"Label2"_s, 1080, 270, 2520, u"ŞİRKETİN GENEL BORÇLARI"_s, Style::Heading);
        label(u"Label3"_s, 6120, 270, 2610, u"ŞİRKETİN GENEL ALACAKLARI"_s, Style::Heading);
        line(u"Line1"_s, 90, 90, 10530, 90);
        line(u"Line2"_s, 90, 7110, 10530, 7110);
        line(u"Line3"_s, 90, 90, 90, 7110);
        line(u"Line4"_s, 10530, 90, 10530, 7110);
        line(u"Line5"_s, 4590, 90, 4590, 7110);

        leftRow(1080, u"Label4"_s, u"Kesilen Çekler"_s, u"Label9"_s, u"kesilen_Cekler"_s);
        leftRow(1440, u"Label5"_s, u"Verilen Senetler"_s, u"Label10"_s, u"Verilen_Senetler"_s);
        leftRow(1800, u"Label6"_s, u"Açık Hesaptan Alacaklılar"_s, u"Label8"_s, u"Acık_hesaptan_Alacaklılar"_s);

        rightRow(1080, u"Label11"_s, u"Portföydeki Çekler"_s, u"Label16"_s, u"porfoydeki_cekler"_s);
        rightRow(1440, u"Label12"_s, u"Portföydeki Senetler"_s, u"Label17"_s, u"porfoydeki_senetler"_s);
        rightRow(1800, u"Label13"_s, u"Bankadaki Çekler"_s, u"Label15"_s, u"bankadaki_cekler"_s);
        rightRow(2160, u"Label18"_s, u"Bankadaki Senetler"_s, u"Label23"_s, u"bankadaki_senetler"_s);
        rightRow(2520, u"Label19"_s, u"Parçalı Çeklerin Kalanları"_s, u"Label24"_s, u"parcalı_ceklerın_kalanları"_s);
        rightRow(2880, u"p"_s, u"Parçalı Senetlerin  Kalanları"_s, u"Label22"_s, u"Parcalı_senetlerin_klalanları"_s);
        rightRow(3240, u"d"_s, u"Karşılıksız Çekler"_s, u"Label30"_s, u"Karsılıksız_cekler"_s);
        rightRow(3600, u"e"_s, u"Karşılıksız Senetler"_s, u"Label31"_s, u"Karsılıksız_senetler"_s);
        rightRow(3960, u"f"_s, u"Toplam Stok Değeri"_s, u"Label29"_s, u"toplam_Stok_degeri"_s);
        rightRow(4320, u"Label32"_s, u"Hesaba Aktarılmamış POS Toplamları"_s, u"Label37"_s,
                 u"hesaba_aktarılmamıs_pos_toplamı"_s);
        rightRow(4680, u"ff"_s, u"Banka Bakiyeleri Toplamı"_s, u"Label38"_s, u"banaka_bakiyeleri_toplamı"_s);
        rightRow(5040, u"Label34"_s, u"Kasa Bakiyeleri Toplamı"_s, u"Label36"_s, u"Kasa_bakiyeleri_toplamı"_s);
        rightRow(5400, u"Label39"_s, u"Açık Hesaptaki Borçlar"_s, u"Label44"_s, u"acık_hesaptakı_boırclar"_s);

        label(u"Label49"_s, 1350, 7110, 630, u"Toplam"_s);
        label(u"Label50"_s, 1980, 7110, 180, u":"_s);
        field(u"sirketin_genel_borçları_toplamı"_s, 2160, 7110, 2250, Style::Amount);
        label(u"Label51"_s, 6750, 7110, 630, u"Toplam"_s);
        label(u"Label52"_s, 7380, 7110, 180, u":"_s);
        field(u"sirketin_genel_alacakları_toplamı"_s, 7560, 7110, 2520, Style::Amount);

        label(u"l"_s, 90, 7740, 540, u"Tarih"_s);
        label(u"Label46"_s, 630, 7740, 180, u":"_s);
        field(u"tarih"_s, 810, 7740, 1350, Style::Caption);
        label(u"ll"_s, 2160, 7740, 540, u"Saat"_s);
        label(u"Label48"_s, 2700, 7740, 180, u":"_s);
        field(u"saat"_s, 2880, 7740, 1350, Style::Caption);
    }

private:
    void label(const QString &name, int left, int top, int width, const QString &text,
               Style style = Style::Caption)
    {
        controls.append({u"Detail"_s, name, ReportControlKind::Label, left, top, width, 0, 0, 0, 0, text, style});
    }
    void field(const QString &name, int left, int top, int width, Style style)
    {
        controls.append({u"Detail"_s, name, ReportControlKind::Field, left, top, width, 0, 0, 0, 0, QString(),
                         style});
    }
    void line(const QString &name, int x1, int y1, int x2, int y2)
    {
        controls.append({u"Detail"_s, name, ReportControlKind::Line, 0, 0, 0, x1, y1, x2, y2, QString(),
                         Style::Caption});
    }
    void leftRow(int top, const QString &caption, const QString &text, const QString &colon,
                 const QString &amount)
    {
        label(caption, 180, top, 1800, text);
        label(colon, 1980, top, 180, u":"_s);
        field(amount, 2160, top, 2250, Style::Amount);
    }
    void rightRow(int top, const QString &caption, const QString &text, const QString &colon,
                  const QString &amount)
    {
        label(caption, 4680, top, 2700, text);
        label(colon, 7380, top, 180, u":"_s);
        field(amount, 7560, top, 2520, Style::Amount);
    }
};

} // namespace

class TestActiveReport1 : public QObject
{
    Q_OBJECT

private slots:
    void reportSettings()
    {
        const ReportPage page = ActiveReport1().page();
        QCOMPARE(page.caption, u"ZELVAN RAPORU"_s);
        QCOMPARE(page.pageWidth, 12240);
        QCOMPARE(page.pageHeight, 15840);
        QCOMPARE(page.marginLeft, 500);
        QCOMPARE(page.marginTop, 500);
        QCOMPARE(page.marginRight, 500);
        QCOMPARE(page.marginBottom, 500);
        QCOMPARE(page.printWidth, 10770);
        QCOMPARE(page.viewerWidth, 15240);
        QCOMPARE(page.viewerHeight, 11010);

        QStringList names;
        QList<int> heights;
        for (const auto &s : page.sections) {
            names << s.name;
            heights << s.height;
        }
        QCOMPARE(names, QStringList({u"PageHeader"_s, u"Detail"_s, u"PageFooter"_s}));
        QCOMPARE(heights, QList<int>({360, 8100, 360}));
        QVERIFY(page.sections.at(2).controls.isEmpty());
        QCOMPARE(page.sectionTop(u"Detail"_s), 860);
        QCOMPARE(page.sectionTop(u"PageFooter"_s), 8960);
        QCOMPARE(page.sectionTop(u"Nowhere"_s), -1);
    }

    void controls_data()
    {
        QTest::addColumn<int>("index");
        const ExpectedLayout layout;
        for (qsizetype i = 0; i < layout.controls.size(); ++i)
            QTest::newRow(qPrintable(layout.controls.at(i).name)) << int(i);
    }

    void controls()
    {
        QFETCH(int, index);
        const Expected e = ExpectedLayout().controls.at(index);

        const ReportPage page = ActiveReport1().page();
        const auto *section = page.section(e.section);
        QVERIFY(section);
        const auto found = std::find_if(section->controls.cbegin(), section->controls.cend(),
                                         [&](const ReportControl &c) { return c.name == e.name; });
        QVERIFY2(found != section->controls.cend(), qPrintable(e.name));
        const ReportControl &c = *found;
        QCOMPARE(c.kind, e.kind);

        if (e.kind == ReportControlKind::Line) {
            QCOMPARE(QList<int>({c.x1, c.y1, c.x2, c.y2}), QList<int>({e.x1, e.y1, e.x2, e.y2}));
            return;
        }
        QCOMPARE(QList<int>({c.left, c.top, c.width, c.height}), QList<int>({e.left, e.top, e.width, 270}));
        QCOMPARE(c.text, e.text);
        QCOMPARE(c.font.family, u"Arial Narrow"_s);
        QVERIFY(!c.font.italic);

        const int size = e.style == Style::Title ? 240 : e.style == Style::Heading ? 200 : 170;
        QCOMPARE(c.font.size, size);
        QCOMPARE(c.font.bold, e.style != Style::Amount);
        QCOMPARE(c.alignment, e.style == Style::Amount ? ReportAlignment::Right : ReportAlignment::Left);
        QCOMPARE(c.outputFormat, e.style == Style::Amount ? u"#,##0.00"_s : QString());
    }

    // Every control in the order of the layout, and nothing else.
    void noOtherControls()
    {
        QStringList expected;
        for (const Expected &e : ExpectedLayout().controls)
            expected << e.name;
        QStringList actual;
        const ReportPage page = ActiveReport1().page();
        for (const auto &s : page.sections) {
            for (const auto &c : s.controls)
                actual << c.name;
        }
        QCOMPARE(actual, expected);
    }

    void fieldsInPageOrder()
    {
        const QStringList expected = ExpectedLayout().fieldNames();
        QCOMPARE(expected.size(), 20);
        QCOMPARE(ActiveReport1().page().fieldNames(), expected);
        QCOMPARE(ActiveReport1::amountFieldNames(), expected.mid(0, 18));
        QCOMPARE(ActiveReport1::dateTimeFieldNames(), QStringList({u"tarih"_s, u"saat"_s}));
    }

    void fieldsTakeTheirText_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &name : ExpectedLayout().fieldNames())
            QTest::newRow(qPrintable(name)) << name;
    }

    void fieldsTakeTheirText()
    {
        QFETCH(QString, name);
        ActiveReport1 report;
        QCOMPARE(report.page().fieldText(name), QString());
        QVERIFY(report.page().setFieldText(name, u"1.500.000,00"_s));
        QCOMPARE(report.page().fieldText(name), u"1.500.000,00"_s);
        for (const QString &other : report.page().fieldNames()) {
            if (other != name)
                QCOMPARE(report.page().fieldText(other), QString());
        }
    }

    void onlyFieldsTakeText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("label") << u"Label4"_s;
        QTest::newRow("line") << u"Line1"_s;
        QTest::newRow("dotted i instead of dotless") << u"Acik_hesaptan_Alacaklılar"_s;
        QTest::newRow("other letter case") << u"Tarih"_s;
        QTest::newRow("unknown") << u"yok"_s;
    }

    void onlyFieldsTakeText()
    {
        QFETCH(QString, name);
        ActiveReport1 report;
        const ReportControl *before = report.page().control(name);
        const QString textBefore = before ? before->text : QString();
        QVERIFY(!report.page().setFieldText(name, u"x"_s));
        QCOMPARE(report.page().fieldText(name), QString());
        if (before)
            QCOMPARE(report.page().control(name)->text, textBefore);
    }
};

QTEST_GUILESS_MAIN(TestActiveReport1)
#include "tst_activereport1.moc"
