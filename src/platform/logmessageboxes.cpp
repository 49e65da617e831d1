#include "platform/logmessageboxes.h"

#include "runtime/jsontext.h"

namespace zelvan::platform {

namespace {

const char *iconName(int style)
{
    switch (style & 0x70) {
    case MsgBox::Critical: return "critical";
    case MsgBox::Question: return "question";
    case MsgBox::Exclamation: return "exclamation";
    case MsgBox::Information: return "information";
    default: return "none";
    }
}

bool isYesNo(int style)
{
    return (style & 0x0F) == MsgBox::YesNo;
}

} // namespace

LogMessageBoxes::LogMessageBoxes(const QString &answers, FILE *out)
    : m_out(out)
{
    for (QStringView word : QStringView(answers).tokenize(u',', Qt::SkipEmptyParts)) {
        m_answers.append(word.trimmed().compare(u"yes", Qt::CaseInsensitive) == 0 ? MsgBox::Yes : MsgBox::No);
    }
}

QByteArray LogMessageBoxes::line(const QString &text, int style, const QString &caption, int answer)
{
    const char *answerName = answer == MsgBox::Yes ? "yes" : answer == MsgBox::No ? "no" : "ok";
    return QByteArray("{\"msgbox\":{\"icon\":\"") + iconName(style) + "\",\"buttons\":\""
        + (isYesNo(style) ? "yesno" : "ok") + "\",\"caption\":" + runtime::jsonString(caption) + ",\"text\":"
        + runtime::jsonString(text) + ",\"answer\":\"" + answerName + "\"}}";
}

int LogMessageBoxes::show(const QString &text, int style, const QString &caption)
{
    int answer = MsgBox::Ok;
    if (isYesNo(style))
        answer = m_answers.isEmpty() ? MsgBox::No : m_answers.takeFirst();
    const QByteArray out = line(text, style, caption, answer) + '\n';
    std::fwrite(out.constData(), 1, size_t(out.size()), m_out);
    std::fflush(m_out);
    return answer;
}

} // namespace zelvan::platform
