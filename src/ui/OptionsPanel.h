// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/ConversionOptions.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;

// The controls for the conversion options, bound to a ConversionOptions: it shows the options it is
// given, and signals the options as the user edits them.
class OptionsPanel : public QWidget
{
    Q_OBJECT
public:
    explicit OptionsPanel(QWidget *parent = nullptr);

    // Shows options without signalling an edit.
    void setOptions(const ConversionOptions &options);
    const ConversionOptions &options() const { return m_options; }
    // The grid, so that a window can put a row of its own above the options, aligned with them.
    QGridLayout *grid() const { return m_grid; }
    // The controls in the order Tab visits them.
    QList<QWidget *> tabOrder() const;

signals:
    void optionsEdited(const ConversionOptions &options);

private:
    void edited();

    ConversionOptions m_options;
    QGridLayout *m_grid = nullptr;
    QComboBox *m_depthCombo = nullptr;
    QCheckBox *m_ditherCheck = nullptr;
    QCheckBox *m_antialiasCheck = nullptr;
    QComboBox *m_formatCombo = nullptr;
    QLabel *m_qualityLabel = nullptr;
    QLineEdit *m_qualityEdit = nullptr;
    QComboBox *m_resolutionCombo = nullptr;
    QCheckBox *m_trimCheck = nullptr;
};
