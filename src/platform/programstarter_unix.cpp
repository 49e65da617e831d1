#include "platform/programstarter.h"

#include <QFileInfo>
#include <QProcess>

namespace zelvan::platform {

namespace {

class UnixProgramStarter final : public ProgramStarter
{
public:
    // A dot file is the hidden file of this system.
    bool isOrdinaryFile(const QString &path) override
    {
        const QFileInfo info(path);
        return info.isFile() && info.isExecutable() && !info.fileName().startsWith(u'.');
    }

    bool startDetached(const QString &path) override
    {
        return QProcess::startDetached(path, QStringList());
    }
};

} // namespace

std::unique_ptr<ProgramStarter> createProgramStarter()
{
    return std::make_unique<UnixProgramStarter>();
}

} // namespace zelvan::platform
