#include "platform/processlauncher.h"

#include <QFileInfo>
#include <QProcess>

namespace zelvan::platform {

namespace {

class UnixProgramStarter final : public ProcessLauncher
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

std::unique_ptr<ProcessLauncher> createProcessLauncher()
{
    return std::make_unique<UnixProgramStarter>();
}

} // namespace zelvan::platform
