// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/PageConverter.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class frmProgress;
}

// The modal window an all-pages run happens in: showing it starts the run once, and it closes itself
// when the run ends. Cancel (the button, Escape or the title bar's close) only asks the run to stop at
// the next page, so the run never goes on into a window that is gone.
class frmProgress : public QDialog, public IProgressReport
{
    Q_OBJECT
public:
    using Work = std::function<void(frmProgress &)>;

    frmProgress(QWidget *owner, Work work);
    ~frmProgress() override;

    void SetPercentage(int percent) override;
    void SetStatus(const QString &stat) override;
    bool Cancel() const override { return m_cancel; }
    void setCancel(bool cancel) override { m_cancel = cancel; }

    static constexpr int BarWidthTwips = 4215;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void run();

    std::unique_ptr<Ui::frmProgress> ui;
    Work m_work;
    bool m_cancel = false;
    bool m_started = false;
    bool m_running = false;
};
