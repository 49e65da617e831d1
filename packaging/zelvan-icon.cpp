// Writes the program's icon, the one the login dialog draws, as PNG files for
// the desktop's icon theme: DIR/<n>x<n>/apps/zelvan.png for each SIZE n.
// The icon is drawn for 32 x 32 in 16 colours; larger sizes repeat each pixel
// rather than smear its hard edges.

#include "login/loginartwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char **argv)
{
    // Runs during the build, where there may be no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments().mid(1);
    if (args.size() < 2) {
        std::fputs("usage: zelvan-icon DIR SIZE...\n", stderr);
        return 2;
    }
    const QImage icon = zelvan::login::loginIcon().pixmap(32, 32).toImage();
    for (const QString &sizeText : args.mid(1)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        if (!ok || size < 32 || size % 32 != 0) {
            std::fprintf(stderr, "zelvan-icon: a size must be a multiple of 32: %s\n", qPrintable(sizeText));
            return 2;
        }
        const QString dir = u"%1/%2x%2/apps"_s.arg(args.first()).arg(size);
        const QString path = dir + u"/zelvan.png"_s;
        if (!QDir().mkpath(dir)
            || !icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation).save(path, "PNG")) {
            std::fprintf(stderr, "zelvan-icon: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
