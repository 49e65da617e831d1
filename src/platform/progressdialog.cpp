#include "platform/progressdialog.h"

#include "platform/endnow.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QProgressDialog>

#include <climits>

namespace zelvan::platform {

ProgressDialog::ProgressDialog(EndNow *end) : m_end(end) {}
ProgressDialog::~ProgressDialog() = default;

void ProgressDialog::show(const QString &label, qint64 done, qint64 total)
{
    if (!m_dialog) {
        m_dialog = std::make_unique<QProgressDialog>();
        m_dialog->setWindowTitle(QStringLiteral("ZELVAN RAPORU"));
        m_dialog->setCancelButtonText(QStringLiteral(u"İptal"));
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
        m_dialog->setMinimumDuration(0);
        m_dialog->setWindowModality(Qt::ApplicationModal);
        // The percent sign goes before the number in Turkish ("%10").
        auto *bar = new QProgressBar;
        bar->setFormat(QStringLiteral("%%p"));
        m_dialog->setBar(bar);
        // The button, Escape and the window's close box all cancel. The run is
        // ended here, in the work's own call, never inside Qt's event delivery.
        QObject::connect(m_dialog.get(), &QProgressDialog::canceled, [this] { m_canceled = true; });
    }
    // A busy bar when the amount of work is not known.
    const int maximum = int(qMin<qint64>(total, INT_MAX));
    m_dialog->setRange(0, maximum);
    if (maximum > 0)
        m_dialog->setValue(int(qMin<qint64>(done, maximum)));
    m_dialog->setLabelText(text(label, done, total));
    m_dialog->show();
    QCoreApplication::processEvents();
    if (m_canceled) {
        m_dialog.reset();
        m_end->endNow(0);
    }
}

void ProgressDialog::hide()
{
    m_dialog.reset();
}

} // namespace zelvan::platform
