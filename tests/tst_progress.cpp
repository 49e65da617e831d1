#include "platform/progress.h"
#include "platform/progressdialog.h"

#include <QApplication>
#include <QLabel>
#include <QProgressDialog>
#include <QTest>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

namespace {
class CountingProgress : public Progress
{
public:
    QStringList shown;
    int hidden = 0;

protected:
    void show(const QString &label, qint64 done, qint64 total) override { shown.append(text(label, done, total)); }
    void hide() override { ++hidden; }
};
} // namespace

class TestProgress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shortWorkShowsNothingLongWorkIsThrottled();
    void dialogShowsItemsOfTotal();
};

void TestProgress::shortWorkShowsNothingLongWorkIsThrottled()
{
    CountingProgress progress;
    progress.step(1);  // before start: nothing to show
    progress.start(u"Stok değerleniyor"_s, 50000);
    for (int i = 1; i <= 1000; ++i)
        progress.step(i);
    const qsizetype early = progress.shown.size();

    QTest::qWait(int(Progress::DelayMs) + 100);
    for (int i = 1001; i <= 200000; ++i)
        progress.step(i);
    QVERIFY(progress.shown.size() > early);
    // However many steps, a refresh only every RefreshMs.
    QVERIFY(progress.shown.size() < 50);
    QVERIFY(progress.shown.first().startsWith(u"Stok değerleniyor: "_s));
    QVERIFY(progress.shown.first().endsWith(u" / 50000"_s));
    progress.finish();
    QCOMPARE(progress.hidden, 1);

    QCOMPARE(Progress::text(u"x"_s, 7, 0), u"x: 7"_s);
}

void TestProgress::dialogShowsItemsOfTotal()
{
    ProgressDialog progress;
    progress.start(u"Stok değerleniyor"_s, 300);
    QTest::qWait(int(Progress::DelayMs) + 100);
    progress.step(120);
    QProgressDialog *dialog = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        dialog = dialog ? dialog : qobject_cast<QProgressDialog *>(w);
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->maximum(), 300);
    QCOMPARE(dialog->value(), 120);
    QCOMPARE(dialog->labelText(), u"Stok değerleniyor: 120 / 300"_s);
    progress.finish();
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<QProgressDialog *>(w) || !w->isVisible());
}

QTEST_MAIN(TestProgress)
#include "tst_progress.moc"
