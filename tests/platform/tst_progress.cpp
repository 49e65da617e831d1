#include "platform/progressdialog.h"

#include <QApplication>
#include <QPointer>
#include <QProgressDialog>
#include <QTest>

using namespace zelvan;
using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

// The real window, counting its refreshes.
struct CountingDialog : ProgressDialog
{
    int shown = 0;
    void show(const QString &label, qint64 done, qint64 total) override
    {
        ++shown;
        ProgressDialog::show(label, done, total);
    }
};

class TestProgress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Nothing before the start; then however many steps, a refresh only every RefreshMs; items of total.
    void throttledAndShown()
    {
        CountingDialog window;
        window.step(1);
        window.start(u"Stok değerleniyor"_s, 300);
        QTest::qWait(int(Progress::DelayMs) + 100);
        window.step(120);
        const QPointer<QProgressDialog> dialog = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
        QCOMPARE(window.shown, 1);
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->maximum(), 300);
        QCOMPARE(dialog->value(), 120);
        QCOMPARE(dialog->labelText(), u"Stok değerleniyor: 120 / 300"_s);
        for (int i = 121; i <= 200000; ++i)
            window.step(i);
        window.finish();
        QCOMPARE_LT(window.shown, 50);
        QVERIFY(!dialog);
    }

    void textWithoutTotal() { QCOMPARE(Progress::text(u"x"_s, 7, 0), u"x: 7"_s); }
};

QTEST_MAIN(TestProgress)
#include "tst_progress.moc"
