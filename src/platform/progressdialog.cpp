#include "platform/progressdialog.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include <climits>

namespace zelvan::platform {

ProgressDialog::ProgressDialog() = default;
ProgressDialog::~ProgressDialog() = default;

void ProgressDialog::show(const QString &label, qint64 done, qint64 total)
{
    if (!m_dialog) {
        m_dialog = std::make_unique<QProgressDialog>();
        m_dialog->setWindowTitle(QStringLiteral("ZELVAN RAPORU"));
        m_dialog->setCancelButton(nullptr);
        m_dialog->setMinimumDuration(0);
        m_dialog->setWindowModality(Qt::ApplicationModal);
    }
    // A busy bar when the amount of work is not known.
    const int maximum = int(qMin<qint64>(total, INT_MAX));
    m_dialog->setRange(0, maximum);
    if (maximum > 0)
        m_dialog->setValue(int(qMin<qint64>(done, maximum)));
    m_dialog->setLabelText(text(label, done, total));
    m_dialog->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressDialog::hide()
{
    m_dialog.reset();
}

} // namespace zelvan::platform
