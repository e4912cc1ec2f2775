// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FileDialog.h"

#include <QApplication>
#include <QFileDialog>

QStringList FileDialog::openDocuments(QWidget *owner, const QString &folder)
{
    QFileDialog dialog(owner, QApplication::translate("FileDialog", "Open PDF document"), folder);
    // Any case: SCAN.PDF is as much a PDF as scan.pdf.
    dialog.setNameFilters({QApplication::translate("FileDialog", "PDF documents (*.[pP][dD][fF])"),
                           QApplication::translate("FileDialog", "All files (*)")});
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

QString FileDialog::chooseFolder(QWidget *owner, const QString &folder)
{
    return QFileDialog::getExistingDirectory(owner, QApplication::translate("FileDialog", "Select destination folder"),
                                             folder);
}

QString FileDialog::saveImage(QWidget *owner, const QString &proposed, const QString &suffix, bool confirmOverwrite)
{
    QFileDialog dialog(owner, QApplication::translate("FileDialog", "Select destination file..."));
    dialog.setNameFilters({QApplication::translate("FileDialog", "image files (*.%1)").arg(suffix),
                           QApplication::translate("FileDialog", "All files (*)")});
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
