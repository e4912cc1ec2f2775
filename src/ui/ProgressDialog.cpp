// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ProgressDialog.h"

#include "conversion/BatchConversion.h"
#include "tools/Problem.h"
#include "ui/MessageBox.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

ProgressDialog::ProgressDialog(MessageBox &messages, QWidget *parent)
    : QDialog(parent)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("progressDialog"));
    setWindowTitle(tr("Converting"));
    setWindowModality(Qt::WindowModal);
    m_statusLabel = new QLabel(this);
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
    m_statusLabel->setMinimumWidth(m_statusLabel->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);
    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setRange(0, 1);
    m_progressBar->setValue(0);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_cancelButton = buttons->button(QDialogButtonBox::Cancel);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(m_cancelButton, &QPushButton::clicked, this, &ProgressDialog::askToCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_statusLabel);
    layout->addWidget(m_progressBar);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

void ProgressDialog::follow(ConversionEngine &engine, const QList<int> &pages)
{
    const auto showPage = [this, pages](int page) {
        const auto at = std::lower_bound(pages.cbegin(), pages.cend(), page);
        setStatus(pageStatus(page, int(at - pages.cbegin()) + 1, int(pages.size())));
    };
    showPage(pages.value(0, 1));
    connect(&engine, &ConversionEngine::pageStarted, this, showPage);
    connect(&engine, &ConversionEngine::progressChanged, this, &ProgressDialog::setProgress);
    connect(this, &ProgressDialog::cancelAsked, &engine, [&engine] { engine.setHeld(true); });
    connect(this, &ProgressDialog::cancelWithdrawn, &engine, [&engine] { engine.setHeld(false); });
    connect(this, &ProgressDialog::cancelConfirmed, &engine, &ConversionEngine::cancel);
}

void ProgressDialog::followBatch(BatchConversion &batch)
{
    const auto document = std::make_shared<QString>();
    const auto pages = std::make_shared<int>(0); // of the document being converted
    // One line that keeps the dialog's size, however long the name.
    const auto place = [this](const QString &path, int index, int count) {
        const QString name = fontMetrics().elidedText(Problem::escapeName(QFileInfo(path).fileName()), Qt::ElideMiddle,
                                                      m_statusLabel->width() / 2);
        return tr("Document %1 of %2, %3").arg(index + 1).arg(count).arg(name);
    };
    connect(&batch, &BatchConversion::documentOpening, this, [this, place](const QString &path, int index, int count) {
        setStatus(tr("%1: opening...").arg(place(path, index, count)));
        setProgress(0, 1);
    });
    connect(&batch, &BatchConversion::documentStarted, this,
            [this, document, place](const QString &path, int index, int count) {
                *document = place(path, index, count);
                setStatus(*document);
                setProgress(0, 1);
            });
    // The window converts whole documents: a page's number is its place in the run.
    connect(&batch, &BatchConversion::pageStarted, this, [this, document, pages](int page) {
        setStatus(tr("%1: page %2 of %3...").arg(*document).arg(page).arg(*pages));
    });
    connect(&batch, &BatchConversion::progressChanged, this, [this, pages](int done, int total) {
        *pages = total;
        setProgress(done, total);
    });
    connect(this, &ProgressDialog::cancelAsked, &batch, [&batch] { batch.setHeld(true); });
    connect(this, &ProgressDialog::cancelWithdrawn, &batch, [&batch] { batch.setHeld(false); });
    connect(this, &ProgressDialog::cancelConfirmed, &batch, &BatchConversion::cancel);
}

void ProgressDialog::setProgress(int done, int total)
{
    m_progressBar->setRange(0, std::max(1, total));
    m_progressBar->setValue(done);
}

QString ProgressDialog::pageStatus(int page, int ordinal, int total)
{
    if (total <= 1)
        return tr("Processing page %1...").arg(page);
    if (page == ordinal)
        return tr("Processing page %1 of %2...").arg(page).arg(total);
    return tr("Processing page %1 (%2 of %3)...").arg(page).arg(ordinal).arg(total);
}

void ProgressDialog::setStatus(const QString &text)
{
    m_statusLabel->setText(text);
}

void ProgressDialog::finish()
{
    m_finished = true;
    if (!m_asking)
        done(QDialog::Accepted);
}

void ProgressDialog::reject()
{
    askToCancel();
}

void ProgressDialog::closeEvent(QCloseEvent *event)
{
    event->ignore();
    askToCancel();
}

void ProgressDialog::askToCancel()
{
    if (m_asking || m_finished)
        return;
    m_asking = true;
    emit cancelAsked();
    const bool yes = m_messages.askYesNo(this, tr("Are you sure you want to cancel the operation?"));
    m_asking = false;
    if (m_finished) {
        done(QDialog::Accepted);
        return;
    }
    if (yes)
        emit cancelConfirmed();
    else
        emit cancelWithdrawn();
}
