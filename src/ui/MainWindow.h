// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/ConversionEngine.h"
#include "preview/DocumentOpener.h"
#include "preview/PreviewRenderer.h"
#include "settings/ConversionOptions.h"
#include "ui/QuestionGuard.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

class BatchRun;
class FileDialog;
class MessageBox;
class OptionsPanel;
class PagePanel;
class PreviewPane;
class ProgressDialog;
class SettingsStore;
class QAction;
class QLabel;
class QLineEdit;
class QMimeData;
class QProgressBar;
class QPushButton;

// The one working window. Its controls edit a ConversionOptions; the preview and the conversions run
// off its thread, so it paints and answers at all times.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow(SettingsStore &settings, MessageBox &messages, FileDialog &files, QWidget *parent = nullptr);
    ~MainWindow() override;

    // ghostscript is empty when none was found. Opens document, or else the remembered one.
    void start(const QString &ghostscript, const QString &document = {});
    void openDocument(const QString &path, int page = 1);
    // Stops all work and saves the options, for a termination signal.
    void prepareToQuit();

    const ConversionOptions &options() const { return m_options; }
    QString documentPath() const { return m_document.path; }
    int pageCount() const { return m_document.info.pageCount; }
    QSize outputSize() const;

signals:
    void previewShown();
    void conversionFinished(const ConversionResult &result);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    struct Document : OpenedDocument
    {
        QSizeF trimmedPoints; // points, after trimming
        bool repairedTold = false;
    };

    void createActions();
    void showAbout();
    void createWidgets();
    void connectControls();
    void optionsChanged(bool needsPreview);

    void browse();
    void requestPreview();
    void onPreviewFinished(const PreviewResult &result);
    void onOpened(const OpenedDocument &opened);
    void onOpeningFailed(const Problem &problem);
    void onPasswordNeeded(const QString &fileName, bool retry);
    void showPreview(const PreviewResult &result);
    void updateOutputSize();
    void updateEnabled();

    void convert(bool allPages);
    void startRun(const ConversionJob &job);
    void onConversionFinished(const ConversionResult &result);
    void saveSettings();

    void offerBatch(const QStringList &documents);
    bool isBusy() const;

    SettingsStore &m_settings;
    MessageBox &m_messages;
    FileDialog &m_files;
    QString m_ghostscript;
    ConversionOptions m_options;
    Document m_document;
    QString m_lastFolder;
    bool m_quitting = false;
    QuestionGuard m_questions;

    DocumentOpener m_opener;
    PreviewRenderer m_preview;
    std::optional<DocumentInfo> m_openedInfo; // for the first preview of a document just opened
    bool m_previewWithoutTimeLimit = false;   // the user chose to wait for a slow page
    ConversionEngine m_engine;
    QPointer<ProgressDialog> m_progress;
    QTimer m_progressDelay;
    QTimer m_resizeDelay;

    QAction *m_openAction = nullptr;
    QAction *m_convertPageAction = nullptr;
    QAction *m_convertRangeAction = nullptr;
    QAction *m_fitAction = nullptr;
    QAction *m_actualPixelsAction = nullptr;
    OptionsPanel *m_optionsPanel = nullptr;
    PagePanel *m_pagePanel = nullptr;
    BatchRun *m_batch = nullptr;
    QLineEdit *m_fileEdit = nullptr;
    QPushButton *m_browseButton = nullptr;
    PreviewPane *m_previewPane = nullptr;
    QPushButton *m_convertPageButton = nullptr;
    QPushButton *m_convertRangeButton = nullptr;
};
