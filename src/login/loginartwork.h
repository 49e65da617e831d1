#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace zelvan::login {

// The login dialog's own graphics, drawn here rather than read from files.

// The picture strip along the left edge of the user panel.
QPixmap loginStripPicture(QSize size);

// The dialog's 32 x 32 icon in the 16 colours of the standard palette: a
// padlock before a ledger page.
QIcon loginIcon();

} // namespace zelvan::login
