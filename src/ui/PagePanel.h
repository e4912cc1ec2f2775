// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// The column beside the preview: the page shown, the range to convert and the size of the image.
class PagePanel : public QWidget
{
    Q_OBJECT
public:
    explicit PagePanel(QWidget *parent = nullptr);

    // A new document: its pages in the list, the whole document as the range.
    void setDocument(int pageCount, int page);
    // Shows page without signalling a choice.
    void setPage(int page);
    // note says which of the page's boxes the size is of.
    void setOutputSize(QSize size, const QString &note = {});
    void setRangeEnabled(bool enabled);
    int firstPage() const;
    int lastPage() const;
    // A page list such as "1,3,5-7,10-" that the range button converts in place of from and to; empty for none.
    QString pageList() const;
    // What the range button does with the range as it stands.
    QString rangeCaption() const;
    QList<QWidget *> tabOrder() const;

signals:
    void pageChosen(int page);
    void rangeChanged();

private:
    void updateRangeEnabled();

    int m_pageCount = 0;
    bool m_rangeEnabled = true;
    QComboBox *m_pageCombo = nullptr;
    QSpinBox *m_pageSpin = nullptr; // in place of the list, for a document too long to list
    QSpinBox *m_fromSpin = nullptr;
    QSpinBox *m_toSpin = nullptr;
    QLineEdit *m_listEdit = nullptr;
    QLineEdit *m_widthEdit = nullptr;
    QLineEdit *m_heightEdit = nullptr;
    QLabel *m_boxLabel = nullptr;
};
