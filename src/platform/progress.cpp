#include "platform/progress.h"

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace zelvan::platform {

void Progress::start(const QString &label)
{
    m_label = label;
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

void TerminalProgress::show(const QString &label, qint64 done)
{
    if (!m_enabled)
        return;
    const QByteArray line = (u'\r' + label + QStringLiteral(": ") + QString::number(done)).toLocal8Bit();
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
