// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DestinationQuestion.h"

#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/QuestionGuard.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

DestinationQuestion::DestinationQuestion(QWidget *owner, FileDialog &files, MessageBox &messages,
                                         QuestionGuard &questions)
    : m_owner(owner)
    , m_files(files)
    , m_messages(messages)
    , m_questions(questions)
{}

bool DestinationQuestion::ask(ConversionJob &job, const QString &document, const QString &folder) const
{
    const QString suffix = OptionLists::suffix(job.options.format);
    const QString proposed = QDir(folder).filePath(QFileInfo(document).completeBaseName() + QLatin1Char('.') + suffix);
    // The dialog asks about the name chosen when that is the one file written. The name can still turn the
    // run into one file (a .tif for numbered PNGs): what the dialog did not ask about is asked here, once.
    const bool dialogAsks = job.isOneFile();
    job.destination = m_files.saveImage(m_owner, proposed, suffix, dialogAsks);
    if (job.destination.isEmpty())
        return false;
    const qsizetype existing =
        job.outputsToReplace([](const QString &name) { return QFileInfo::exists(name); }, dialogAsks).size();
    if (existing == 0)
        return true;
    const QuestionGuard::Asking asking(m_questions);
    return m_messages.askYesNo(
        m_owner,
        QCoreApplication::translate("MainWindow", "%n file(s) already exist. Replace them?", nullptr, int(existing)));
}
