#include "program/commandline.h"

namespace zelvan::program {

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine result;
    qsizetype i = 0;
    for (; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (arg == u"--") {
            ++i;
            break;
        }
        if (arg == u"-h") {
            result.help = true;
            continue;
        }
        if (!arg.startsWith(u"--"))
            break;

        QString name = arg;
        QString inlineValue;
        bool hasInlineValue = false;
        const qsizetype eq = arg.indexOf(u'=');
        if (eq > 0) {
            name = arg.left(eq);
            inlineValue = arg.mid(eq + 1);
            hasInlineValue = true;
        }

        auto takeFile = [&](QString &target) {
            if (hasInlineValue) {
                target = inlineValue;
            } else if (i + 1 < arguments.size() && !arguments.at(i + 1).startsWith(u"--")) {
                target = arguments.at(++i);
            }
            if (target.isEmpty())
                result.error = QStringLiteral("option %1 needs a FILE").arg(name);
        };

        if (name == u"--pdf") {
            takeFile(result.pdfPath);
        } else if (name == u"--png") {
            takeFile(result.pngPath);
        } else if (name == u"--xlsx") {
            takeFile(result.xlsxPath);
        } else if (name == u"--json" && !hasInlineValue) {
            result.json = true;
        } else if (name == u"--details" && !hasInlineValue) {
            result.details = true;
        } else if (name == u"--stock-one-pass" && !hasInlineValue) {
            result.stockOnePass = true;
        } else if (name == u"--help" && !hasInlineValue) {
            result.help = true;
        } else if (name == u"--version" && !hasInlineValue) {
            result.version = true;
        } else {
            result.error = QStringLiteral("unknown option %1").arg(arg);
        }
        if (!result.error.isEmpty())
            return result;
    }
    if (result.details && !result.json) {
        result.error = QStringLiteral("option --details needs --json");
        return result;
    }
    result.launchText = arguments.mid(i).join(u' ');
    const int toStandardOutput =
        int(result.json) + int(result.pdfPath == u"-") + int(result.pngPath == u"-") + int(result.xlsxPath == u"-");
    if (toStandardOutput > 1)
        result.error = QStringLiteral("only one of --json, --pdf -, --png -, --xlsx - can write to standard output");
    return result;
}

QString CommandLine::usage()
{
    return QStringLiteral("usage: zelvan [--pdf FILE] [--png FILE] [--json [--details]] [--xlsx FILE] "
                          "[--stock-one-pass] [-h|--help] [--version] [--] [DATABASE|SERVER|USERID|LOGIN|PASSWORD]");
}

QString CommandLine::helpText()
{
    return usage() + QStringLiteral(u"\n\n"
        u"Shows the company's financial position (ZELVAN RAPORU) on one page.\n\n"
        u"PARAMETERS, fields joined by '|':\n"
        u"  DATABASE   company database (\"-1\" or nothing: the login dialog)\n"
        u"  SERVER     SQL Server, or the directory of an embedded instance\n"
        u"  USERID     the user's id (a whole number)\n"
        u"  LOGIN      SQL login name\n"
        u"  PASSWORD   SQL login password (\"æ\" for an empty password)\n\n"
        u"Options:\n"
        u"  --pdf FILE         write the page to FILE as PDF instead of showing the viewer\n"
        u"                     (FILE \"-\": standard output, as for --png and --xlsx)\n"
        u"  --png FILE         write the page to FILE as a PNG image at 150 dots per inch\n"
        u"  --json             write the page's fields and values as JSON on standard output\n"
        u"  --details          with --json: add the rows behind each figure\n"
        u"  --xlsx FILE        write the page and the rows behind each figure to FILE as a\n"
        u"                     spreadsheet workbook (one sheet per figure)\n"
        u"  --stock-one-pass   value the stock from one query over all items instead of\n"
        u"                     one query per item (the same figures, faster on a large company)\n"
        u"  -h, --help         this text\n"
        u"  --version          the version\n\n"
        u"Exit codes: 0 done, 2 launch parameters, 3 database connection, 4 company settings,\n"
        u"5 report right refused, 6 regional settings refused, 7 too many failed logins,\n"
        u"8 a report query failed, 9 anything else.\n");
}

} // namespace zelvan::program
