#include "report/activereport1.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan;
using namespace zelvan::report;
using zelvan::report::ActiveReport1;
using zelvan::reportengine::ReportAlignment;
using zelvan::reportengine::ReportControlKind;

class TestActiveReport1 : public QObject
{
    Q_OBJECT

private slots:
    // The print width (the paper, margins and window: tst_reportexport, tst_reportviewer); the totals row sits on
    // the frame's bottom edge.
    void layout()
    {
        reportengine::ReportPage page = ActiveReport1().page();
        QCOMPARE(page.printWidth, 10770);
        const int bottomEdge = page.control(u"Line2"_s)->y1;
        QCOMPARE(page.control(u"Line2"_s)->y2, bottomEdge);
        QCOMPARE(page.control(u"Line3"_s)->y2, bottomEdge);
        for (const QString &total : {u"sirketin_genel_borçları_toplamı"_s, u"sirketin_genel_alacakları_toplamı"_s})
            QCOMPARE(page.control(total)->top, bottomEdge);

        // Every control inside its section and the print width; the texts in Arial Narrow, amounts bold and to the right.
        for (const reportengine::ReportSection &s : page.sections) {
            for (const reportengine::ReportControl &c : s.controls) {
                const QRect box = c.kind == ReportControlKind::Line ? QRect(QPoint(c.x1, c.y1), QPoint(c.x2, c.y2)).normalized()
                                                                    : QRect(c.left, c.top, c.width, c.height);
                QVERIFY2(QRect(0, 0, page.printWidth, s.height).contains(box), qPrintable(c.name));
                if (c.kind == ReportControlKind::Line)
                    continue;
                const bool amount = c.outputFormat == ActiveReport1::amountFormat();
                QVERIFY2(c.font.family == u"Arial Narrow", qPrintable(c.name));
                QVERIFY2(c.font.bold != amount, qPrintable(c.name));
                QVERIFY2(c.font.size == (c.name == u"Label1" ? 240 : c.name == u"Label2" || c.name == u"Label3" ? 200 : 170), qPrintable(c.name));
                QVERIFY2(c.alignment == (amount ? ReportAlignment::Right : ReportAlignment::Left), qPrintable(c.name));
            }
        }

        // The titles, then each field at the end of a row "caption", ":", field whose three boxes abut on one top.
        QStringList rows{page.caption, page.control(u"Label1"_s)->text, page.control(u"Label2"_s)->text, page.control(u"Label3"_s)->text};
        for (const reportengine::ReportSection &s : page.sections) {
            QHash<QPair<int, int>, const reportengine::ReportControl *> labelEndingAt;  // by top and right edge
            for (const reportengine::ReportControl &c : s.controls) {
                if (c.kind == ReportControlKind::Label)
                    labelEndingAt.insert({c.top, c.left + c.width}, &c);
            }
            for (const reportengine::ReportControl &c : s.controls) {
                const reportengine::ReportControl *colon = labelEndingAt.value({c.top, c.left});
                const reportengine::ReportControl *caption = colon ? labelEndingAt.value({c.top, colon->left}) : nullptr;
                if (c.kind == ReportControlKind::Field)
                    rows << (caption ? caption->text + colon->text : u"?"_s) + c.name;
            }
        }
        const QStringList expected{
            u"ZELVAN RAPORU"_s,
            u"ZELVAN RAPORU"_s,
            u"ŞİRKETİN GENEL BORÇLARI"_s,
            u"ŞİRKETİN GENEL ALACAKLARI"_s,
            u"Kesilen Çekler:kesilen_Cekler"_s,
            u"Verilen Senetler:Verilen_Senetler"_s,
            u"Açık Hesaptan Alacaklılar:Acık_hesaptan_Alacaklılar"_s,
            u"Portföydeki Çekler:porfoydeki_cekler"_s,
            u"Portföydeki Senetler:porfoydeki_senetler"_s,
            u"Bankadaki Çekler:bankadaki_cekler"_s,
            u"Bankadaki Senetler:bankadaki_senetler"_s,
            u"Parçalı Çeklerin Kalanları:parcalı_ceklerın_kalanları"_s,
            u"Parçalı Senetlerin  Kalanları:Parcalı_senetlerin_klalanları"_s,
            u"Karşılıksız Çekler:Karsılıksız_cekler"_s,
            u"Karşılıksız Senetler:Karsılıksız_senetler"_s,
            u"Toplam Stok Değeri:toplam_Stok_degeri"_s,
            u"Hesaba Aktarılmamış POS Toplamları:hesaba_aktarılmamıs_pos_toplamı"_s,
            u"Banka Bakiyeleri Toplamı:banaka_bakiyeleri_toplamı"_s,
            u"Kasa Bakiyeleri Toplamı:Kasa_bakiyeleri_toplamı"_s,
            u"Açık Hesaptaki Borçlar:acık_hesaptakı_boırclar"_s,
            u"Toplam:sirketin_genel_borçları_toplamı"_s,
            u"Toplam:sirketin_genel_alacakları_toplamı"_s,
            u"Tarih:tarih"_s,
            u"Saat:saat"_s,
        };
        QCOMPARE(rows, expected);
        QCOMPARE(ActiveReport1::amountFieldNames(), page.fieldNames().mid(0, 18));
    }
};

QTEST_GUILESS_MAIN(TestActiveReport1)
#include "tst_activereport1.moc"
