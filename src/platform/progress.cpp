#include "platform/progress.h"

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace zelvan::platform {

void Progress::start(const QString &label, qint64 total)
{
    m_label = label;
    m_total = total;
    m_nextRefresh = DelayMs;
    m_timer.start();
}

void Progress::finish()
{
    m_timer.invalidate();
    hide();
}

TerminalProgress::TerminalProgress(FILE *out)
    : m_out(out)
    , m_enabled(isatty(fileno(out)) != 0)
{
}

QString Progress::text(const QString &label, qint64 done, qint64 total)
{
    QString result = label + QStringLiteral(": ") + QString::number(done);
    if (total > 0)
        result += QStringLiteral(" / ") + QString::number(total);
    return result;
}

void TerminalProgress::show(const QString &label, qint64 done, qint64 total)
{
    if (!m_enabled)
        return;
    const QByteArray line = (u'\r' + text(label, done, total)).toLocal8Bit();
    std::fwrite(line.constData(), 1, size_t(line.size()), m_out);
    std::fflush(m_out);
    m_shown = true;
}

void TerminalProgress::hide()
{
    if (m_shown) {
        std::fputs("\r\033[K", m_out);
        std::fflush(m_out);
        m_shown = false;
    }
}

} // namespace zelvan::platform
