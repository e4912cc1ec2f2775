// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/ConversionJob.h"

class FileDialog;
class MessageBox;
class QuestionGuard;
class QWidget;

// Asks where a conversion writes, and whether it may replace what is there.
class DestinationQuestion
{
public:
    DestinationQuestion(QWidget *owner, FileDialog &files, MessageBox &messages, QuestionGuard &questions);

    // Sets job's destination, proposing the document's name in folder. False when the user declines.
    bool ask(ConversionJob &job, const QString &document, const QString &folder) const;

private:
    QWidget *m_owner;
    FileDialog &m_files;
    MessageBox &m_messages;
    QuestionGuard &m_questions;
};
