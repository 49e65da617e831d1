#include "platform/progress.h"
#include "platform/progressdialog.h"

#include <QApplication>
#include <QPointer>
#include <QProgressDialog>
#include <QTest>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

class CountingProgress : public Progress
{
public:
    QStringList shown;
    int hidden = 0;

protected:
    void show(const QString &label, qint64 done, qint64 total) override { shown.append(text(label, done, total)); }
    void hide() override { ++hidden; }
};

class TestProgress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // However many steps, a refresh only every RefreshMs.
    void longWorkIsThrottled()
    {
        CountingProgress progress;
        progress.step(1);
        progress.start(u"Stok değerleniyor"_s, 50000);
        QTest::qWait(int(Progress::DelayMs) + 100);
        for (int i = 1; i <= 200000; ++i)
            progress.step(i);
        QVERIFY(!progress.shown.isEmpty() && progress.shown.size() < 50);
        QVERIFY(progress.shown.first().startsWith(u"Stok değerleniyor: "_s) && progress.shown.first().endsWith(u" / 50000"_s));
        progress.finish();
        QCOMPARE(progress.hidden, 1);
        QCOMPARE(Progress::text(u"x"_s, 7, 0), u"x: 7"_s);
    }

    void dialogShowsItemsOfTotal()
    {
        ProgressDialog progress;
        progress.start(u"Stok değerleniyor"_s, 300);
        QTest::qWait(int(Progress::DelayMs) + 100);
        progress.step(120);
        QPointer<QProgressDialog> dialog;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (!dialog)
                dialog = qobject_cast<QProgressDialog *>(w);
        }
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE((QList<int>{dialog->maximum(), dialog->value()}), (QList<int>{300, 120}));
        QCOMPARE(dialog->labelText(), u"Stok değerleniyor: 120 / 300"_s);
        progress.finish();
        QVERIFY(!dialog || !dialog->isVisible());
    }
};

QTEST_MAIN(TestProgress)
#include "tst_progress.moc"
