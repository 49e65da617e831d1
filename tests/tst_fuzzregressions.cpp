#include "fuzzsupport.h"

#include "platform/err.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

// Every input kept under fuzz/corpus/<target>/ (the seeds and every input a
// fuzzer found a fault with) run through the target's entry, as the fuzzer runs it.
class TestFuzzRegressions : public QObject
{
    Q_OBJECT

    const QDir m_corpus{QStringLiteral(ZELVAN_FUZZ_CORPUS_DIR)};

private Q_SLOTS:
    void everyTargetHasInputs()
    {
        for (const zelvan::fuzz::Target &target : zelvan::fuzz::targets())
            QVERIFY2(!QDir(m_corpus.filePath(QString::fromLatin1(target.name))).isEmpty(QDir::Files), target.name);
        for (const QString &folder : m_corpus.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            QVERIFY2(zelvan::fuzz::findTarget(folder.toLatin1()), qPrintable(u"no target for "_s + folder));
    }

    void corpus_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("path");
        for (const zelvan::fuzz::Target &target : zelvan::fuzz::targets()) {
            const QDir folder(m_corpus.filePath(QString::fromLatin1(target.name)));
            for (const QString &file : folder.entryList(QDir::Files, QDir::Name))
                QTest::newRow(qPrintable(folder.dirName() + u'/' + file)) << folder.dirName() << folder.filePath(file);
        }
    }
    void corpus()
    {
        QFETCH(QString, target);
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        try {
            zelvan::fuzz::findTarget(target.toLatin1())->run(file.readAll());
        } catch (const zelvan::fuzz::PropertyFailed &failed) {
            QFAIL(qPrintable(failed.what));
        } catch (const std::exception &error) {
            QFAIL(qPrintable(u"exception escaped: "_s + QString::fromUtf8(error.what())));
        }
    }
};

QTEST_MAIN(TestFuzzRegressions)
#include "tst_fuzzregressions.moc"
