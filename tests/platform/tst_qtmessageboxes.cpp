#include "platform/messageboxes.h"
#include "platform/qtmessageboxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace zelvan;
using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

namespace {

// What became of the box after the key, and which answer ended it.
struct Outcome
{
    bool openAfterKey = false;
    int answer = 0;
};

// Shows a Yes/No question, presses `key` once it is up, then, when it is
// still open, answers with the button labelled `fallback`.
Outcome showWithKey(Qt::Key key, const QString &fallback)
{
    Outcome outcome;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        QTest::keyClick(box, key);
        outcome.openAfterKey = box->isVisible();
        if (!outcome.openAfterKey)
            return;
        for (QAbstractButton *button : box->buttons())
            if (button->text() == fallback)
                button->click();
    });
    QtMessageBoxes boxes;
    outcome.answer = boxes.show(u"Soru"_s, MsgBox::YesNo | MsgBox::Question, u"Zelvan"_s);
    return outcome;
}

} // namespace

class TestQtMessageBoxes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("openAfterKey");
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes/No: Escape does nothing") << int(Qt::Key_Escape) << true << MsgBox::No;
        QTest::newRow("Yes/No: Enter takes Evet") << int(Qt::Key_Return) << false << MsgBox::Yes;
    }

    void keys()
    {
        QFETCH(int, key);
        const Outcome outcome = showWithKey(Qt::Key(key), u"&Hayır"_s);
        QTEST(outcome.openAfterKey, "openAfterKey");
        QTEST(outcome.answer, "answer");
    }
};

QTEST_MAIN(TestQtMessageBoxes)
#include "tst_qtmessageboxes.moc"
