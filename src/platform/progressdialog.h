#pragma once

#include "platform/progress.h"

#include <memory>

class QProgressDialog;

namespace zelvan::platform {

// A progress window for runs that show the viewer. The work runs on the
// window thread, so each refresh also lets the windows repaint.
class ProgressDialog : public Progress
{
public:
    ProgressDialog();
    ~ProgressDialog() override;

protected:
    void show(const QString &label, qint64 done, qint64 total) override;
    void hide() override;

private:
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace zelvan::platform
