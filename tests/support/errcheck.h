#pragma once

#include "runtime/err.h"

#include <QString>


namespace zelvan::test {

// The number of the run-time error that `action` raises; 0 when none.
template <typename Action>
qint32 errNumberOf(Action &&action)
{
    try {
        action();
    } catch (const runtime::Err &error) {
        return error.number();
    }
    return 0;
}

// The text that `compute` returns, or "err N" when it raises run-time error N.
template <typename Compute>
QString textOrErr(Compute &&compute)
{
    QString text;
    const qint32 err = errNumberOf([&] { text = compute(); });
    return err != 0 ? QStringLiteral("err %1").arg(err) : text;
}

} // namespace zelvan::test
