#pragma once

#include <QString>

namespace zelvan::login {

// The suite's password transformation: each character's code a in code page
// 1254 at 1-based position i becomes the character of code 2a + i; positions
// where that exceeds 255 are dropped. Characters the code page lacks count as '?'.
QString EncodePassword(const QString &password);

// Upper case by the Turkish rules: i becomes İ and ı becomes I; every other
// character takes its ordinary upper-case form.
QString TurkishUpperCase(const QString &text);

} // namespace zelvan::login
