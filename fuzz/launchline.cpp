// The command line and the launch line it carries: arguments separated by NUL bytes.
#include "fuzzsupport.h"

#include "platform/endnow.h"
#include "platform/messageboxes.h"
#include "program/commandline.h"
#include "program/exitcodes.h"
#include "program/launchparams.h"
#include "program/program.h"
#include "support/fakeservices.h"

#include <QStringList>

#include <optional>


namespace zelvan::fuzz {

namespace {

// The user id field as a whole number, read the plain way: blanks around, an
// optional sign, decimal digits, within 32 bits.
std::optional<qint32> userIdOf(const QString &field)
{
    QStringView text = QStringView(field).trimmed();
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        text = text.sliced(1);
    if (text.isEmpty())
        return std::nullopt;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    while (text.size() > 1 && text.front() == u'0')
        text = text.sliced(1);
    if (text.size() > 10)
        return std::nullopt;
    const qint64 value = (negative ? -1 : 1) * text.toLongLong();
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return qint32(value);
}

} // namespace

void fuzzLaunchLine(QByteArrayView data)
{
    QStringList arguments;
    FuzzInput input(data);
    while (!input.atEnd())
        arguments.append(input.text());

    const program::CommandLine options = program::CommandLine::parse(arguments);
    check(arguments.join(u' ').endsWith(options.launchText), "the launch line is the arguments' end", options.launchText);
    if (!options.error.isEmpty() || options.help || options.version)
        return;

    test::RecordingMessageBoxes messages;
    test::ThrowingExit exit;
    platform::Services services;
    services.messages = &messages;
    services.exit = &exit;
    program::Program program(services, options);

    const QString &text = options.launchText;
    QStringList fields = text.split(u'|');
    if (text.endsWith(u'|'))
        fields.removeLast();  // a trailing '|' closes the last field
    const std::optional<qint32> userId = fields.size() >= 5 ? userIdOf(fields[2]) : std::nullopt;

    try {
        program::ParseLaunchParams(program);
    } catch (const platform::ProgramEnded &ended) {
        check(!text.isEmpty() && !userId, "a good launch line ends the program", text);
        check(ended.exitCode == program::ExitCode::LaunchParameters, "launch parameters end with 2");
        check(messages.shown.size() == 1 && messages.shown[0].text == QStringLiteral(u"Eksik Paremetre Kullanımı ")
                  && messages.shown[0].style == platform::MsgBox::Critical,
              "one critical message before the end");
        return;
    }
    check(messages.shown.isEmpty(), "a good launch line shows nothing");
    const program::Degiskenler &vars = program.vars;
    if (text.isEmpty()) {
        check(vars.LaunchParams == QStringList{QString(), QStringLiteral("-1")}, "an empty line asks for the login dialog");
        return;
    }
    check(bool(userId), "a bad launch line is accepted", text);
    check(vars.LaunchParams.mid(1) == fields, "the fields are the text split at '|'", text);
    check(vars.DatabaseName == fields[0] && vars.ServerName == fields[1] && vars.DbUserName == fields[3],
          "database, server and login are the fields");
    check(vars.UserId == *userId, "the user id", text);
    check(vars.DbPassword == (fields[4] == u"æ" ? QString() : fields[4]), "the password, æ standing for none");
}

} // namespace zelvan::fuzz
