// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AboutDialog.h"

#include "ui_AboutDialog.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

namespace {
const auto SiteAddress = QStringLiteral("https://sheetforge.github.io/");
const auto DonationAddress = QStringLiteral("https://sheetforge.github.io/donate");
} // namespace

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::AboutDialog>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    const QIcon icon(QStringLiteral(":/sheetforge/icon.png"));
    setWindowIcon(icon);
    ui->Image1->setPixmap(icon.pixmap(32, 32));
    ui->imgDonate->setPixmap(QPixmap(QStringLiteral(":/sheetforge/donate.gif")));
    ui->Label1->setText(ui->Label1->text() + QLatin1Char(' ') + QCoreApplication::applicationVersion());
    ui->lblSiteLink->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(SiteAddress));
    ui->imgDonate->installEventFilter(this);
    connect(ui->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    ui->buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
}

AboutDialog::~AboutDialog() = default;

bool AboutDialog::eventFilter(QObject *watched, QEvent *event)
{
    // A missing browser is not reported.
    if (watched == ui->imgDonate && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        QDesktopServices::openUrl(QUrl(DonationAddress));
    return QDialog::eventFilter(watched, event);
}
