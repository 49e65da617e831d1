#include "program/launchparams.h"

#include "platform/endnow.h"
#include "platform/messageboxes.h"
#include "program/exitcodes.h"
#include "program/program.h"

#include <optional>

namespace zelvan::program {

namespace {

// The user id field: an optional sign and decimal digits (blanks around
// allowed, as the runtime's conversion allows them), within 32 bits.
std::optional<qint32> wholeNumber(QStringView text)
{
    text = text.trimmed();
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > qint64(INT32_MAX) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return qint32(value);
}

} // namespace

void ParseLaunchParams(Program &program)
{
    Degiskenler &vars = program.vars;
    const QString &text = program.options.launchText;

    if (text.isEmpty()) {
        vars.LaunchParams = QStringList{QString(), QStringLiteral("-1")};
        return;
    }

    // A field ends at every '|' and at the last character; a trailing '|'
    // therefore closes the last field without opening an empty one.
    vars.LaunchParams = QStringList{QString()};
    qsizetype fieldStart = 0;
    const qsizetype last = text.size() - 1;
    for (qsizetype i = 0; i <= last; ++i) {
        if (text[i] == u'|') {
            vars.LaunchParams.append(text.mid(fieldStart, i - fieldStart));
            fieldStart = i + 1;
        } else if (i == last) {
            vars.LaunchParams.append(text.mid(fieldStart));
        }
    }

    const qsizetype count = vars.LaunchParams.size() - 1;
    const std::optional<qint32> userId = count >= 5 ? wholeNumber(vars.LaunchParams[3]) : std::nullopt;
    if (!userId) {
        program.msgBox(QStringLiteral(u"Eksik Paremetre Kullanımı "), platform::MsgBox::Critical);
        program.end(program::ExitCode::LaunchParameters);
    }

    vars.DatabaseName = vars.LaunchParams[1];
    vars.ServerName = vars.LaunchParams[2];
    vars.UserId = *userId;
    vars.DbUserName = vars.LaunchParams[4];
    vars.DbPassword = vars.LaunchParams[5] == u"æ" ? QString() : vars.LaunchParams[5];
}

} // namespace zelvan::program
