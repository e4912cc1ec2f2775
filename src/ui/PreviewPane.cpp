// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PreviewPane.h"

#include "preview/PreviewRenderer.h"
#include "ui/ActualSizeView.h"
#include "ui/Widgets.h"

#include <QEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QStackedLayout>

PreviewPane::PreviewPane(QWidget *parent)
    : QFrame(parent)
    , m_label(named(new QLabel, "previewLabel"))
    , m_actual(named(new ActualSizeView, "actualPixelsView"))
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
    m_label->installEventFilter(this);
    m_actual->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    auto *frame = new QWidget;
    m_stack = new QStackedLayout(frame);
    m_stack->addWidget(m_label);
    m_stack->addWidget(m_actual);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(frame);
    connect(m_actual, &ActualSizeView::visibleRegionChanged, this, &PreviewPane::visibleRegionChanged);
    connect(m_actual, &ActualSizeView::doubleClicked, this, [this] { setZoom(Zoom::Fitted); });

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

void PreviewPane::setZoom(Zoom zoom)
{
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    m_stack->setCurrentWidget(zoom == Zoom::Fitted ? static_cast<QWidget *>(m_label) : m_actual);
    emit zoomChanged(zoom);
}

void PreviewPane::setOutputSize(QSize size)
{
    m_actual->setOutputSize(size);
}

QRect PreviewPane::visibleRegion() const
{
    return m_actual->visibleRegion();
}

bool PreviewPane::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_label && event->type() == QEvent::MouseButtonDblClick) {
        setZoom(Zoom::ActualPixels);
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void PreviewPane::show(const PreviewResult &result)
{
    if (m_zoom == Zoom::ActualPixels && result.actualPixels) {
        m_actual->setOutputSize(result.outputSize);
        m_actual->show(result.image, result.region);
        return;
    }
    QImage image = result.image;
    // The output's own pixels, enlarged without smoothing: a small output looks as coarse as the file is.
    if (result.actualPixels && !image.isNull())
        image = image.scaled(image.size().scaled(box(), Qt::KeepAspectRatio), Qt::IgnoreAspectRatio,
                             Qt::FastTransformation);
    if (image.hasAlphaChannel()) {
        // Laid on the checks exactly as its alpha says.
        QImage shown(image.size(), QImage::Format_RGB32);
        QPainter painter(&shown);
        ActualSizeView::drawChecks(painter, shown.rect());
        painter.drawImage(0, 0, image);
        painter.end();
        image = shown;
    }
    image.setDevicePixelRatio(m_label->devicePixelRatioF());
    m_label->setPixmap(QPixmap::fromImage(image));
}
