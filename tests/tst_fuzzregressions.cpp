#include "fuzzsupport.h"

#include "platform/err.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

// Every input kept under fuzz/corpus/<target>/ (the seeds and every input a
// fuzzer found a fault with) run through the target's entry, as the fuzzer runs it.
class TestFuzzRegressions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyTargetHasInputs();
    void corpus_data();
    void corpus();
};

void TestFuzzRegressions::everyTargetHasInputs()
{
    const QDir corpus(QStringLiteral(ZELVAN_FUZZ_CORPUS_DIR));
    for (const zelvan::fuzz::Target &target : zelvan::fuzz::targets())
        QVERIFY2(!QDir(corpus.filePath(QString::fromLatin1(target.name))).isEmpty(QDir::Files), target.name);
    for (const QString &folder : corpus.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        QVERIFY2(zelvan::fuzz::findTarget(folder.toLatin1()), qPrintable(u"no target for "_s + folder));
}

void TestFuzzRegressions::corpus_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("path");
    const QDir corpus(QStringLiteral(ZELVAN_FUZZ_CORPUS_DIR));
    for (const zelvan::fuzz::Target &target : zelvan::fuzz::targets()) {
        const QString name = QString::fromLatin1(target.name);
        QDirIterator it(corpus.filePath(name), QDir::Files);
        QStringList files;
        while (it.hasNext())
            files.append(it.next());
        files.sort();
        for (const QString &file : std::as_const(files))
            QTest::newRow(qPrintable(name + u'/' + QFileInfo(file).fileName())) << name << file;
    }
}

void TestFuzzRegressions::corpus()
{
    QFETCH(QString, target);
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray input = file.readAll();
    try {
        zelvan::fuzz::findTarget(target.toLatin1())->run(input);
    } catch (const zelvan::fuzz::PropertyFailed &failed) {
        QFAIL(qPrintable(failed.what));
    } catch (const std::exception &error) {
        QFAIL(qPrintable(u"exception escaped: "_s + QString::fromUtf8(error.what())));
    }
}

QTEST_MAIN(TestFuzzRegressions)
#include "tst_fuzzregressions.moc"
