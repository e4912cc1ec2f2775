// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AboutDialog.h"

#include "ui_AboutDialog.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

namespace {
const auto SiteAddress = QStringLiteral(SHEETFORGE_HOMEPAGE);
const auto DonationAddress = QStringLiteral(SHEETFORGE_HOMEPAGE "donate");
} // namespace

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::AboutDialog>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    const QIcon icon(QStringLiteral(":/sheetforge/icon.png"));
    setWindowIcon(icon);
    ui->iconLabel->setPixmap(icon.pixmap(32, 32));
    ui->donateLabel->setPixmap(QPixmap(QStringLiteral(":/sheetforge/donate.gif")));
    ui->titleLabel->setText(ui->titleLabel->text() + QLatin1Char(' ') + QCoreApplication::applicationVersion());
    ui->siteLinkLabel->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(SiteAddress));
    ui->donateLabel->installEventFilter(this);
    connect(ui->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    ui->buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
}

AboutDialog::~AboutDialog() = default;

bool AboutDialog::eventFilter(QObject *watched, QEvent *event)
{
    // A missing browser is not reported.
    if (watched == ui->donateLabel && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        QDesktopServices::openUrl(QUrl(DonationAddress));
    return QDialog::eventFilter(watched, event);
}
