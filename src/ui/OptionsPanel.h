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
class QRadioButton;
class QSpinBox;

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
    // The width a new box starts with: the page's present width in pixels.
    void setSuggestedWidth(int width) { m_suggestedWidth = width; }
    // The controls in the order Tab visits them.
    QList<QWidget *> tabOrder() const;

signals:
    void optionsEdited(const ConversionOptions &options);

private:
    void edited();
    QLayout *boxRow();
    QLayout *printRow();
    QWidget *drawGroup();

    ConversionOptions m_options;
    int m_suggestedWidth = 1000;
    QGridLayout *m_grid = nullptr;
    QComboBox *m_depthCombo = nullptr;
    QCheckBox *m_ditherCheck = nullptr;
    QCheckBox *m_antialiasCheck = nullptr;
    QComboBox *m_formatCombo = nullptr;
    QLabel *m_qualityLabel = nullptr;
    QLineEdit *m_qualityEdit = nullptr;
    QRadioButton *m_resolutionRadio = nullptr;
    QComboBox *m_resolutionCombo = nullptr;
    QRadioButton *m_boxRadio = nullptr;
    QSpinBox *m_boxWidthSpin = nullptr;
    QSpinBox *m_boxHeightSpin = nullptr;
    QCheckBox *m_trimCheck = nullptr;
    QCheckBox *m_transparentCheck = nullptr;
    QComboBox *m_pageBoxCombo = nullptr;
    QComboBox *m_overprintCombo = nullptr;
    QCheckBox *m_iccCheck = nullptr;
    // The drawing switches, each bound to its member of Drawing.
    QList<std::pair<QCheckBox *, bool Drawing::*>> m_drawChecks;
};
