#include "platform/systemclipboard.h"

#include <QAbstractEventDispatcher>
#include <QClipboard>
#include <QGuiApplication>

#include <utility>

namespace zelvan::platform {

SystemClipboard::SystemClipboard()
{
    // aboutToBlock comes only when the loop waits for events, so work that
    // merely lets the windows repaint (the progress window) hands nothing over.
    if (auto *dispatcher = QAbstractEventDispatcher::instance())
        m_beforeWait = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [this] { flush(); });
}

SystemClipboard::~SystemClipboard()
{
    QObject::disconnect(m_beforeWait);
    handOver();
}

void SystemClipboard::clear()
{
    m_pending = Pending::Clear;
    m_text.clear();
}

void SystemClipboard::setText(const QString &text)
{
    m_pending = Pending::Text;
    m_text = text;
}

void SystemClipboard::flush()
{
    if (m_pending == Pending::Nothing)
        return;
    auto *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    if (std::exchange(m_pending, Pending::Nothing) == Pending::Clear)
        clipboard->clear();
    else
        clipboard->setText(m_text);
}

void SystemClipboard::handOver()
{
    flush();
    keepAfterExit();
}

} // namespace zelvan::platform
