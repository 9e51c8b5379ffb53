#pragma once

#include "app/BackupFiles.h"

#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

// The progress of an export or import as the user sees it: a dialog that
// appears only once the work has run for about a second, and whose
// "Abbrechen" cancels it; the work then leaves everything as it was.
class BackupProgress {
public:
    BackupProgress(QWidget* parent, const QString& label);
    ~BackupProgress();
    BackupProgress(const BackupProgress&) = delete;
    BackupProgress& operator=(const BackupProgress&) = delete;

    ByteCounter* counter() { return &m_counter; }

private:
    std::unique_ptr<QProgressDialog> m_dialog;
    ByteCounter m_counter;
};
