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
    void layout()
    {
        reportengine::ReportPage page = ActiveReport1().page();
        // Every control inside its section and the print width; each field ends a row "caption", ":",
        // field whose three boxes abut on one top; the totals row sits on the frame's bottom edge.
        const reportengine::ReportControl &bottomEdge = *page.control(u"Line2"_s);
        QCOMPARE((QList<int>{page.pageWidth, page.pageHeight, page.marginLeft, page.printWidth, page.viewerWidth, page.viewerHeight,
                             page.sections.value(1).height, bottomEdge.y2, page.control(u"Line3"_s)->y2}),
                 (QList<int>{12240, 15840, 500, 10770, 15240, 11010, 8100, bottomEdge.y1, bottomEdge.y1}));
        QStringList rows{page.caption, page.control(u"Label1"_s)->text, page.control(u"Label2"_s)->text, page.control(u"Label3"_s)->text};
        for (const reportengine::ReportSection &s : page.sections) {
            QHash<QPair<int, int>, const reportengine::ReportControl *> labelEndingAt;  // by top and right edge
            for (const reportengine::ReportControl &c : s.controls)
                if (c.kind == ReportControlKind::Label) labelEndingAt.insert({c.top, c.left + c.width}, &c);
            for (const reportengine::ReportControl &c : s.controls) {
                const QRect box = c.kind == ReportControlKind::Line ? QRect(QPoint(c.x1, c.y1), QPoint(c.x2, c.y2)).normalized()
                                                                    : QRect(c.left, c.top, c.width, c.height);
                const bool amount = c.outputFormat == ActiveReport1::amountFormat();
                QVERIFY2(QRect(0, 0, page.printWidth, s.height).contains(box) && (!c.name.startsWith(u"sirketin_genel_") || c.top == bottomEdge.y1)
                             && (c.kind == ReportControlKind::Line || (c.font.family == u"Arial Narrow" && c.font.bold != amount
                                 && c.font.size == (c.name == u"Label1" ? 240 : c.name == u"Label2" || c.name == u"Label3" ? 200 : 170)
                                 && c.alignment == (amount ? ReportAlignment::Right : ReportAlignment::Left))), qPrintable(c.name));
                const reportengine::ReportControl *colon = labelEndingAt.value({c.top, c.left}), *caption = colon ? labelEndingAt.value({c.top, colon->left}) : nullptr;
                if (c.kind == ReportControlKind::Field)
                    rows << (caption ? caption->text + colon->text : u"?"_s) + c.name;
            }
        }
        QCOMPARE(rows, (u"ZELVAN RAPORU|ZELVAN RAPORU|ŞİRKETİN GENEL BORÇLARI|ŞİRKETİN GENEL ALACAKLARI|Kesilen Çekler:kesilen_Cekler|"
                        u"Verilen Senetler:Verilen_Senetler|Açık Hesaptan Alacaklılar:Acık_hesaptan_Alacaklılar|"
                        u"Portföydeki Çekler:porfoydeki_cekler|Portföydeki Senetler:porfoydeki_senetler|Bankadaki Çekler:bankadaki_cekler|"
                        u"Bankadaki Senetler:bankadaki_senetler|Parçalı Çeklerin Kalanları:parcalı_ceklerın_kalanları|"
                        u"Parçalı Senetlerin  Kalanları:Parcalı_senetlerin_klalanları|Karşılıksız Çekler:Karsılıksız_cekler|"
                        u"Karşılıksız Senetler:Karsılıksız_senetler|Toplam Stok Değeri:toplam_Stok_degeri|"
                        u"Hesaba Aktarılmamış POS Toplamları:hesaba_aktarılmamıs_pos_toplamı|Banka Bakiyeleri Toplamı:banaka_bakiyeleri_toplamı|"
                        u"Kasa Bakiyeleri Toplamı:Kasa_bakiyeleri_toplamı|Açık Hesaptaki Borçlar:acık_hesaptakı_boırclar|"
                        u"Toplam:sirketin_genel_borçları_toplamı|Toplam:sirketin_genel_alacakları_toplamı|Tarih:tarih|Saat:saat"_s).split(u'|'));
        QCOMPARE(ActiveReport1::amountFieldNames(), page.fieldNames().mid(0, 18));

        // Only a field takes a text, found by its name letter for letter.
        QVERIFY(page.setFieldText(u"Acık_hesaptan_Alacaklılar"_s, u"1,00"_s) && page.fieldText(u"Acık_hesaptan_Alacaklılar"_s) == u"1,00");
        QVERIFY(!page.setFieldText(u"Acik_hesaptan_Alacaklılar"_s, u"1,00"_s) && !page.setFieldText(u"Label4"_s, u"1,00"_s));
    }
};

QTEST_GUILESS_MAIN(TestActiveReport1)
#include "tst_activereport1.moc"
