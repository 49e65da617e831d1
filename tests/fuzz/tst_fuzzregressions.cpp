#include "fuzzsupport.h"
#include "support/zelvanrun.h"

#include <QDir>
#include <QTest>

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
    }

    // Rows "folder/file"; a folder that no target takes fails its rows.
    void corpus_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString &folder : m_corpus.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            for (const QString &file : QDir(m_corpus.filePath(folder)).entryList(QDir::Files, QDir::Name))
                QTest::newRow(qPrintable(folder + u'/' + file)) << folder + u'/' + file;
        }
    }
    void corpus()
    {
        QFETCH(QString, path);
        const zelvan::fuzz::Target *target = zelvan::fuzz::findTarget(path.section(u'/', 0, 0).toLatin1());
        QVERIFY(target);
        try { target->run(zelvan::test::readFile(m_corpus.filePath(path))); }
        catch (const zelvan::fuzz::PropertyFailed &failed) { QFAIL(qPrintable(failed.what)); }
        catch (const std::exception &error) { QFAIL(error.what()); }
    }
};

QTEST_MAIN(TestFuzzRegressions)
#include "tst_fuzzregressions.moc"

using namespace zelvan;
