// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class BatchConversion;
class ConversionEngine;
class MessageBox;
class QLabel;
class QProgressBar;
class QPushButton;

// Shows a run's progress. Cancel, Escape and the title bar's close all ask the same question; only a
// "Yes" stops the run. The window closes itself when the run ends.
class ProgressDialog : public QDialog
{
    Q_OBJECT
public:
    ProgressDialog(MessageBox &messages, QWidget *parent = nullptr);

    // Shows engine's run over pages (ascending), and holds or cancels it as the user answers.
    void follow(ConversionEngine &engine, const QList<int> &pages);
    // Shows a batch's documents and pages, and holds or cancels it.
    void followBatch(BatchConversion &batch);
    void setProgress(int done, int total);
    void setStatus(const QString &text);
    // "Processing page 15 of 93...": the page, and where it stands among the total pages of the run.
    static QString pageStatus(int page, int ordinal, int total);
    // The run is over: close, even if a question is still open.
    void finish();

signals:
    // The question is open: the run should wait for the answer.
    void cancelAsked();
    void cancelWithdrawn();
    void cancelConfirmed();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void askToCancel();
    // The status line holds this many characters, and the dialog keeps the size that takes.
    void fitLine(int characters);

    MessageBox &m_messages;
    QLabel *m_statusLabel = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QPushButton *m_cancelButton = nullptr;
    bool m_asking = false;
    bool m_finished = false;
};
