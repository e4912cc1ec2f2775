// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/ConversionEngine.h"
#include "document/DocumentOpener.h"
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
class QMenu;
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

    // ghostscript is empty when none was found. Opens the one document, offers several for converting, or
    // else opens the remembered one.
    void start(const QString &ghostscript, const QStringList &documents = {});
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
    // The documents opened last that still exist, one action each.
    void updateRecentMenu();
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
    // The pages the page list names, or none after telling the user what is wrong with it.
    QList<int> pagesListed();
    void followFormat(ImageFormat written);
    void startRun(const ConversionJob &job);
    void onConversionFinished(const ConversionResult &result);
    // Says in the status bar what the run wrote, with a button that opens its folder; empty hides both.
    void showOutcome(const QString &text);
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
    QString m_formatNote; // what the destination's extension changed, for the status bar
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
    QString m_runFolder; // where the run writes
    int m_runDone = 0;   // pages the run has finished
    int m_runPages = 0;  // pages the run is to convert

    QAction *m_openAction = nullptr;
    QMenu *m_recentMenu = nullptr;
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
    QLabel *m_outcomeLabel = nullptr;
    QPushButton *m_openFolderButton = nullptr;
};
