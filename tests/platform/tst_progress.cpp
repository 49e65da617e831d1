#include "platform/progressdialog.h"
#include "support/fakeservices.h"

#include <QApplication>
#include <QPointer>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

using namespace zelvan;
using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

// The real window, counting its refreshes.
struct CountingDialog : ProgressDialog
{
    CountingDialog() : ProgressDialog(&exit) {}
    void show(const QString &label, qint64 done, qint64 total) override
    {
        ++shown;
        ProgressDialog::show(label, done, total);
    }
    // The window, once a refresh has shown it.
    QProgressDialog *shownDialog(qint64 done)
    {
        QTest::qWait(int(Progress::DelayMs) + 100);
        step(done);
        return qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
    }

    test::ThrowingExit exit;
    int shown = 0;
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
        const QPointer<QProgressDialog> dialog = window.shownDialog(120);
        QCOMPARE(window.shown, 1);
        QVERIFY(dialog);
        QCOMPARE(dialog->labelText(), u"Stok değerleniyor: 120 / 300"_s);
        QCOMPARE(dialog->findChild<QProgressBar *>()->text(), u"%40"_s);
        for (int i = 121; i <= 200000; ++i)
            window.step(i);
        window.finish();
        QCOMPARE_LT(window.shown, 50);
        QVERIFY(!dialog);
    }

    // İptal ends the run at the next refresh, with exit code 0, the window gone. Escape and the close box cancel
    // through the same signal of Qt's.
    void cancel()
    {
        CountingDialog window;
        window.start(u"Stok değerleniyor"_s, 300);
        const QPointer<QProgressDialog> dialog = window.shownDialog(1);
        QVERIFY(dialog);
        QPushButton *button = dialog->findChild<QPushButton *>();
        QCOMPARE(button->text(), u"İptal"_s);
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::qWait(int(Progress::RefreshMs) + 50);
        QCOMPARE(test::exitCodeOf([&] { window.step(2); }), 0);
        QVERIFY(!dialog);
    }
};

QTEST_MAIN(TestProgress)
#include "tst_progress.moc"
