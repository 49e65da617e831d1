#include "platform/logmessageboxes.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <cstdio>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

class TestLogMessageBoxes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineFormat()
    {
        const QString text = u"Satır 1\rSatır \"2\"\\"_s;
        const QByteArray line = LogMessageBoxes::line(text, MsgBox::YesNo | MsgBox::Question, u"Zelvan"_s, MsgBox::Yes);
        QCOMPARE(line, QByteArray(R"({"msgbox":{"icon":"question","buttons":"yesno","caption":"Zelvan","text":"Satır 1\rSatır \"2\"\\","answer":"yes"}})"));
        QCOMPARE(QJsonDocument::fromJson(line).object()[u"msgbox"_s].toObject()[u"text"_s].toString(), text);
        QCOMPARE(LogMessageBoxes::line(u"x"_s, MsgBox::OkOnly, u"c"_s, MsgBox::Ok),
                 QByteArray(R"({"msgbox":{"icon":"none","buttons":"ok","caption":"c","text":"x","answer":"ok"}})"));
        for (const auto &[style, icon] : {std::pair{MsgBox::Critical, "critical"}, {MsgBox::Information, "information"},
                                          {MsgBox::Exclamation, "exclamation"}})
            QVERIFY(LogMessageBoxes::line(u"x"_s, style, u"c"_s, MsgBox::Ok).contains("\"icon\":\"" + QByteArray(icon) + '"'));
        QVERIFY(LogMessageBoxes::line(QString(QChar(1)), MsgBox::OkOnly, u"c"_s, MsgBox::Ok).contains("\\u0001"));
    }

    void answers_data()
    {
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QList<int>>("expected");  // for three Yes/No questions
        QTest::newRow("none left is no") << QString() << QList<int>{MsgBox::No, MsgBox::No, MsgBox::No};
        QTest::newRow("in order, any case") << u"YES, no ,Yes"_s << QList<int>{MsgBox::Yes, MsgBox::No, MsgBox::Yes};
        QTest::newRow("other words are no") << u"evet,y,yes"_s << QList<int>{MsgBox::No, MsgBox::No, MsgBox::Yes};
    }
    // An OK box takes no answer; every box is one line of the log.
    void answers()
    {
        QFETCH(QString, answers);
        FILE *out = std::tmpfile();
        QVERIFY(out);
        LogMessageBoxes boxes(answers, out);
        QCOMPARE(boxes.show(u"bilgi"_s, MsgBox::Information, u"c"_s), MsgBox::Ok);
        QList<int> actual;
        for (int i = 0; i < 3; ++i)
            actual.append(boxes.show(u"soru"_s, MsgBox::YesNo | MsgBox::Question, u"c"_s));
        QTEST(actual, "expected");
        std::rewind(out);
        int lines = 0;
        for (int c; (c = std::fgetc(out)) != EOF;)
            lines += c == '\n';
        std::fclose(out);
        QCOMPARE(lines, 4);
    }
};

QTEST_GUILESS_MAIN(TestLogMessageBoxes)
#include "tst_logmessageboxes.moc"
