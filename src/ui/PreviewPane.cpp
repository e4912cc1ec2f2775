// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PreviewPane.h"

#include "preview/PreviewRenderer.h"
#include "ui/Widgets.h"

#include <QKeySequence>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

PreviewPane::PreviewPane(QWidget *parent)
    : QFrame(parent)
    , m_label(named(new QLabel, "previewLabel"))
{
    setObjectName(QStringLiteral("previewFrame"));
    setFrameShape(QFrame::Box);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setWordWrap(true);
    // Until a page replaces it, the empty frame says how to fill it.
    m_label->setText(tr("Open a PDF with %1, or drop one here.")
                         .arg(QKeySequence(QKeySequence::Open).toString(QKeySequence::NativeText)));
    m_label->setMinimumSize(PreviewBox, PreviewBox);
    // The pixmap must not push the window wider; the label follows the window instead.
    m_label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(m_label);

    auto *busy = named(new QProgressBar, "busyIndicator");
    busy->setRange(0, 0);
    busy->setMaximumWidth(120);
    busy->setMaximumHeight(busy->fontMetrics().height());
    busy->setToolTip(tr("Rendering the preview"));
    busy->hide();
    m_busy = busy;
}

QWidget *PreviewPane::busyIndicator() const
{
    return m_busy;
}

QSize PreviewPane::box() const
{
    return m_label->contentsRect().size() * m_label->devicePixelRatioF();
}

void PreviewPane::show(QImage image)
{
    image.setDevicePixelRatio(m_label->devicePixelRatioF());
    m_label->setPixmap(QPixmap::fromImage(image));
}
