// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmMainWindow.h"

#include "preview/OutputSize.h"
#include "preview/PreviewImage.h"
#include "settings/OptionLists.h"
#include "settings/SettingsStore.h"
#include "tools/GhostscriptLocator.h"
#include "tools/NumberText.h"
#include "tools/PathHelpers.h"
#include "tools/Twips.h"
#include "ui/CenterForm.h"
#include "ui/FileDialog.h"
#include "ui/frmAbout.h"
#include "ui/frmProgress.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

namespace {

constexpr int ClientWidthTwips = 5730;
constexpr int ClientHeightTwips = 6345;

int px(double twips)
{
    return Twips::toPixels(twips);
}

// Places a control at a position given in twips; a height of 0 keeps the control's natural height.
template <class Widget>
Widget *place(Widget *widget, const char *name, int left, int top, int width, int height = 0)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(px(left), px(top), px(width), height ? px(height) : widget->sizeHint().height());
    return widget;
}

QFrame *line(QWidget *parent, const char *name, int x1, int y1, int x2, int y2)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameShape(QFrame::NoFrame);
    frame->setAutoFillBackground(true);
    frame->setBackgroundRole(QPalette::WindowText);
    frame->setGeometry(px(x1), px(y1), std::max(1, px(x2) - px(x1) + (x1 == x2 ? 1 : 0)),
                       std::max(1, px(y2) - px(y1) + (y1 == y2 ? 1 : 0)));
    return frame;
}

QLineEdit *readOnlyField(QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setReadOnly(true);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    field->setPalette(palette);
    return field;
}

// Fills a list without running its handling for the intermediate selections, then selects `index`.
void fillList(QComboBox *list, const QStringList &items, int index)
{
    {
        const QSignalBlocker blocker(list);
        list->clear();
        list->addItems(items);
        list->setCurrentIndex(-1);
    }
    list->setCurrentIndex(index);
}

QString checkText(const QCheckBox *box)
{
    return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

// A compression level as the field would accept it: up to three digits, at most 100.
QString validCompression(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{0,3}$"));
    if (!digits.match(text).hasMatch())
        return QStringLiteral("75");
    return NumberText::leadingNumber(text) > 100 ? QStringLiteral("100") : text;
}

} // namespace

frmMainWindow::frmMainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMainWindow"));
    setWindowTitle(QStringLiteral("sheetforge 1.0"));
    setWindowIcon(QIcon(QStringLiteral(":/sheetforge/icon.png")));
    // The fixed layout is measured for a narrow 8-point sans face; wider desktop defaults clip the captions.
    // Nimbus Sans comes with Ghostscript's fonts.
    QFont small = font();
    small.setFamilies({QStringLiteral("Nimbus Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    small.setPointSizeF(8);
    setFont(small);
    createMenus();
    createControls();
    setTabOrder();
    connectHandlers();
    setFixedSize(px(ClientWidthTwips), px(ClientHeightTwips) + menuBar()->sizeHint().height());
}

frmMainWindow::~frmMainWindow() = default;

void frmMainWindow::createMenus()
{
    QMenu *mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    QAction *mnuExit = mnuFile->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    QMenu *mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    QAction *mnuAbout = mnuHelp->addAction(QStringLiteral("&About..."), this, &frmMainWindow::onAboutClicked);
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
}

void frmMainWindow::createControls()
{
    auto *client = new QWidget(this);
    setCentralWidget(client);

    Label1 = place(new QLabel(QStringLiteral("Source File:"), client), "Label1", 240, 210, 1200);
    txtFile = place(readOnlyField(client), "txtFile", 1440, 180, 3675, 315);
    cmdBrowse = place(new QPushButton(QStringLiteral("..."), client), "cmdBrowse", 5100, 150, 375, 375);

    Label3 = place(new QLabel(QStringLiteral("Color Depth:"), client), "Label3", 240, 660, 1200);
    cboDepth = place(new QComboBox(client), "cboDepth", 1440, 600, 2295);
    chkDither = place(new QCheckBox(QStringLiteral("Dither"), client), "chkDither", 3840, 630, 840);
    chkDither->setToolTip(QStringLiteral("Apply error difusion when reducing the number of colors."));
    chkAntialias = place(new QCheckBox(QStringLiteral("Antialias"), client), "chkAntialias", 4680, 630, 1050);
    chkAntialias->setToolTip(QStringLiteral("Smooth the edges of the fonts and images"));

    Label6 = place(new QLabel(QStringLiteral("Image Format:"), client), "Label6", 240, 1080, 1200);
    cboImageFormat = place(new QComboBox(client), "cboImageFormat", 1440, 1020, 1395);
    lblCompression =
        place(new QLabel(QStringLiteral("JPEG Compression level:"), client), "lblCompression", 2940, 1080, 2160);
    txtCompression = place(new QLineEdit(QStringLiteral("75"), client), "txtCompression", 5100, 1020, 375, 315);
    txtCompression->setMaxLength(3);
    // Only digits (and deleting) reach the field.
    txtCompression->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), txtCompression));

    Label4 = place(new QLabel(QStringLiteral("Resolution (dpi):"), client), "Label4", 240, 1500, 1200);
    cboResolution = place(new QComboBox(client), "cboResolution", 1440, 1440, 1395);
    chkTrim = place(new QCheckBox(QStringLiteral("Trim edges"), client), "chkTrim", 3000, 1470, 1500);

    lntop = line(client, "lntop", 120, 1860, 4020, 1860);
    lnleft = line(client, "lnleft", 120, 1860, 120, 5760);
    lnright = line(client, "lnright", 4020, 1860, 4020, 5760);
    lnbottom = line(client, "lnbottom", 120, 5760, 4020, 5760);
    imgPreview = place(new QLabel(client), "imgPreview", 180, 1920, 3825, 3705);
    imgPreview->setScaledContents(false);

    cboPage = place(new QComboBox(client), "cboPage", 4080, 1860, 1395);
    txtImgWidth = place(readOnlyField(client), "txtImgWidth", 4080, 2280, 615, 285);
    Label9 = place(new QLabel(QStringLiteral("x"), client), "Label9", 4740, 2280, 120, 285);
    txtImgHeight = place(readOnlyField(client), "txtImgHeight", 4860, 2280, 615, 285);

    cmdConvert[0] = place(new QPushButton(QStringLiteral("Convert current page"), client), "cmdConvert_0", 120, 5880,
                          1815, 375);
    cmdConvert[1] = place(new QPushButton(QStringLiteral("Convert all pages"), client), "cmdConvert_1", 2100, 5880,
                          1815, 375);
    for (QPushButton *button : cmdConvert)
        button->setEnabled(false);
}

void frmMainWindow::setTabOrder()
{
    const QList<QWidget *> order{cmdConvert[0], cboDepth, chkDither,     cboImageFormat, txtCompression,
                                 txtImgHeight,  cmdBrowse, txtFile,     txtImgWidth,    cboPage,
                                 cboResolution, chkTrim,  cmdConvert[1], chkAntialias};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

void frmMainWindow::connectHandlers()
{
    connect(cboDepth, &QComboBox::currentIndexChanged, this, &frmMainWindow::onColorDepthSelected);
    connect(chkDither, &QCheckBox::stateChanged, this,
            [this](int state) { m_settings.applyDither(state == Qt::Checked ? 1 : 0); });
    connect(chkAntialias, &QCheckBox::stateChanged, this,
            [this](int state) { m_settings.applyAntialias(state == Qt::Checked ? 1 : 0); });
    connect(cboImageFormat, &QComboBox::currentIndexChanged, this, &frmMainWindow::onImageFormatSelected);
    connect(txtCompression, &QLineEdit::editingFinished, this, &frmMainWindow::onCompressionLeft);
    connect(cboResolution, &QComboBox::currentIndexChanged, this, [this] { ResetImageSize(); });
    connect(chkTrim, &QCheckBox::stateChanged, this, &frmMainWindow::onTrimClicked);
    connect(cboPage, &QComboBox::currentIndexChanged, this, &frmMainWindow::onPageSelected);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmMainWindow::onBrowseClicked);
    for (int i = 0; i < int(cmdConvert.size()); ++i)
        connect(cmdConvert[size_t(i)], &QPushButton::clicked, this, [this, i] { onConvertClicked(i); });
}

void frmMainWindow::load(const IRegistry &registry)
{
    setGhostscriptPath(GhostscriptLocator::LocateGhostscript(registry));
    fillList(cboDepth, OptionLists::ColorDepthList(), 3);
    fillList(cboResolution, OptionLists::ResolutionList(), 0);
    fillList(cboImageFormat, OptionLists::ImageFormatList(), 0);
    SettingsPersistence::LoadSourceSettings(settingsStore(), *this);
    FillImageData(txtFile->text(), m_currentPage, true);
    SettingsPersistence::LoadOptionSettings(settingsStore(), *this, m_settings);
    CenterForm(this, nullptr);
}

void frmMainWindow::closeEvent(QCloseEvent *event)
{
    SettingsPersistence::SaveSettings(settingsStore(), *this);
    if (m_about)
        m_about->close();
    event->accept();
}

void frmMainWindow::FillImageData(const QString &FileName, qint32 PageNum, bool init)
{
    m_inspector.FillImageData(FileName, PageNum, init);
}

void frmMainWindow::ResetImageSize()
{
    txtImgWidth->setText(QString::number(OutputSize::pixelsAt(cboResolution->currentText(), m_inspector.PageWidthPx())));
    txtImgHeight->setText(
        QString::number(OutputSize::pixelsAt(cboResolution->currentText(), m_inspector.PageHeightPx())));
}

QString frmMainWindow::fieldText(SettingField field) const
{
    switch (field) {
    case SettingField::SourceFile: return txtFile->text();
    case SettingField::ColorDepth: return QString::number(cboDepth->currentIndex());
    case SettingField::Dither: return checkText(chkDither);
    case SettingField::ImageFormat: return QString::number(cboImageFormat->currentIndex());
    case SettingField::Compression: return txtCompression->text();
    case SettingField::CurrentPage: return QString::number(m_currentPage);
    case SettingField::Width: return txtImgWidth->text();
    case SettingField::Height: return txtImgHeight->text();
    case SettingField::Trim: return checkText(chkTrim);
    case SettingField::Antialias: return checkText(chkAntialias);
    case SettingField::Resolution: return QString::number(cboResolution->currentIndex());
    }
    return {};
}

void frmMainWindow::applyField(SettingField field, const QString &value)
{
    const int number = value.toInt();
    switch (field) {
    case SettingField::SourceFile: txtFile->setText(value); break;
    case SettingField::ColorDepth: cboDepth->setCurrentIndex(number); break;
    case SettingField::Dither: chkDither->setChecked(number == 1); break;
    case SettingField::ImageFormat: cboImageFormat->setCurrentIndex(number); break;
    case SettingField::Compression: txtCompression->setText(validCompression(value)); break;
    case SettingField::CurrentPage: m_currentPage = number; break;
    case SettingField::Width: txtImgWidth->setText(value); break;
    case SettingField::Height: txtImgHeight->setText(value); break;
    case SettingField::Trim: chkTrim->setChecked(number == 1); break;
    case SettingField::Antialias: chkAntialias->setChecked(number == 1); break;
    case SettingField::Resolution:
        // The size shown must follow the restored resolution even when the selection does not change.
        if (cboResolution->currentIndex() == number)
            ResetImageSize();
        else
            cboResolution->setCurrentIndex(number);
        break;
    }
}

void frmMainWindow::setBusy(bool busy)
{
    setCursor(busy ? Qt::WaitCursor : Qt::ArrowCursor);
}

void frmMainWindow::rebuildPageList(int count)
{
    {
        const QSignalBlocker blocker(cboPage);
        cboPage->clear();
        for (int page = 1; page <= count; ++page)
            cboPage->addItem(QStringLiteral("Page ") + QString::number(page));
        cboPage->setCurrentIndex(0);
    }
    onPageSelected(cboPage->currentIndex());
}

void frmMainWindow::showPreview(const QImage &image)
{
    imgPreview->hide();
    imgPreview->setPixmap(QPixmap::fromImage(image));
    imgPreview->resize(image.size());
    imgPreview->move(PreviewImage::centredPosition(image.size()));
    imgPreview->show();
}

void frmMainWindow::inspectionCompleted()
{
    ResetImageSize();
    for (QPushButton *button : cmdConvert)
        button->setEnabled(true);
}

void frmMainWindow::onColorDepthSelected(int index)
{
    chkDither->setEnabled(true);
    m_settings.applyColorDepth(index);
    FillImageData(txtFile->text(), cboPage->currentIndex() + 1, false);
}

void frmMainWindow::onImageFormatSelected(int index)
{
    const bool jpeg = index == OptionLists::JpegIndex;
    txtCompression->setEnabled(jpeg);
    lblCompression->setEnabled(jpeg);
}

void frmMainWindow::onCompressionLeft()
{
    if (NumberText::leadingNumber(txtCompression->text()) > 100)
        txtCompression->setText(QStringLiteral("100"));
}

void frmMainWindow::onTrimClicked(int state)
{
    m_settings.applyTrim(state == Qt::Checked ? 1 : 0);
    FillImageData(txtFile->text(), cboPage->currentIndex() + 1, false);
}

void frmMainWindow::onPageSelected(int index)
{
    if (index < 0)
        return;
    const qint32 page = index + 1;
    if (page == m_currentPage)
        return;
    FillImageData(txtFile->text(), page, false);
    m_currentPage = cboPage->currentIndex() + 1;
}

void frmMainWindow::onBrowseClicked()
{
    const QString current = txtFile->text();
    // No document yet: start where users keep documents, not in the program's own folder.
    const QString folder = current.isEmpty() ? QDir::homePath() : PathHelpers::GetDirectoryPart(current);
    const QString chosen = fileDialog().ShowFileDialog(this, folder, FileDialogMode::OpenDocument, QString());
    if (!chosen.isEmpty()) {
        txtFile->clear();
        if (PathHelpers::CheckFileExists(chosen, true)) {
            FillImageData(chosen, 1, true);
            txtFile->setText(chosen);
        }
    }
    txtFile->setCursorPosition(int(txtFile->text().size()));
}

void frmMainWindow::onAboutClicked()
{
    // One About window at a time; asking again only brings it forward.
    if (!m_about)
        m_about = new frmAbout(this);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

QString frmMainWindow::ChooseDestinationFile()
{
    // Images are proposed next to the document.
    return fileDialog().ShowFileDialog(this, PathHelpers::GetDirectoryPart(txtFile->text()), FileDialogMode::SaveImage,
                                       cboImageFormat->currentText());
}

ConversionJob frmMainWindow::currentJob(bool allPages) const
{
    ConversionJob job;
    job.sourceFile = txtFile->text();
    job.destination = m_destinationFile;
    job.allPages = allPages;
    job.currentPage = cboPage->currentIndex() + 1;
    job.pageCount = cboPage->count();
    job.resolution = cboResolution->currentText();
    job.imageFormat = cboImageFormat->currentText();
    job.compression = txtCompression->text();
    job.settings = m_settings;
    return job;
}

void frmMainWindow::onConvertClicked(int index)
{
    for (QPushButton *button : cmdConvert)
        button->setEnabled(false);
    m_destinationFile = ChooseDestinationFile();
    setCursor(Qt::WaitCursor);
    if (!m_destinationFile.isEmpty()) {
        // A one-page document is always written to the chosen name itself.
        const bool allPages = index == 1 && cboPage->count() != 1;
        const ConversionJob job = currentJob(allPages);
        if (allPages) {
            frmProgress progress(this, [this, &job](frmProgress &window) { m_converter.ConvertPages(job, &window); });
            progress.exec();
        } else {
            m_converter.ConvertPages(job, nullptr);
        }
    }
    for (QPushButton *button : cmdConvert)
        button->setEnabled(true);
    setCursor(Qt::ArrowCursor);
}
