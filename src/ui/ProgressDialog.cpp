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
#include <functional>

ProgressDialog::ProgressDialog(MessageBox &messages, QWidget *parent)
    : QDialog(parent)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("progressDialog"));
    setWindowTitle(tr("Converting"));
    setWindowModality(Qt::WindowModal);
    m_statusLabel = new QLabel(this);
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
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
    fitLine(40);
}

void ProgressDialog::fitLine(int characters)
{
    m_statusLabel->setMinimumWidth(m_statusLabel->fontMetrics().horizontalAdvance(QLatin1Char('x')) * characters);
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
    struct Place
    {
        QString name;
        int index = 0;
        int count = 0;
        int pages = 0; // of the document being converted
    };
    const auto at = std::make_shared<Place>();
    fitLine(64); // a document's place and name share the line with its page
    // One line that keeps the dialog's size: the name gives way to the rest of it, however long. The parts are
    // put in at once, so a name holding "%1" stays as it is.
    const auto show = [this, at](const std::function<QString(const QString &)> &around) {
        const auto line = [&](const QString &name) {
            return around(
                tr("Document %1 of %2, %3").arg(QString::number(at->index + 1), QString::number(at->count), name));
        };
        const QFontMetrics metrics = m_statusLabel->fontMetrics();
        const int room =
            std::max(m_statusLabel->width(), m_statusLabel->minimumWidth()) - metrics.horizontalAdvance(line({}));
        setStatus(line(metrics.elidedText(at->name, Qt::ElideMiddle, std::max(room, 0))));
    };
    // A document opening, or started: the line begins again, and so does the bar.
    const auto begun = [this, at, show](std::function<QString(const QString &)> around) {
        return [this, at, show, around](const QString &path, int index, int count) {
            *at = {Problem::escapeName(QFileInfo(path).fileName()), index, count, 0};
            show(around);
            setProgress(0, 1);
        };
    };
    connect(&batch, &BatchConversion::documentOpening, this,
            begun([this](const QString &where) { return tr("%1: opening...").arg(where); }));
    connect(&batch, &BatchConversion::documentStarted, this, begun([](const QString &where) { return where; }));
    // The window converts whole documents: a page's number is its place in the run.
    connect(&batch, &BatchConversion::pageStarted, this, [this, at, show](int page) {
        show([&](const QString &where) {
            return tr("%1: page %2 of %3...").arg(where, QString::number(page), QString::number(at->pages));
        });
    });
    connect(&batch, &BatchConversion::progressChanged, this, [this, at](int done, int total) {
        at->pages = total;
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
