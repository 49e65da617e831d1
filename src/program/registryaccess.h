#pragma once

#include "platform/registry.h"

#include <QString>

namespace zelvan::program {

class Program;

// A string value of a key below `root`; a missing key or value reads as the
// empty text. The key is opened without checking: a failed open makes the read fail.
QString RegReadString(Program &program, platform::Registry::Key root, const QString &keyPath,
                      const QString &valueName);

// Stores `text` as a REG_SZ value, creating the key when missing. Failures are ignored.
void RegWriteString(Program &program, platform::Registry::Key root, const QString &keyPath,
                    const QString &valueName, const QString &text);

// A value of an open key as text: REG_SZ up to its first NUL, REG_BINARY as
// the signed 16-bit number of its first two bytes, anything else (and any
// failure) the empty text.
QString RegQueryValue(Program &program, platform::Registry::Key key, const QString &valueName);

} // namespace zelvan::program
