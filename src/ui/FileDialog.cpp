// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FileDialog.h"

#include <QFileDialog>

FileDialogRequest FileDialogRequest::forMode(FileDialogMode mode, const QString &extension)
{
    FileDialogRequest request;
    if (mode == FileDialogMode::OpenDocument) {
        request.title = QStringLiteral("Select image file...");
        request.filters = QStringList{QStringLiteral("pdf files (*.pdf)"), QStringLiteral("All files (*)")};
        request.mustExist = true;
    } else {
        request.title = QStringLiteral("Select destination file...");
        request.filters = QStringList{QStringLiteral("image files (*.") + extension + QStringLiteral(" )"),
                                      QStringLiteral("All files (*)")};
        request.defaultSuffix = extension;
    }
    return request;
}

QString FileDialog::ShowFileDialog(QWidget *owner, const QString &initialFolder, FileDialogMode mode,
                                   const QString &extension)
{
    const FileDialogRequest request = FileDialogRequest::forMode(mode, extension);
    QFileDialog dialog(owner, request.title, initialFolder);
    dialog.setNameFilters(request.filters);
    dialog.selectNameFilter(request.filters.first());
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (request.mustExist) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        dialog.setDefaultSuffix(request.defaultSuffix);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst().trimmed();
}

IFileDialog &fileDialog()
{
    if (auto *fake = FileDialogOverride::current())
        return *fake;
    static FileDialog real;
    return real;
}
