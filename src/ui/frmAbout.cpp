// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmAbout.h"

#include "ui/CenterForm.h"
#include "ui_frmAbout.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

const QString frmAbout::SiteAddress = QStringLiteral("https://sheetforge.github.io/");
const QString frmAbout::DonationAddress = QStringLiteral("https://sheetforge.github.io/donate");

frmAbout::frmAbout(QWidget *owner)
    : QDialog(nullptr)
    , ui(std::make_unique<Ui::frmAbout>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/sheetforge/icon.png")));
    setFixedSize(size());
    CenterForm(this, owner);
    ui->Label1->setText(ui->Label1->text() + versionSuffix(QStringLiteral(SHEETFORGE_VERSION)));
    ui->Label2->setText(QStringLiteral("the sheetforge developers, 2026"));
    ui->lblSiteLink->setText(SiteAddress);
    ui->lblSiteLink->installEventFilter(this);
    ui->imgDonate->installEventFilter(this);
    connect(ui->cmdOK, &QPushButton::clicked, this, &QWidget::close);
}

frmAbout::~frmAbout() = default;

QString frmAbout::versionSuffix(const QString &fileVersion)
{
    const QStringList parts = fileVersion.split(QLatin1Char('.'));
    const auto part = [&parts](int i) { return QString::number(parts.value(i).toInt()); };
    return QLatin1Char(' ') + part(0) + QLatin1Char('.') + part(1) + QStringLiteral(" (build ") + part(3)
        + QLatin1Char(')');
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        // The link opens whatever address the label shows. A missing browser is not reported.
        if (watched == ui->lblSiteLink)
            QDesktopServices::openUrl(QUrl(ui->lblSiteLink->text()));
        else if (watched == ui->imgDonate)
            QDesktopServices::openUrl(QUrl(DonationAddress));
    }
    return QDialog::eventFilter(watched, event);
}
