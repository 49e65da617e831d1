#include "report/activereport1.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan::platform;
using zelvan::ActiveReport1;

class TestActiveReport1 : public QObject
{
    Q_OBJECT

private slots:
    void layout()
    {
        const ReportPage page = ActiveReport1().page();
        QCOMPARE(page.caption, u"ZELVAN RAPORU"_s);
        QCOMPARE((QList<int>{page.pageWidth, page.pageHeight, page.marginLeft, page.printWidth, page.viewerWidth,
                             page.viewerHeight, page.sections.value(1).height}),
                 (QList<int>{12240, 15840, 500, 10770, 15240, 11010, 8100}));

        // Every control inside its section and the print width; each field ends a row "caption", ":",
        // field whose three boxes abut on one top; the totals row sits on the frame's bottom edge.
        const ReportControl &bottomEdge = *page.control(u"Line2"_s);
        QCOMPARE((QList<int>{bottomEdge.y2, page.control(u"Line3"_s)->y2}), (QList<int>{bottomEdge.y1, bottomEdge.y1}));
        QStringList rows;
        for (const ReportSection &s : page.sections) {
            const auto labelEndingAt = [&s](int top, int right) -> const ReportControl * {
                const auto it = std::find_if(s.controls.cbegin(), s.controls.cend(), [&](const ReportControl &c) {
                    return c.kind == ReportControlKind::Label && c.top == top && c.left + c.width == right;
                });
                return it == s.controls.cend() ? nullptr : &*it;
            };
            for (const ReportControl &c : s.controls) {
                const QRect box = c.kind == ReportControlKind::Line ? QRect(QPoint(c.x1, c.y1), QPoint(c.x2, c.y2)).normalized()
                                                                    : QRect(c.left, c.top, c.width, c.height);
                QVERIFY2(box.left() >= 0 && box.top() >= 0 && box.right() < page.printWidth && box.bottom() < s.height,
                         qPrintable(c.name));
                const bool amount = c.outputFormat == ActiveReport1::amountFormat();
                const int size = c.name == u"Label1" ? 240 : c.name == u"Label2" || c.name == u"Label3" ? 200 : 170;
                QVERIFY2(c.kind == ReportControlKind::Line
                             || (c.font.family == u"Arial Narrow" && c.font.size == size && c.font.bold != amount
                                 && c.alignment == (amount ? ReportAlignment::Right : ReportAlignment::Left)),
                         qPrintable(c.name));
                if (c.kind != ReportControlKind::Field)
                    continue;
                const ReportControl *colon = labelEndingAt(c.top, c.left);
                const ReportControl *caption = colon ? labelEndingAt(c.top, colon->left) : nullptr;
                QVERIFY2(caption, qPrintable(c.name));
                rows << caption->text + colon->text + c.name;
                QVERIFY(!c.name.startsWith(u"sirketin_genel_") || c.top == bottomEdge.y1);
            }
        }
        QCOMPARE(rows, (u"Kesilen Çekler:kesilen_Cekler|Verilen Senetler:Verilen_Senetler|"
                        u"Açık Hesaptan Alacaklılar:Acık_hesaptan_Alacaklılar|Portföydeki Çekler:porfoydeki_cekler|"
                        u"Portföydeki Senetler:porfoydeki_senetler|Bankadaki Çekler:bankadaki_cekler|"
                        u"Bankadaki Senetler:bankadaki_senetler|Parçalı Çeklerin Kalanları:parcalı_ceklerın_kalanları|"
                        u"Parçalı Senetlerin  Kalanları:Parcalı_senetlerin_klalanları|Karşılıksız Çekler:Karsılıksız_cekler|"
                        u"Karşılıksız Senetler:Karsılıksız_senetler|Toplam Stok Değeri:toplam_Stok_degeri|"
                        u"Hesaba Aktarılmamış POS Toplamları:hesaba_aktarılmamıs_pos_toplamı|"
                        u"Banka Bakiyeleri Toplamı:banaka_bakiyeleri_toplamı|Kasa Bakiyeleri Toplamı:Kasa_bakiyeleri_toplamı|"
                        u"Açık Hesaptaki Borçlar:acık_hesaptakı_boırclar|Toplam:sirketin_genel_borçları_toplamı|"
                        u"Toplam:sirketin_genel_alacakları_toplamı|Tarih:tarih|Saat:saat"_s).split(u'|'));
        QCOMPARE((QStringList{page.control(u"Label1"_s)->text, page.control(u"Label2"_s)->text,
                              page.control(u"Label3"_s)->text}),
                 (QStringList{u"ZELVAN RAPORU"_s, u"ŞİRKETİN GENEL BORÇLARI"_s, u"ŞİRKETİN GENEL ALACAKLARI"_s}));
        QCOMPARE(ActiveReport1::amountFieldNames(), page.fieldNames().mid(0, 18));

        // Only a field takes a text, found by its name letter for letter.
        ReportPage filled = page;
        QVERIFY(filled.setFieldText(u"Acık_hesaptan_Alacaklılar"_s, u"1,00"_s));
        QCOMPARE(filled.fieldText(u"Acık_hesaptan_Alacaklılar"_s), u"1,00"_s);
        QVERIFY(!filled.setFieldText(u"Acik_hesaptan_Alacaklılar"_s, u"1,00"_s) && !filled.setFieldText(u"Label4"_s, u"1,00"_s));
    }
};

QTEST_GUILESS_MAIN(TestActiveReport1)
#include "tst_activereport1.moc"
