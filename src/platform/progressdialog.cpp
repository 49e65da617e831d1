#include "platform/progressdialog.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace zelvan::platform {

ProgressDialog::ProgressDialog() = default;
ProgressDialog::~ProgressDialog() = default;

void ProgressDialog::show(const QString &label, qint64 done)
{
    if (!m_dialog) {
        m_dialog = std::make_unique<QProgressDialog>();
        m_dialog->setWindowTitle(QStringLiteral("ZELVAN RAPORU"));
        m_dialog->setCancelButton(nullptr);
        m_dialog->setRange(0, 0);  // the number of items is not known ahead
        m_dialog->setMinimumDuration(0);
        m_dialog->setWindowModality(Qt::ApplicationModal);
    }
    m_dialog->setLabelText(label + QStringLiteral(": ") + QString::number(done));
    m_dialog->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressDialog::hide()
{
    m_dialog.reset();
}

} // namespace zelvan::platform
