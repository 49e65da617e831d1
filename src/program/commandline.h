#pragma once

#include <QString>
#include <QStringList>

namespace zelvan::program {

// zelvan [OPTION ...] [--] [PARAMETERS ...]
// Leading arguments that begin with "--" are options, up to a lone "--"; the
// rest, joined by single spaces, is the launch parameter text.
struct CommandLine
{
    QString pdfPath;
    QString pngPath;
    QString xlsxPath;
    bool json = false;
    bool details = false;       // with --json: the rows behind each figure too
    bool stockOnePass = false;  // the stock value from one query instead of one per item
    bool help = false;
    bool version = false;
    QString launchText;
    QString error;  // set when the options are wrong; the program then prints usage and exits 2

    bool headless() const { return json || !pdfPath.isEmpty() || !pngPath.isEmpty() || !xlsxPath.isEmpty(); }

    static CommandLine parse(const QStringList &arguments);  // without the program's own path
    static QString usage();
    static QString helpText();
};

} // namespace zelvan::program
