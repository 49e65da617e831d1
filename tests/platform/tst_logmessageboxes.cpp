#include "platform/logmessageboxes.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

class TestLogMessageBoxes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The log's JSON, written here with ' for ".
    void lineFormat()
    {
        QCOMPARE(LogMessageBoxes::line(u"Satır 1\rSatır \"2\"\\"_s, MsgBox::YesNo | MsgBox::Question, u"Zelvan"_s, MsgBox::Yes),
                 QByteArray("{'msgbox':{'icon':'question','buttons':'yesno','caption':'Zelvan','text':'Satır 1\\rSatır \\'2\\'\\\\',"
                            "'answer':'yes'}}").replace('\'', '"'));
        for (const auto &[style, icon] : {std::pair{MsgBox::OkOnly, "none"}, {MsgBox::Critical, "critical"},
                                          {MsgBox::Information, "information"}, {MsgBox::Exclamation, "exclamation"}})
            QCOMPARE(LogMessageBoxes::line(u"x\x01"_s, style, u"c"_s, MsgBox::Ok),
                     QByteArray("{'msgbox':{'icon':'" + QByteArray(icon) + "','buttons':'ok','caption':'c','text':'x\\u0001',"
                                "'answer':'ok'}}").replace('\'', '"'));
    }

    // Three Yes/No questions after an OK box, which takes no answer; every box is one line of the log.
    void answers()
    {
        constexpr int Y = MsgBox::Yes, N = MsgBox::No;
        for (const auto &[answers, expected] : {std::pair{QString(), QList<int>{N, N, N}}, {u"YES, no ,Yes"_s, QList<int>{Y, N, Y}},
                                                {u"evet,y,yes"_s, QList<int>{N, N, Y}}}) {  // none left, or another word: No
            FILE *out = std::tmpfile();
            LogMessageBoxes boxes(answers, out);
            QCOMPARE(boxes.show(u"bilgi"_s, MsgBox::Information, u"c"_s), MsgBox::Ok);
            for (int answer : expected)
                QCOMPARE(boxes.show(u"soru"_s, MsgBox::YesNo | MsgBox::Question, u"c"_s), answer);
            QFile log;
            QVERIFY(log.open(out, QIODevice::ReadOnly, QFile::AutoCloseHandle) && log.seek(0));
            QCOMPARE(log.readAll().count('\n'), 4);
        }
    }
};

QTEST_GUILESS_MAIN(TestLogMessageBoxes)
#include "tst_logmessageboxes.moc"
