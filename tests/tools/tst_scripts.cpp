#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// The lines of a script of tools/ that configure the build folder `folder`.
QStringList configureLines(const QString &script, const QString &folder)
{
    QFile file(QStringLiteral(ZELVAN_SOURCE_DIR "/tools/") + script);
    if (!file.open(QIODevice::ReadOnly))
        return {u"cannot read "_s + file.fileName()};
    const QRegularExpression configure(u"^cmake -S \\. -B %1( |$)"_s.arg(QRegularExpression::escape(folder)));
    QStringList lines;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n'))
        if (configure.match(line.trimmed()).hasMatch())
            lines.append(line.trimmed());
    return lines;
}

} // namespace

class TestScripts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The demo and the test command share build/: configured alike, running
    // one after the other rebuilds nothing.
    void demoAndTestsConfigureBuildAlike()
    {
        const QStringList demo = configureLines(u"demo.sh"_s, u"build"_s);
        const QStringList tests = configureLines(u"test.sh"_s, u"build"_s);
        QCOMPARE(demo.size(), 1);
        QCOMPARE(demo, tests);
    }
};

QTEST_APPLESS_MAIN(TestScripts)
#include "tst_scripts.moc"
