// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmProgress.h"

#include "tools/Twips.h"
#include "ui/CenterForm.h"
#include "ui_frmProgress.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>

frmProgress::frmProgress(QWidget *owner, Work work)
    : QDialog(owner)
    , ui(std::make_unique<Ui::frmProgress>())
    , m_work(std::move(work))
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(size());
    setModal(true);
    ui->txtprogressbar->setBackgroundRole(QPalette::Highlight);
    connect(ui->cmdCancel, &QPushButton::clicked, this, [this] { m_cancel = true; });
    CenterForm(this, owner);
}

frmProgress::~frmProgress() = default;

void frmProgress::SetPercentage(int percent)
{
    const int twips = percent * BarWidthTwips / 100;
    ui->txtprogressbar->resize(Twips::toPixels(twips), ui->txtprogressbar->height());
    repaint();
    QCoreApplication::processEvents();
}

void frmProgress::SetStatus(const QString &stat)
{
    ui->txtStatus->setText(stat);
    repaint();
}

void frmProgress::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        QTimer::singleShot(0, this, &frmProgress::run);
    }
}

void frmProgress::run()
{
    QCoreApplication::processEvents(); // paint the window before the work starts
    m_running = true;
    m_work(*this);
    m_running = false;
    accept();
}

void frmProgress::reject()
{
    if (m_running)
        m_cancel = true;
    else
        QDialog::reject();
}

void frmProgress::closeEvent(QCloseEvent *event)
{
    if (m_running) {
        m_cancel = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
