#include "platform/messageboxes.h"
#include "platform/progressdialog.h"
#include "platform/qtmessageboxes.h"
#include "platform/systemclipboard.h"
#include "support/fakeservices.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>

using namespace zelvan;
using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

class TestSystemClipboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What the system clipboard held before the program put anything on it.
    void init() { QGuiApplication::clipboard()->setText(u"önceki"_s); }

    // Thousands of queries, the progress window refreshed between them: the system
    // clipboard is not touched until the program ends, then it holds the last text.
    void nothingReachesTheSystemUntilTheEnd()
    {
        SystemClipboard clipboard;
        test::ThrowingExit exit;
        ProgressDialog progress(&exit);
        progress.start(u"Stok değerleniyor"_s, 3000);
        QTest::qSleep(int(Progress::DelayMs) + 50);
        for (int i = 1; i <= 3000; ++i) {
            clipboard.clear();
            clipboard.setText(u"SELECT %1"_s.arg(i));
            progress.step(i);
        }
        QVERIFY(qobject_cast<QProgressDialog *>(QApplication::activeModalWidget()));
        QCOMPARE(QGuiApplication::clipboard()->text(), u"önceki"_s);
        progress.finish();
        clipboard.handOver();
        QCOMPARE(QGuiApplication::clipboard()->text(), u"SELECT 3000"_s);
    }

    // A message box waits for the user: by then the clipboard holds what was put on it last.
    void aMessageBoxSeesTheLastText_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<bool>("clearedAfter");
        QTest::addColumn<QString>("seen");
        QTest::newRow("the last of several") << QStringList{u"SELECT 1"_s, u"SELECT 2"_s, u"SELECT 3"_s} << false << u"SELECT 3"_s;
        QTest::newRow("cleared after its text") << QStringList{u"SELECT 1"_s} << true << QString();
    }
    void aMessageBoxSeesTheLastText()
    {
        QFETCH(QStringList, texts);
        QFETCH(bool, clearedAfter);
        SystemClipboard clipboard;
        for (const QString &text : texts) {
            clipboard.clear();
            clipboard.setText(text);
        }
        if (clearedAfter)
            clipboard.clear();
        QString whileOpen = u"(the box was not shown)"_s;
        QTimer::singleShot(0, [&whileOpen] {
            whileOpen = QGuiApplication::clipboard()->text();
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->close();
        });
        QtMessageBoxes().show(u"Bağlantı kurulamadı"_s, MsgBox::Critical, u"Zelvan"_s);
        QTEST(whileOpen, "seen");
    }
};

QTEST_MAIN(TestSystemClipboard)
#include "tst_systemclipboard.moc"
