// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/PageConverter.h"
#include "preview/DocumentInspector.h"
#include "settings/ConversionSettings.h"
#include "settings/SettingsPersistence.h"

#include <QMainWindow>
#include <QPointer>

#include <array>

class IRegistry;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class frmAbout;

// The one working window. Its controls hold the options; a list selection or check-box change made by
// the program runs the same handling as the user's.
class frmMainWindow : public QMainWindow, public ISettingsView, public IInspectionView
{
    Q_OBJECT
public:
    explicit frmMainWindow(QWidget *parent = nullptr);
    ~frmMainWindow() override;

    // Finds Ghostscript, fills the lists, restores the options and shows the first preview.
    void load(const IRegistry &registry);

    void FillImageData(const QString &FileName, qint32 PageNum, bool init);
    void ResetImageSize();

    const ConversionSettings &conversionSettings() const { return m_settings; }
    QString DestinationFile() const { return m_destinationFile; }
    qint32 CurrentPage() const { return m_currentPage; }

    QString fieldText(SettingField field) const override;
    void applyField(SettingField field, const QString &value) override;

    void setBusy(bool busy) override;
    void rebuildPageList(int count) override;
    void showPreview(const QImage &image) override;
    void inspectionCompleted() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void createMenus();
    void setTabOrder();
    void connectHandlers();

    void onColorDepthSelected(int index);
    void onImageFormatSelected(int index);
    void onCompressionLeft();
    void onTrimClicked(int state);
    void onPageSelected(int index);
    void onBrowseClicked();
    void onConvertClicked(int index);
    void onAboutClicked();
    QString ChooseDestinationFile();
    ConversionJob currentJob(bool allPages) const;

    ConversionSettings m_settings;
    DocumentInspector m_inspector{*this, m_settings};
    qint32 m_currentPage = 1;
    QString m_destinationFile;
    PageConverter m_converter;
    QPointer<frmAbout> m_about;

    QLabel *Label1 = nullptr;
    QLineEdit *txtFile = nullptr;
    QPushButton *cmdBrowse = nullptr;
    QLabel *Label3 = nullptr;
    QComboBox *cboDepth = nullptr;
    QCheckBox *chkDither = nullptr;
    QCheckBox *chkAntialias = nullptr;
    QLabel *Label6 = nullptr;
    QComboBox *cboImageFormat = nullptr;
    QLabel *lblCompression = nullptr;
    QLineEdit *txtCompression = nullptr;
    QLabel *Label4 = nullptr;
    QComboBox *cboResolution = nullptr;
    QCheckBox *chkTrim = nullptr;
    QFrame *lntop = nullptr;
    QFrame *lnleft = nullptr;
    QFrame *lnright = nullptr;
    QFrame *lnbottom = nullptr;
    QLabel *imgPreview = nullptr;
    QComboBox *cboPage = nullptr;
    QLineEdit *txtImgWidth = nullptr;
    QLabel *Label9 = nullptr;
    QLineEdit *txtImgHeight = nullptr;
    std::array<QPushButton *, 2> cmdConvert{};
};
