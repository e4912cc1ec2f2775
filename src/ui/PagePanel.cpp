// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PagePanel.h"

#include "ui/Widgets.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// A list of more pages takes long to fill and cannot be scrolled through; a number field holds any count.
constexpr int MostListedPages = 2000;

QLineEdit *sizeField(const char *name)
{
    QLineEdit *field = readOnlyField(name);
    field->setAlignment(Qt::AlignRight);
    field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    return field;
}

} // namespace

PagePanel::PagePanel(QWidget *parent)
    : QWidget(parent)
    , m_pageCombo(named(new QComboBox, "pageCombo"))
    , m_pageSpin(named(new QSpinBox, "pageSpin"))
    , m_fromSpin(named(new QSpinBox, "fromSpin"))
    , m_toSpin(named(new QSpinBox, "toSpin"))
    , m_listEdit(named(new QLineEdit, "pageListEdit"))
    , m_widthEdit(sizeField("widthEdit"))
    , m_heightEdit(sizeField("heightEdit"))
    , m_boxLabel(named(new QLabel, "boxLabel"))
{
    m_fromSpin->setToolTip(tr("The first page the range button converts"));
    m_toSpin->setToolTip(tr("The last page the range button converts"));

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    auto *pageLabel = new QLabel(tr("Preview page:"));
    pageLabel->setBuddy(m_pageCombo);
    column->addWidget(pageLabel);
    column->addWidget(m_pageCombo);
    column->addWidget(m_pageSpin);
    m_pageSpin->hide();
    // A page number is taken once typed, not digit by digit.
    m_pageSpin->setKeyboardTracking(false);
    column->addSpacing(pageLabel->fontMetrics().height() / 2);
    auto *rangeLabel = new QLabel(tr("Convert pages:"));
    rangeLabel->setBuddy(m_fromSpin);
    column->addWidget(rangeLabel);
    auto *range = new QHBoxLayout;
    range->addWidget(new QLabel(tr("from")));
    range->addWidget(m_fromSpin, 1);
    range->addWidget(new QLabel(tr("to")));
    range->addWidget(m_toSpin, 1);
    column->addLayout(range);
    auto *listLabel = new QLabel(tr("or the pages:"));
    listLabel->setBuddy(m_listEdit);
    column->addWidget(listLabel);
    column->addWidget(m_listEdit);
    m_listEdit->setPlaceholderText(tr("e.g. 1,3,5-7,10-"));
    m_listEdit->setToolTip(tr("Pages and ranges separated by commas; \"10-\" runs to the last page, \"odd\" and "
                              "\"even\" take every other page. When given, the range button converts these pages "
                              "instead of from and to."));
    column->addSpacing(pageLabel->fontMetrics().height() / 2);
    column->addWidget(new QLabel(tr("Image size (pixels):")));
    auto *size = new QHBoxLayout;
    size->addWidget(m_widthEdit, 1);
    size->addWidget(new QLabel(tr("x")));
    size->addWidget(m_heightEdit, 1);
    column->addLayout(size);
    m_boxLabel->setWordWrap(true);
    for (QLineEdit *side : {m_widthEdit, m_heightEdit})
        side->setToolTip(tr("The size the conversion writes, each side rounded to the nearest pixel as Ghostscript "
                            "renders it. Some other tools round up, and their images can be a pixel larger."));
    column->addWidget(m_boxLabel);
    column->addStretch();
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);

    connect(m_pageCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            emit pageChosen(index + 1);
    });
    connect(m_pageSpin, &QSpinBox::valueChanged, this, &PagePanel::pageChosen);
    connect(m_fromSpin, &QSpinBox::valueChanged, this, [this](int from) {
        m_toSpin->setMinimum(from);
        emit rangeChanged();
    });
    connect(m_toSpin, &QSpinBox::valueChanged, this, [this](int to) {
        m_fromSpin->setMaximum(to);
        emit rangeChanged();
    });
    connect(m_listEdit, &QLineEdit::textChanged, this, [this] {
        updateRangeEnabled();
        emit rangeChanged();
    });
}

void PagePanel::setDocument(int pageCount, int page)
{
    m_pageCount = pageCount;
    const bool listed = pageCount <= MostListedPages;
    {
        const QSignalBlocker blocker(m_pageCombo), spinBlocker(m_pageSpin);
        m_pageCombo->clear();
        for (int number = 1; listed && number <= pageCount; ++number)
            m_pageCombo->addItem(tr("Page %1").arg(number));
        m_pageSpin->setRange(1, std::max(1, pageCount));
        m_pageCombo->setVisible(listed);
        m_pageSpin->setVisible(!listed);
    }
    setPage(page);
    const QSignalBlocker fromBlocker(m_fromSpin), toBlocker(m_toSpin);
    m_fromSpin->setRange(1, pageCount);
    m_toSpin->setRange(1, pageCount);
    m_fromSpin->setValue(1);
    m_toSpin->setValue(pageCount);
    const QSignalBlocker listBlocker(m_listEdit);
    m_listEdit->clear();
    updateRangeEnabled();
    emit rangeChanged();
}

void PagePanel::setPage(int page)
{
    const QSignalBlocker blocker(m_pageCombo), spinBlocker(m_pageSpin);
    if (page <= m_pageCombo->count())
        m_pageCombo->setCurrentIndex(page - 1);
    m_pageSpin->setValue(page);
}

void PagePanel::setOutputSize(QSize size, const QString &note)
{
    m_widthEdit->setText(QString::number(size.width()));
    m_heightEdit->setText(QString::number(size.height()));
    m_boxLabel->setText(note);
}

void PagePanel::setRangeEnabled(bool enabled)
{
    m_rangeEnabled = enabled;
    updateRangeEnabled();
}

void PagePanel::updateRangeEnabled()
{
    // A list in the field takes the place of from and to.
    const bool listed = !pageList().isEmpty();
    m_fromSpin->setEnabled(m_rangeEnabled && !listed);
    m_toSpin->setEnabled(m_rangeEnabled && !listed);
    m_listEdit->setEnabled(m_rangeEnabled);
}

QString PagePanel::pageList() const
{
    return m_listEdit->text().trimmed();
}

int PagePanel::firstPage() const
{
    return m_fromSpin->value();
}

int PagePanel::lastPage() const
{
    return m_toSpin->value();
}

QString PagePanel::rangeCaption() const
{
    // The button converts the range in the fields, which need not be the whole document.
    const int from = firstPage(), to = lastPage();
    if (m_pageCount == 0)
        return tr("Convert pages");
    // A long list would stretch the button and the window with it.
    constexpr qsizetype LongestListShown = 16;
    if (!pageList().isEmpty())
        return pageList().size() <= LongestListShown ? tr("Convert pages %1").arg(pageList())
                                                     : tr("Convert the listed pages");
    if (from == 1 && to == m_pageCount)
        return tr("Convert all pages");
    return from == to ? tr("Convert page %1").arg(from) : tr("Convert pages %1 to %2").arg(from).arg(to);
}

QList<QWidget *> PagePanel::tabOrder() const
{
    return {m_pageCombo, m_pageSpin, m_fromSpin, m_toSpin, m_listEdit};
}
