#include "report/activereport1.h"

#include <QStringView>

#include <span>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::report {

using reportengine::ReportAlignment;
using reportengine::ReportControl;
using reportengine::ReportFont;
using reportengine::ReportPage;
using reportengine::ReportSection;

namespace {

const QString FontFamily = u"Arial Narrow"_s;
const QString DateTimeFields[] = {u"tarih"_s, u"saat"_s};

constexpr int RowHeight = 270;

// Style setting A (title, headings, captions, tarih, saat): bold, left-aligned.
// Style setting B (amounts): regular, right-aligned so that the figures line up.
ReportFont styleA(int size)
{
    return ReportFont{FontFamily, size, true, false};
}

const ReportFont TitleFont = styleA(240);      // 12 pt
const ReportFont HeadingFont = styleA(200);    // 10 pt
const ReportFont CaptionFont = styleA(170);    // 8.5 pt
const ReportFont AmountFont{FontFamily, 170, false, false};

struct Column
{
    int captionLeft;
    int captionWidth;
    int colonLeft;
    int colonWidth;
    int amountLeft;
    int amountWidth;
};

constexpr Column LeftColumn{180, 1800, 1980, 180, 2160, 2250};
constexpr Column RightColumn{4680, 2700, 7380, 180, 7560, 2520};

struct FigureRow
{
    int top;
    QStringView captionLabel;
    QStringView caption;
    QStringView colonLabel;
    QStringView amountField;
};

constexpr FigureRow LeftRows[] = {
    {1080, u"Label4", u"Kesilen Çekler", u"Label9", u"kesilen_Cekler"},
    {1440, u"Label5", u"Verilen Senetler", u"Label10", u"Verilen_Senetler"},
    {1800, u"Label6", u"Açık Hesaptan Alacaklılar", u"Label8", u"Acık_hesaptan_Alacaklılar"},
};

constexpr FigureRow RightRows[] = {
    {1080, u"Label11", u"Portföydeki Çekler", u"Label16", u"porfoydeki_cekler"},
    {1440, u"Label12", u"Portföydeki Senetler", u"Label17", u"porfoydeki_senetler"},
    {1800, u"Label13", u"Bankadaki Çekler", u"Label15", u"bankadaki_cekler"},
    {2160, u"Label18", u"Bankadaki Senetler", u"Label23", u"bankadaki_senetler"},
    {2520, u"Label19", u"Parçalı Çeklerin Kalanları", u"Label24", u"parcalı_ceklerın_kalanları"},
    {2880, u"p", u"Parçalı Senetlerin  Kalanları", u"Label22", u"Parcalı_senetlerin_klalanları"},
    {3240, u"d", u"Karşılıksız Çekler", u"Label30", u"Karsılıksız_cekler"},
    {3600, u"e", u"Karşılıksız Senetler", u"Label31", u"Karsılıksız_senetler"},
    {3960, u"f", u"Toplam Stok Değeri", u"Label29", u"toplam_Stok_degeri"},
    {4320, u"Label32", u"Hesaba Aktarılmamış POS Toplamları", u"Label37",
     u"hesaba_aktarılmamıs_pos_toplamı"},
    {4680, u"ff", u"Banka Bakiyeleri Toplamı", u"Label38", u"banaka_bakiyeleri_toplamı"},
    {5040, u"Label34", u"Kasa Bakiyeleri Toplamı", u"Label36", u"Kasa_bakiyeleri_toplamı"},
    {5400, u"Label39", u"Açık Hesaptaki Borçlar", u"Label44", u"acık_hesaptakı_boırclar"},
};

constexpr int TotalsTop = 7110;  // on the frame's bottom edge
constexpr int DateTimeTop = 7740;

ReportControl caption(QStringView name, int left, int top, int width, QStringView text)
{
    return ReportControl::label(name.toString(), left, top, width, RowHeight, text.toString(), CaptionFont);
}

ReportControl amount(QStringView name, int left, int top, int width)
{
    return ReportControl::field(name.toString(), left, top, width, RowHeight, AmountFont,
                                ReportAlignment::Right, ActiveReport1::amountFormat());
}

// A double-click anywhere on the row opens the rows behind its figure.
void addFigureRow(QList<ReportControl> &controls, const Column &column, const FigureRow &row)
{
    controls << caption(row.captionLabel, column.captionLeft, row.top, column.captionWidth, row.caption)
             << caption(row.colonLabel, column.colonLeft, row.top, column.colonWidth, u":")
             << amount(row.amountField, column.amountLeft, row.top, column.amountWidth);
    for (auto it = controls.end() - 3; it != controls.end(); ++it)
        it->link = row.amountField.toString();
}

ReportSection pageHeader()
{
    ReportSection s{u"PageHeader"_s, 360, {}};
    s.controls << ReportControl::label(u"Label1"_s, 4320, 0, 2070, RowHeight, u"ZELVAN RAPORU"_s, TitleFont);
    return s;
}

ReportSection detail()
{
    ReportSection s{u"Detail"_s, 8100, {}};
    QList<ReportControl> &c = s.controls;
    c << ReportControl::label(u"Label2"_s, 1080, 270, 2520, RowHeight, u"ŞİRKETİN GENEL BORÇLARI"_s,
                              HeadingFont)
      << ReportControl::label(u"Label3"_s, 6120, 270, 2610, RowHeight, u"ŞİRKETİN GENEL ALACAKLARI"_s,
                              HeadingFont)
      << ReportControl::line(u"Line1"_s, 90, 90, 10530, 90)
      << ReportControl::line(u"Line2"_s, 90, 7110, 10530, 7110)
      << ReportControl::line(u"Line3"_s, 90, 90, 90, 7110)
      << ReportControl::line(u"Line4"_s, 10530, 90, 10530, 7110)
      << ReportControl::line(u"Line5"_s, 4590, 90, 4590, 7110);

    for (const FigureRow &row : LeftRows)
        addFigureRow(c, LeftColumn, row);
    for (const FigureRow &row : RightRows)
        addFigureRow(c, RightColumn, row);

    c << caption(u"Label49", 1350, TotalsTop, 630, u"Toplam")
      << caption(u"Label50", LeftColumn.colonLeft, TotalsTop, LeftColumn.colonWidth, u":")
      << amount(u"sirketin_genel_borçları_toplamı", LeftColumn.amountLeft, TotalsTop, LeftColumn.amountWidth)
      << caption(u"Label51", 6750, TotalsTop, 630, u"Toplam")
      << caption(u"Label52", RightColumn.colonLeft, TotalsTop, RightColumn.colonWidth, u":")
      << amount(u"sirketin_genel_alacakları_toplamı", RightColumn.amountLeft, TotalsTop,
                RightColumn.amountWidth);

    c << caption(u"l", 90, DateTimeTop, 540, u"Tarih")
      << caption(u"Label46", 630, DateTimeTop, 180, u":")
      << ReportControl::field(DateTimeFields[0], 810, DateTimeTop, 1350, RowHeight, CaptionFont,
                              ReportAlignment::Left)
      << caption(u"ll", 2160, DateTimeTop, 540, u"Saat")
      << caption(u"Label48", 2700, DateTimeTop, 180, u":")
      << ReportControl::field(DateTimeFields[1], 2880, DateTimeTop, 1350, RowHeight, CaptionFont,
                              ReportAlignment::Left);
    return s;
}

} // namespace

ActiveReport1::ActiveReport1()
    : m_page(layout())
{
}

QString ActiveReport1::amountFormat()
{
    return u"#,##0.00"_s;
}

ReportPage ActiveReport1::layout()
{
    ReportPage page;
    page.caption = u"ZELVAN RAPORU"_s;
    page.pageWidth = 12240;
    page.pageHeight = 15840;
    page.marginLeft = page.marginTop = 500;
    page.printWidth = 10770;
    page.viewerWidth = 15240;
    page.viewerHeight = 11010;
    page.sections << pageHeader() << detail() << ReportSection{u"PageFooter"_s, 360, {}};
    return page;
}

QStringList ActiveReport1::amountFieldNames()
{
    QStringList names;
    const ReportPage page = layout();
    for (const QString &name : page.fieldNames()) {
        if (page.control(name)->outputFormat == amountFormat())
            names << name;
    }
    return names;
}

QString ActiveReport1::figureCaption(const QString &field)
{
    for (const auto &rows : {std::span<const FigureRow>(LeftRows), std::span<const FigureRow>(RightRows)}) {
        for (const FigureRow &row : rows) {
            if (row.amountField == field)
                return row.caption.toString();
        }
    }
    return QString();
}

QStringList ActiveReport1::dateTimeFieldNames()
{
    return {DateTimeFields[0], DateTimeFields[1]};
}

} // namespace zelvan::report
