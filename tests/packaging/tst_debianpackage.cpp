// The Debian package, built by cpack from this build tree, unpacked into a
// scratch root with dpkg -x, and its programs run from there.

#include "login/loginartwork.h"
#include "support/zelvanrun.h"

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

using test::runProgram;

static const QString Version = QStringLiteral(ZELVAN_VERSION);

class TestDebianPackage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_work;
    QDir m_root;
    QString m_deb;

    QString installed(const QString &relativePath) const { return m_root.filePath(relativePath); }
    QString controlField(const QString &name) const
    {
        return QString::fromUtf8(runProgram(u"dpkg-deb"_s, {u"--field"_s, m_deb, name}).out).trimmed();
    }
    QString icon(int size) const { return u"usr/share/icons/hicolor/%1x%1/apps/zelvan.png"_s.arg(size); }

private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(u"dpkg-deb"_s).isEmpty())
            QSKIP("dpkg-deb is missing: no Debian system");
        const QString output = m_work.filePath(u"package"_s);
        const auto cpack = runProgram(QStringLiteral(ZELVAN_CPACK),
                                      {u"--config"_s, QStringLiteral(ZELVAN_CPACK_CONFIG), u"-G"_s, u"DEB"_s, u"-B"_s, output},
                                      QProcessEnvironment::systemEnvironment(), 300000);
        QVERIFY2(cpack.exitCode == 0, cpack.out + cpack.err);
        const QStringList debs = QDir(output).entryList({u"*.deb"_s}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        m_deb = QDir(output).filePath(debs.first());
        m_root.setPath(m_work.filePath(u"root"_s));
        QCOMPARE(runProgram(u"dpkg"_s, {u"-x"_s, m_deb, m_root.path()}).exitCode, 0);
    }

    void contentsAndControlFields()
    {
        QStringList files, expected{u"usr/bin/zelvan"_s, u"usr/bin/zelvan-demo"_s, u"usr/share/applications/zelvan.desktop"_s,
                                    u"usr/share/man/man1/zelvan-demo.1.gz"_s, u"usr/share/man/man1/zelvan.1.gz"_s,
                                    u"usr/share/doc/zelvan/copyright"_s};
        for (QDirIterator it(m_root.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
            files.append(m_root.relativeFilePath(it.next()));
        // Each icon size repeats each pixel of the login dialog's 32 x 32 drawing.
        const QImage drawn = login::loginIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
        for (int size : {32, 64, 128, 256}) {
            expected.append(icon(size));
            QCOMPARE(QImage(installed(icon(size))).convertToFormat(QImage::Format_ARGB32), drawn.scaled(size, size));
        }
        files.sort();
        expected.sort();
        QCOMPARE(files, expected);

        // The desktop entry starts the installed program with the package's icon.
        const QStringList entry = QString::fromUtf8(test::readFile(installed(u"usr/share/applications/zelvan.desktop"_s))).section(u"\n["_s, 0, 0).split(u'\n');  // the main group
        for (const QString &line : {u"[Desktop Entry]"_s, u"Type=Application"_s, u"Name=Zelvan Raporu"_s, u"Icon=zelvan"_s,
                                    u"Comment=Şirketin genel finansal durumu tek sayfada"_s, u"Exec=zelvan"_s})
            QVERIFY2(entry.contains(line), qPrintable(line));

        // The version from the project; the runtime libraries, and the Qt platform
        // plugins for the windows and the headless runs, come through dependencies.
        QCOMPARE(controlField(u"Version"_s), Version + u"-1"_s);
        QStringList depends, needed{u"libqt6core6"_s, u"libqt6gui6"_s, u"libqt6widgets6"_s, u"libqt6printsupport6"_s,
                                    u"libsqlite3-0"_s, u"libodbc2"_s, u"zlib1g"_s, u"tdsodbc"_s, u"fonts-liberation"_s};
        for (const QString &alternatives : controlField(u"Depends"_s).split(u','))
            depends.append(alternatives.trimmed().section(u' ', 0, 0));
        for (const QString &plugin : {u"libqxcb.so"_s, u"libqoffscreen.so"_s})
            needed.append(QString::fromUtf8(runProgram(u"dpkg-query"_s, {u"-S"_s, u"*/qt6/plugins/platforms/"_s + plugin}).out).section(u':', 0, 0));
        for (const QString &package : needed)
            QVERIFY2(depends.contains(package), qPrintable(package + u" not in "_s + depends.join(u", "_s)));
        QCOMPARE(controlField(u"Recommends"_s), u"qt6-translations-l10n"_s);
        QVERIFY(test::readFile(installed(u"usr/share/doc/zelvan/copyright"_s)).contains("License: GPL-3.0-or-later"));
    }

    // The installed zelvan-demo writes the instance and the installed zelvan reports on it, with
    // the libraries from the system, not from the build tree.
    void installedProgramsMakeTheReport()
    {
        QProcessEnvironment environment = test::runEnvironment(m_work.filePath(u"registry.reg"_s));
        environment.remove(u"LD_LIBRARY_PATH"_s);
        environment.remove(u"QT_PLUGIN_PATH"_s);
        QCOMPARE(runProgram(installed(u"usr/bin/zelvan"_s), {u"--version"_s}, environment).out, QByteArray("zelvan " ZELVAN_VERSION "\n"));
        test::writeRegistry(m_work.filePath(u"registry.reg"_s));
        const QString instance = m_work.filePath(u"demo"_s);
        QCOMPARE(runProgram(installed(u"usr/bin/zelvan-demo"_s), {instance}, environment).exitCode, 0);
        const auto report = runProgram(installed(u"usr/bin/zelvan"_s),
                                             {u"--json"_s, u"--"_s, u"NRV_DEMO_2026|%1|1|norvent|Zelvan2026"_s.arg(instance)}, environment);
        QVERIFY2(report.exitCode == 0, report.err);
        QCOMPARE(QJsonDocument::fromJson(report.out).object().value(u"title"_s).toString(), u"ZELVAN RAPORU"_s);
    }
};

QTEST_MAIN(TestDebianPackage)
#include "tst_debianpackage.moc"
