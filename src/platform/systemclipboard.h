#pragma once

#include "platform/clipboard.h"

#include <QMetaObject>
#include <QString>

namespace zelvan::platform {

// The system clipboard (needs a QGuiApplication; works on the offscreen platform too).
//
// Every query puts its text here, and on X11 each hand-over to the system is a
// round trip to the display server. Only what the clipboard holds while the
// program waits for the user, and after it ends, can be seen: so clear() and
// setText() only record, and the last of them reaches the system when the
// window thread's event loop is about to wait (a message box, a dialog, the
// viewer) and when the program ends (handOver(), also run by the destructor).
class SystemClipboard : public Clipboard
{
public:
    // Create after the application object, destroy before it.
    SystemClipboard();
    ~SystemClipboard() override;

    void clear() override;
    void setText(const QString &text) override;

    // What was recorded last goes to the system clipboard now.
    void flush();
    // Before the program ends: flush(), and make the text outlive the process.
    // On Windows the delayed data is rendered now (OleFlushClipboard); on X11 the
    // application object, when it is destroyed, offers it to a running clipboard
    // manager, so the application must be destroyed after this and before the end.
    void handOver();

private:
    enum class Pending { Nothing, Clear, Text };

    // The system's own step of handOver() (systemclipboard_win.cpp, systemclipboard_unix.cpp).
    static void keepAfterExit();

    Pending m_pending = Pending::Nothing;
    QString m_text;
    QMetaObject::Connection m_beforeWait;
};

} // namespace zelvan::platform
