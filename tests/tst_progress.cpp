#include "platform/progress.h"
#include "platform/progressdialog.h"

#include <QApplication>
#include <QPointer>
#include <QProgressDialog>
#include <QTest>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

struct CountingProgress : Progress
{
    QStringList shown;
    int hidden = 0;
    void show(const QString &label, qint64 done, qint64 total) override { shown.append(text(label, done, total)); }
    void hide() override { ++hidden; }
};

class TestProgress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // However many steps, a refresh only every RefreshMs; the window shows items of total.
    void throttledAndShown()
    {
        CountingProgress progress;
        ProgressDialog window;
        progress.step(1);
        progress.start(u"Stok değerleniyor"_s, 50000);
        window.start(u"Stok değerleniyor"_s, 300);
        QTest::qWait(int(Progress::DelayMs) + 100);
        for (int i = 1; i <= 200000; ++i)
            progress.step(i);
        progress.finish();
        QVERIFY(!progress.shown.isEmpty() && progress.shown.size() < 50 && progress.hidden == 1);
        QVERIFY(progress.shown.first().startsWith(u"Stok değerleniyor: "_s) && progress.shown.first().endsWith(u" / 50000"_s));
        QCOMPARE(Progress::text(u"x"_s, 7, 0), u"x: 7"_s);

        window.step(120);
        QPointer<QProgressDialog> dialog;
        for (QWidget *w : QApplication::topLevelWidgets())
            dialog = dialog ? dialog.data() : qobject_cast<QProgressDialog *>(w);
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(u"%1 %2 "_s.arg(dialog->maximum()).arg(dialog->value()) + dialog->labelText(),
                 u"300 120 Stok değerleniyor: 120 / 300"_s);
        window.finish();
        QVERIFY(!dialog || !dialog->isVisible());
    }
};

QTEST_MAIN(TestProgress)
#include "tst_progress.moc"
