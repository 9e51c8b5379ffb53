#include "ui/BackupProgress.h"

#include "platform/Env.h"

#include <QProgressDialog>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSteps = 1000;
constexpr int kShowAfterMs = 1000;

} // namespace

BackupProgress::BackupProgress(QWidget* parent, const QString& label)
    : m_dialog(std::make_unique<QProgressDialog>(label, u"Abbrechen"_s, 0, kSteps, parent))
    , m_counter([this](qint64 done, qint64 total) {
        // Modal: setValue lets the dialog appear and see the cancel.
        if (total > 0)
            m_dialog->setValue(int(qMin<qint64>(kSteps - 1, done * kSteps / total)));
        return !m_dialog->wasCanceled();
    })
{
    m_dialog->setObjectName(u"BackupProgress"_s);
    m_dialog->setWindowTitle(kAppTitle);
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(kShowAfterMs);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setAccessibleName(label);
    m_dialog->setValue(0);
}

BackupProgress::~BackupProgress() = default;
