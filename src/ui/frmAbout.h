// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class frmAbout;
}

// The program's name, version and author, with a link to the web site and one to a donation page.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *owner);
    ~frmAbout() override;

    static const QString SiteAddress;
    static const QString DonationAddress;
    // " 1.0 (build 0)" for file version 1.0.0.0: major, minor and the fourth part.
    static QString versionSuffix(const QString &fileVersion);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<Ui::frmAbout> ui;
};
