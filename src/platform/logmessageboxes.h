#pragma once

#include "platform/messageboxes.h"

#include <QList>

#include <cstdio>

namespace zelvan::platform {

// Messages as JSON lines on standard error instead of boxes, for runs that
// write a file or JSON and for scripted use (ZELVAN_MESSAGES=log). Yes/No
// questions take their answers in order from a list such as "yes,no"
// (ZELVAN_ANSWERS); any other word, or none left, is No.
class LogMessageBoxes : public MessageBoxes
{
public:
    explicit LogMessageBoxes(const QString &answers, FILE *out = stderr);
    int show(const QString &text, int style, const QString &caption) override;

    // The line written for one message, without the line end.
    static QByteArray line(const QString &text, int style, const QString &caption, int answer);

private:
    QList<int> m_answers;
    FILE *m_out;
};

} // namespace zelvan::platform
