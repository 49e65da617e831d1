#pragma once

#include "platform/progress.h"

#include <memory>

class QProgressDialog;

namespace zelvan::platform {

class EndNow;

// A progress window for runs that show the viewer. The work runs on the
// window thread, so each refresh also lets the windows repaint and takes the
// window's "İptal": the run then ends quietly, as when the user leaves on
// purpose.
class ProgressDialog : public Progress
{
public:
    explicit ProgressDialog(EndNow *end);
    ~ProgressDialog() override;

protected:
    void show(const QString &label, qint64 done, qint64 total) override;
    void hide() override;

private:
    EndNow *m_end;
    std::unique_ptr<QProgressDialog> m_dialog;
    bool m_canceled = false;
};

} // namespace zelvan::platform
