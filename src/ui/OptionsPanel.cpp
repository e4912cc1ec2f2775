// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/OptionsPanel.h"

#include "ui/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStandardItemModel>

OptionsPanel::OptionsPanel(QWidget *parent)
    : QWidget(parent)
    , m_grid(new QGridLayout(this))
    , m_depthCombo(named(new QComboBox, "depthCombo"))
    , m_ditherCheck(named(new QCheckBox(tr("Dither")), "ditherCheck"))
    , m_antialiasCheck(named(new QCheckBox(tr("Antialias")), "antialiasCheck"))
    , m_formatCombo(named(new QComboBox, "formatCombo"))
    , m_qualityLabel(new QLabel(tr("Quality:")))
    , m_qualityEdit(named(new QLineEdit, "qualityEdit"))
    , m_resolutionRadio(named(new QRadioButton(tr("Resolution (dpi):")), "resolutionRadio"))
    , m_resolutionCombo(named(new QComboBox, "resolutionCombo"))
    , m_boxRadio(named(new QRadioButton(tr("Fit within:")), "boxRadio"))
    , m_boxWidthSpin(named(new QSpinBox, "boxWidthSpin"))
    , m_boxHeightSpin(named(new QSpinBox, "boxHeightSpin"))
    , m_trimCheck(named(new QCheckBox(tr("Trim edges")), "trimCheck"))
    , m_transparentCheck(named(new QCheckBox(tr("Transparent background")), "transparentCheck"))
    , m_pageBoxCombo(named(new QComboBox, "pageBoxCombo"))
    , m_overprintCombo(named(new QComboBox, "overprintCombo"))
    , m_iccCheck(named(new QCheckBox(tr("sRGB profile")), "iccCheck"))
{
    m_depthCombo->addItems(OptionLists::colorDepthNames());
    m_ditherCheck->setToolTip(tr("Apply error diffusion when reducing the number of colors."));
    m_antialiasCheck->setToolTip(tr("Smooth the edges of the fonts and images"));
    m_depthCombo->setToolTip(tr("The most colours each image keeps. The gray depths write gray images, with "
                                "evenly spaced levels."));
    m_formatCombo->addItems(OptionLists::suffixes());
    m_formatCombo->setToolTip(tr("tif puts every page of a range into one file (black and white as fax Group 4); "
                                 "webp is lossless except in Hicolor, where the quality applies."));
    m_qualityEdit->setMaxLength(3);
    m_qualityEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), m_qualityEdit));
    m_qualityEdit->setToolTip(tr("For JPEG, and WebP in Hicolor: from 0 to 100, higher means a better image and a "
                                 "bigger file. Leave it empty for the image library's default."));
    m_qualityEdit->setMaximumWidth(m_qualityEdit->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
    m_qualityLabel->setBuddy(m_qualityEdit);
    for (int dpi : OptionLists::resolutions())
        m_resolutionCombo->addItem(QString::number(dpi), dpi);
    // Any whole resolution in range can be typed; the list only suggests. Without a completer, a typed "19"
    // stays 19 rather than turning into the listed 192.
    m_resolutionCombo->setEditable(true);
    m_resolutionCombo->setInsertPolicy(QComboBox::NoInsert);
    m_resolutionCombo->setCompleter(nullptr);
    m_resolutionCombo->setValidator(
        new QIntValidator(OptionLists::LowestDpi, OptionLists::HighestDpi, m_resolutionCombo));
    m_resolutionCombo->setToolTip(
        tr("Pick a resolution or type one from %1 to %2.").arg(OptionLists::LowestDpi).arg(OptionLists::HighestDpi));

    // Row 0 is left to the window for the source file.
    m_grid->setContentsMargins(0, 0, 0, 0);
    const auto addRow = [this](int row, const QString &caption, QWidget *field) {
        auto *label = new QLabel(caption);
        label->setBuddy(field);
        m_grid->addWidget(label, row, 0);
        m_grid->addWidget(field, row, 1);
    };
    addRow(1, tr("Color Depth:"), m_depthCombo);
    m_grid->addWidget(m_ditherCheck, 1, 2);
    m_grid->addWidget(m_antialiasCheck, 1, 3);
    addRow(2, tr("Image Format:"), m_formatCombo);
    auto *qualityRow = new QHBoxLayout;
    qualityRow->addWidget(m_qualityLabel);
    qualityRow->addWidget(m_qualityEdit);
    qualityRow->addStretch();
    qualityRow->addWidget(m_transparentCheck);
    m_grid->addLayout(qualityRow, 2, 2, 1, 2);
    // One of the two governs the size: the radio buttons say which, and only its fields can be edited.
    m_grid->addWidget(m_resolutionRadio, 3, 0);
    m_grid->addWidget(m_resolutionCombo, 3, 1);
    m_grid->addWidget(m_trimCheck, 3, 2, 1, 2);
    m_grid->addWidget(m_boxRadio, 4, 0);
    m_grid->addLayout(boxRow(), 4, 1, 1, 3);
    addRow(5, tr("Page box:"), m_pageBoxCombo);
    m_grid->addLayout(printRow(), 5, 2, 1, 2);
    m_grid->addWidget(drawGroup(), 6, 0, 1, 4);
    m_grid->setColumnStretch(1, 1);

    setOptions(m_options);
    connect(m_depthCombo, &QComboBox::currentIndexChanged, this, &OptionsPanel::edited);
    connect(m_ditherCheck, &QCheckBox::toggled, this, &OptionsPanel::edited);
    connect(m_antialiasCheck, &QCheckBox::toggled, this, &OptionsPanel::edited);
    connect(m_formatCombo, &QComboBox::currentIndexChanged, this, &OptionsPanel::edited);
    connect(m_qualityEdit, &QLineEdit::textEdited, this, &OptionsPanel::edited);
    // A quality above 100 reads as 100 once the user leaves the field.
    connect(m_qualityEdit, &QLineEdit::editingFinished, this, [this] { setOptions(m_options); });
    // The text, not the position: a pick from the list after typing may leave the position as it was.
    connect(m_resolutionCombo, &QComboBox::currentTextChanged, this, &OptionsPanel::edited);
    // A resolution typed only in part reads as the last whole one once the user leaves the field.
    connect(m_resolutionCombo->lineEdit(), &QLineEdit::editingFinished, this, [this] { setOptions(m_options); });
    connect(m_boxRadio, &QRadioButton::toggled, this, &OptionsPanel::edited);
    connect(m_boxWidthSpin, &QSpinBox::valueChanged, this, &OptionsPanel::edited);
    connect(m_boxHeightSpin, &QSpinBox::valueChanged, this, &OptionsPanel::edited);
    connect(m_trimCheck, &QCheckBox::toggled, this, &OptionsPanel::edited);
    connect(m_transparentCheck, &QCheckBox::toggled, this, &OptionsPanel::edited);
}

// The page box's field, and beside it how print colour is handled: overprint and the profile.
QLayout *OptionsPanel::printRow()
{
    m_pageBoxCombo->addItems(OptionLists::pageBoxNames());
    m_pageBoxCombo->setToolTip(tr("The part of the page that becomes the image. A page without that box shows its "
                                  "media box, the whole sheet."));
    m_overprintCombo->addItems(OptionLists::overprintNames());
    m_overprintCombo->setToolTip(tr("Mix inks printed over one another as on press. Documents made for print "
                                    "(PDF/X) declare an output intent."));
    m_iccCheck->setToolTip(tr("Embed the sRGB colour profile in colour images (2.5 KB each). Without it, files are "
                              "smaller and read as sRGB all the same."));
    connect(m_pageBoxCombo, &QComboBox::currentIndexChanged, this, &OptionsPanel::edited);
    connect(m_overprintCombo, &QComboBox::currentIndexChanged, this, &OptionsPanel::edited);
    connect(m_iccCheck, &QCheckBox::toggled, this, &OptionsPanel::edited);
    auto *row = new QHBoxLayout;
    auto *overprintLabel = new QLabel(tr("Overprint:"));
    overprintLabel->setBuddy(m_overprintCombo);
    row->addWidget(overprintLabel);
    row->addWidget(m_overprintCombo, 1);
    row->addWidget(m_iccCheck);
    return row;
}

QWidget *OptionsPanel::drawGroup()
{
    auto *group = named(new QGroupBox(tr("Draw")), "drawGroup");
    auto *row = new QHBoxLayout(group);
    const auto add = [&](const QString &caption, bool Drawing::*member, const char *name, const QString &tip) {
        auto *check = named(new QCheckBox(caption), name);
        check->setToolTip(tip);
        row->addWidget(check);
        m_drawChecks << std::pair(check, member);
        connect(check, &QCheckBox::toggled, this, &OptionsPanel::edited);
    };
    add(tr("Annotations"), &Drawing::annotations, "annotationsCheck", tr("Notes, stamps, highlights and links"));
    add(tr("Form fields"), &Drawing::forms, "formsCheck", tr("The fields of a form and what was typed in them"));
    add(tr("As printed"), &Drawing::printed, "printedCheck",
        tr("Leave out annotations marked not to print, as a printer would; otherwise the page looks as in a viewer."));
    for (const ContentFacts &content : OptionLists::contentTable())
        add(QCoreApplication::translate("OptionLists", content.name), content.member,
            QByteArray(content.commandLineName.data()).append("Check").constData(),
            tr("Clear it to leave this out, for text recognition or to take a page's background."));
    row->addStretch();
    return group;
}

QLayout *OptionsPanel::boxRow()
{
    m_resolutionRadio->setToolTip(tr("Render every page at this resolution."));
    m_boxRadio->setToolTip(tr("Scale every page to fit within this many pixels, keeping its shape. A side left at "
                              "\"any\" is free."));
    auto *row = new QHBoxLayout;
    for (QSpinBox *spin : {m_boxWidthSpin, m_boxHeightSpin}) {
        spin->setRange(0, OptionLists::MaxBoxSide);
        spin->setSingleStep(100);
        spin->setSpecialValueText(tr("any"));
        spin->setAccelerated(true);
    }
    m_boxWidthSpin->setToolTip(tr("Width in pixels"));
    m_boxHeightSpin->setToolTip(tr("Height in pixels"));
    m_boxWidthSpin->setAccessibleName(tr("Width in pixels"));
    m_boxHeightSpin->setAccessibleName(tr("Height in pixels"));
    row->addWidget(m_boxWidthSpin);
    row->addWidget(new QLabel(QStringLiteral("\u00d7")));
    row->addWidget(m_boxHeightSpin);
    row->addWidget(new QLabel(tr("pixels")));
    row->addStretch();
    return row;
}

void OptionsPanel::setOptions(const ConversionOptions &options)
{
    m_options = options;
    const QSignalBlocker b1(m_depthCombo), b2(m_ditherCheck), b3(m_antialiasCheck), b4(m_formatCombo),
        b5(m_qualityEdit), b6(m_resolutionCombo), b7(m_trimCheck), b8(m_boxRadio), b9(m_resolutionRadio),
        b10(m_boxWidthSpin), b11(m_boxHeightSpin), b12(m_transparentCheck), b13(m_pageBoxCombo), b14(m_overprintCombo),
        b15(m_iccCheck);
    m_iccCheck->setChecked(options.iccProfile);
    // Gray pages and CMYK carry no sRGB profile.
    m_iccCheck->setEnabled(!options.isGray() && !options.isMonochrome() && !options.isCmyk());
    for (const auto &[check, member] : std::as_const(m_drawChecks)) {
        const QSignalBlocker blocker(check);
        check->setChecked(options.drawing.*member);
    }
    m_pageBoxCombo->setCurrentIndex(int(OptionLists::valuesOf(OptionLists::pageBoxTable()).indexOf(options.pageBox)));
    m_overprintCombo->setCurrentIndex(
        int(OptionLists::valuesOf(OptionLists::overprintTable()).indexOf(options.overprint)));
    m_depthCombo->setCurrentIndex(int(OptionLists::colorDepths().indexOf(options.colorDepth)));
    m_ditherCheck->setChecked(options.dither);
    m_antialiasCheck->setChecked(options.antialias);
    m_formatCombo->setCurrentIndex(int(OptionLists::formats().indexOf(options.format)));
    m_qualityEdit->setText(options.jpegQuality < 0 ? QString() : QString::number(options.jpegQuality));
    const int listed = m_resolutionCombo->findData(options.dpi);
    m_resolutionCombo->setCurrentIndex(listed);
    if (listed < 0)
        m_resolutionCombo->setEditText(QString::number(options.dpi));
    m_boxRadio->setChecked(options.fitToBox);
    m_resolutionRadio->setChecked(!options.fitToBox);
    m_boxWidthSpin->setValue(options.boxWidth);
    m_boxHeightSpin->setValue(options.boxHeight);
    m_resolutionCombo->setEnabled(!options.fitToBox);
    m_boxWidthSpin->setEnabled(options.fitToBox);
    m_boxHeightSpin->setEnabled(options.fitToBox);
    m_trimCheck->setChecked(options.trim);
    // CMYK is offered for the formats that hold it.
    const bool cmykFits = ConversionOptions::holdsCmyk(options.format);
    const int cmykRow = int(OptionLists::colorDepths().indexOf(ColorDepth::Cmyk));
    if (auto *model = qobject_cast<QStandardItemModel *>(m_depthCombo->model()); model && model->item(cmykRow)) {
        model->item(cmykRow)->setEnabled(cmykFits);
        model->item(cmykRow)->setToolTip(cmykFits ? QString() : tr("CMYK is written as JPEG or TIFF."));
    }
    // JPEG has no transparency, nor has CMYK: the box shows what the file will have, and keeps the choice for
    // the others.
    const bool holds = ConversionOptions::holdsTransparency(options.format) && !options.isCmyk();
    m_transparentCheck->setChecked(options.transparent && holds);
    m_transparentCheck->setEnabled(holds);
    m_transparentCheck->setToolTip(holds ? tr("Leave the paper out, for pages placed on a web page or a slide.")
                                   : options.isCmyk() ? tr("CMYK is printed on paper.")
                                                      : tr("JPEG images cannot be transparent."));
    // The quality means something only to the lossy writers: JPEG, and WebP in Hicolor.
    const bool lossy = options.usesQuality();
    m_qualityEdit->setEnabled(lossy);
    m_qualityLabel->setEnabled(lossy);
}

QList<QWidget *> OptionsPanel::tabOrder() const
{
    QList<QWidget *> order{m_depthCombo,      m_ditherCheck,      m_antialiasCheck, m_formatCombo,    m_qualityEdit,
                           m_resolutionRadio, m_resolutionCombo,  m_trimCheck,      m_boxRadio,       m_boxWidthSpin,
                           m_boxHeightSpin,   m_transparentCheck, m_pageBoxCombo,   m_overprintCombo, m_iccCheck};
    for (const auto &[check, member] : m_drawChecks)
        order << check;
    return order;
}

void OptionsPanel::edited()
{
    ConversionOptions options = m_options;
    options.colorDepth = OptionLists::colorDepths().value(m_depthCombo->currentIndex(), options.colorDepth);
    options.dither = m_ditherCheck->isChecked();
    options.antialias = m_antialiasCheck->isChecked();
    options.format = OptionLists::formats().value(m_formatCombo->currentIndex(), options.format);
    const QString quality = m_qualityEdit->text();
    options.jpegQuality = quality.isEmpty() ? ConversionOptions::LibraryDefaultQuality : std::min(100, quality.toInt());
    int state = 0;
    QString typed = m_resolutionCombo->currentText();
    if (m_resolutionCombo->validator()->validate(typed, state) == QValidator::Acceptable)
        options.dpi = typed.toInt();
    options.fitToBox = m_boxRadio->isChecked();
    options.boxWidth = m_boxWidthSpin->value();
    options.boxHeight = m_boxHeightSpin->value();
    // A box with no side yet starts as wide as the page is now, so the size stays until the user changes it.
    if (options.fitToBox && !m_options.fitToBox && options.boxWidth == 0 && options.boxHeight == 0)
        options.boxWidth = m_suggestedWidth;
    options.trim = m_trimCheck->isChecked();
    options.pageBox = OptionLists::pageBoxTable().value(m_pageBoxCombo->currentIndex()).value;
    options.overprint = OptionLists::overprintTable().value(m_overprintCombo->currentIndex()).value;
    options.iccProfile = m_iccCheck->isChecked();
    for (const auto &[check, member] : std::as_const(m_drawChecks))
        options.drawing.*member = check->isChecked();
    if (m_transparentCheck->isEnabled())
        options.transparent = m_transparentCheck->isChecked();
    // A format that cannot hold CMYK takes the true colour nearest to it.
    if (options.isCmyk() && !ConversionOptions::holdsCmyk(options.format))
        options.colorDepth = ColorDepth::HiColor;
    // The colour depth decides whether WebP is lossy, and so whether the quality field applies, and whether the
    // background can be transparent.
    const bool layoutChanged = options.format != m_options.format || options.fitToBox != m_options.fitToBox
                               || options.usesQuality() != m_options.usesQuality()
                               || options.colorDepth != m_options.colorDepth;
    m_options = options;
    if (layoutChanged)
        setOptions(m_options);
    emit optionsEdited(options);
}
