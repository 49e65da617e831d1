#include "program/program.h"

#include "platform/clipboard.h"
#include "platform/endnow.h"
#include "platform/messageboxes.h"

#include <exception>

namespace zelvan::program {

Program::Program(const platform::Services &services_, const program::CommandLine &options_)
    : services(services_)
    , options(options_)
{
}

QString Program::title()
{
    return QStringLiteral("Zelvan");
}

int Program::msgBox(const QString &text, int style, const QString &caption)
{
    return services.messages->show(text, style, caption.isEmpty() ? title() : caption);
}

void Program::end(int code)
{
    services.exit->endNow(code);
    std::terminate();  // endNow never returns; this keeps the promise for the compiler
}

void Program::putOnClipboard(const QString &text)
{
    services.clipboard->clear();
    services.clipboard->setText(text);
}

} // namespace zelvan::program
