#pragma once

#include "platform/messageboxes.h"

namespace zelvan::platform {

// Real message boxes (QMessageBox), modal, with Turkish button texts.
class QtMessageBoxes : public MessageBoxes
{
public:
    int show(const QString &text, int style, const QString &caption) override;
};

} // namespace zelvan::platform
