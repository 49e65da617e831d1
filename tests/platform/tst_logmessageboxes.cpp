#include "platform/logmessageboxes.h"

#include <QFile>
#include <QTest>

using namespace zelvan;
using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

namespace {
// The expected JSON is written here with ' for ".
QByteArray json(QByteArray text) { return text.replace('\'', '"'); }
} // namespace

// The program's end-to-end tests read every message from this log: its critical, information and plain icons,
// texts with quotes and line breaks, and Yes/No questions.
class TestLogMessageBoxes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineFormat()
    {
        QCOMPARE(LogMessageBoxes::line(u"Satır 1\rSatır \"2\"\\"_s, MsgBox::YesNo | MsgBox::Question, u"Zelvan"_s, MsgBox::Yes),
                 json("{'msgbox':{'icon':'question','buttons':'yesno','caption':'Zelvan','text':'Satır 1\\rSatır \\'2\\'\\\\',"
                      "'answer':'yes'}}"));
    }

    // Three Yes/No questions after an OK box, which takes no answer; every box is one line of the log.
    void answers_data()
    {
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("none left: No") << QString() << QList<int>{MsgBox::No, MsgBox::No, MsgBox::No};
        QTest::newRow("any case, blanks around") << u"YES, no ,Yes"_s << QList<int>{MsgBox::Yes, MsgBox::No, MsgBox::Yes};
        QTest::newRow("another word: No") << u"evet,y,yes"_s << QList<int>{MsgBox::No, MsgBox::No, MsgBox::Yes};
    }
    void answers()
    {
        QFETCH(QString, answers);
        QFETCH(QList<int>, expected);
        FILE *out = std::tmpfile();
        LogMessageBoxes boxes(answers, out);
        QCOMPARE(boxes.show(u"bilgi"_s, MsgBox::Information, u"c"_s), MsgBox::Ok);
        for (const int answer : expected)
            QCOMPARE(boxes.show(u"soru"_s, MsgBox::YesNo | MsgBox::Question, u"c"_s), answer);
        QFile log;
        QVERIFY(log.open(out, QIODevice::ReadOnly, QFile::AutoCloseHandle));
        QVERIFY(log.seek(0));
        QCOMPARE(log.readAll().count('\n'), 4);
    }
};

QTEST_GUILESS_MAIN(TestLogMessageBoxes)
#include "tst_logmessageboxes.moc"
