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
    void show(const QString &label, qint64 done, qint64 total) override { ++shown, ProgressDialog::show(label, done, total); }
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
        QVERIFY(window.shown == 1 && dialog && dialog->isVisible());
        QCOMPARE(u"%1 %2 "_s.arg(dialog->maximum()).arg(dialog->value()) + dialog->labelText(), u"300 120 Stok değerleniyor: 120 / 300"_s);
        for (int i = 121; i <= 200000; ++i) window.step(i);
        window.finish();
        QVERIFY(window.shown < 50 && !dialog);
        QCOMPARE(Progress::text(u"x"_s, 7, 0), u"x: 7"_s);
    }
};

QTEST_MAIN(TestProgress)
#include "tst_progress.moc"
