#include "reportengine/rowswindow.h"
#include "support/fakeservices.h"

#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace zelvan;
using namespace zelvan::reportengine;
using runtime::Variant;

Q_DECLARE_METATYPE(zelvan::runtime::Variant)

namespace {

Variant money(const char *text)
{
    return Variant::currency(*runtime::Currency::parse(QString::fromLatin1(text)));
}

Variant when(int day, const QTime &time = QTime(0, 0))
{
    return Variant::date(runtime::oleDateFrom(QDate(2026, 3, day), time));
}

// Three cheques as read, NULLs, text with a tab and quotes, a bit; the amount column is Alacak.
RowTable cheques(const Variant &figure)
{
    RowTable table;
    table.caption = u"Portföydeki Çekler"_s;
    table.columns = {u"Cek_ID"_s, u"Vade"_s, u"Alacak"_s, u"Durum"_s, u"Oran"_s, u"Aktarildi"_s};
    table.amountColumn = 2;
    table.rows = {
        {Variant::longInt(3), when(23), money("1234567.5"), Variant::string(u"Portföyde"_s), Variant::decimal(runtime::Decimal::fromDouble(0.125)), Variant::boolean(true)},
        {Variant::longInt(1), when(24, QTime(14, 30)), money("-0.0001"), Variant::string(u"a\tb \"c\""_s), Variant::null(), Variant::boolean(false)},
        {Variant::longInt(2), Variant::null(), Variant::null(), Variant::string(QString()), Variant::dbl(2.5), Variant::null()},
    };
    table.total = money("1234567.4999");
    table.figure = figure;
    return table;
}

const CellFormats Turkish{{u',', u'.'}, u"dd.MM.yyyy"_s, u"HH:mm:ss"_s};

} // namespace

// The window of a figure's rows: each cell's text as spreadsheets paste it, and the warning when the rows no longer
// add up to the page's figure.
class TestRowsWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void copy_data()
    {
        QTest::addColumn<QList<int>>("selected");  // rows of the grid
        QTest::addColumn<bool>("keys");            // Ctrl+C in the grid rather than "Kopyala"
        QTest::addColumn<QString>("text");
        const QString header = u"Cek_ID\tVade\tAlacak\tDurum\tOran\tAktarildi\n"_s;
        QTest::newRow("nothing selected: every row and the total")
            << QList<int>{} << false << header + u"3\t23.03.2026\t1.234.567,50\tPortföyde\t0,125\tEvet\n"
                                        u"1\t24.03.2026 14:30:00\t-0,0001\t\"a\tb \"\"c\"\"\"\t\tHayır\n"
                                        u"2\t\t\t\t2,50\t\n"
                                        u"Toplam\t\t1.234.567,4999\t\t\t\n"_s;
        QTest::newRow("one row, Ctrl+C") << QList<int>{2} << true << header + u"2\t\t\t\t2,50\t\n"_s;
    }
    void copy()
    {
        QFETCH(QList<int>, selected);
        QFETCH(bool, keys);
        test::RecordingClipboard clipboard;
        RowsWindow window(cheques(money("1234567.4999")), Turkish, &clipboard);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (const int row : selected)
            window.view()->selectRow(row);
        if (keys)
            QTest::keyClick(window.view(), Qt::Key_C, Qt::ControlModifier);
        else
            window.findChild<QPushButton *>(u"copy"_s)->click();
        QTEST(clipboard.text, "text");
    }

    // Rows read after the page that no longer add up to its figure say so, with both amounts.
    void totalWarning_data()
    {
        QTest::addColumn<Variant>("figure");
        QTest::addColumn<bool>("shown");
        QTest::newRow("the figure") << money("1234567.4999") << false;
        QTest::newRow("another figure") << money("1234000") << true;
    }
    void totalWarning()
    {
        QFETCH(Variant, figure);
        RowsWindow window(cheques(figure), Turkish);
        window.show();
        const QLabel *warning = window.findChild<QLabel *>(u"totalWarning"_s);
        QTEST(warning->isVisible(), "shown");
        QCOMPARE(window.windowTitle(), u"Portföydeki Çekler"_s);
        QVERIFY(warning->text().contains(u"(1.234.567,4999)"_s));
    }
};

QTEST_MAIN(TestRowsWindow)
#include "tst_rowswindow.moc"
