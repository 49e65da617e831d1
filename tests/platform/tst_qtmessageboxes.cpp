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

enum class Gesture { Escape, CloseWindow, Enter };

// What became of the box after the gesture, and which answer ended it.
struct Outcome
{
    bool openAfterGesture = false;
    int answer = 0;
};

// Shows a box with `style`, makes the gesture once it is up, then, when it is
// still open, answers with the button labelled `fallback`.
Outcome showWithGesture(int style, Gesture gesture, const QString &fallback)
{
    Outcome outcome;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        if (gesture == Gesture::Escape)
            QTest::keyClick(box, Qt::Key_Escape);
        else if (gesture == Gesture::Enter)
            QTest::keyClick(box, Qt::Key_Return);
        else
            box->close();
        outcome.openAfterGesture = box->isVisible();
        if (!outcome.openAfterGesture)
            return;
        for (QAbstractButton *button : box->buttons())
            if (button->text() == fallback)
                button->click();
    });
    QtMessageBoxes boxes;
    outcome.answer = boxes.show(u"Soru"_s, style, u"Zelvan"_s);
    return outcome;
}

} // namespace

Q_DECLARE_METATYPE(Gesture)

class TestQtMessageBoxes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gestures_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<Gesture>("gesture");
        QTest::addColumn<bool>("openAfterGesture");
        QTest::addColumn<int>("answer");
        const int question = MsgBox::YesNo | MsgBox::Question;
        QTest::newRow("Yes/No: Escape does nothing") << question << Gesture::Escape << true << MsgBox::No;
        QTest::newRow("Yes/No: closing the window does nothing") << question << Gesture::CloseWindow << true << MsgBox::No;
        QTest::newRow("Yes/No: Enter takes Evet") << question << Gesture::Enter << false << MsgBox::Yes;
        QTest::newRow("OK: Escape closes") << int(MsgBox::Information) << Gesture::Escape << false << MsgBox::Ok;
    }

    void gestures()
    {
        QFETCH(int, style);
        QFETCH(Gesture, gesture);
        const Outcome outcome = showWithGesture(style, gesture, u"&Hayır"_s);
        QTEST(outcome.openAfterGesture, "openAfterGesture");
        QTEST(outcome.answer, "answer");
    }
};

QTEST_MAIN(TestQtMessageBoxes)
#include "tst_qtmessageboxes.moc"
