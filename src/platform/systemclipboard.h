#pragma once

#include "platform/clipboard.h"

namespace zelvan::platform {

// The system clipboard (needs a QGuiApplication; works on the offscreen platform too).
class SystemClipboard : public Clipboard
{
public:
    void clear() override;
    void setText(const QString &text) override;
};

} // namespace zelvan::platform
