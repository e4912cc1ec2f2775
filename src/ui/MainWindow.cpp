// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include "conversion/PageSelection.h"
#include "document/OutputSize.h"
#include "settings/OptionsStorage.h"
#include "settings/RecentDocuments.h"
#include "settings/SettingsStore.h"
#include "ui/AboutDialog.h"
#include "ui/BatchRun.h"
#include "ui/Desktop.h"
#include "ui/DestinationQuestion.h"
#include "ui/DroppedDocuments.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/OptionsPanel.h"
#include "ui/PagePanel.h"
#include "ui/PreviewPane.h"
#include "ui/ProgressDialog.h"
#include "ui/ShortcutKeeper.h"
#include "ui/Widgets.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>

namespace {

constexpr int ProgressDelayMs = 500;

} // namespace

MainWindow::MainWindow(SettingsStore &settings, MessageBox &messages, FileDialog &files, QWidget *parent)
    : QMainWindow(parent)
    , m_settings(settings)
    , m_messages(messages)
    , m_files(files)
    , m_options(OptionsStorage::load(settings))
    , m_optionsPanel(new OptionsPanel)
    , m_pagePanel(new PagePanel)
    , m_batch(new BatchRun(this, messages, files, m_questions))
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion());
    setWindowIcon(QIcon(QStringLiteral(":/sheetforge/icon.png")));
    setAcceptDrops(true);
    m_lastFolder = m_settings.value(QStringLiteral("LastFolder"), QString());

    createActions();
    createWidgets();
    (new ShortcutKeeper(this))->watchFields();
    m_optionsPanel->setOptions(m_options);
    connectControls();
    updateEnabled();
    m_convertRangeButton->setText(m_pagePanel->rangeCaption());
    updateOutputSize();
    // Room for a readable page; the layouts take any other size the user gives the window.
    resize(sizeHint().expandedTo(QSize(fontMetrics().height() * 50, fontMetrics().height() * 50)));
    // Where the user left it; Qt moves a geometry from a screen that is gone, or larger than this one, back
    // onto the screen.
    const QByteArray geometry =
        QByteArray::fromBase64(m_settings.value(QStringLiteral("WindowGeometry"), QString()).toLatin1());
    if (!geometry.isEmpty())
        restoreGeometry(geometry);

    m_progressDelay.setSingleShot(true);
    m_progressDelay.setInterval(ProgressDelayMs);
    m_resizeDelay.setSingleShot(true);
    m_resizeDelay.setInterval(150);
    connect(&m_progressDelay, &QTimer::timeout, this, [this] {
        if (m_progress)
            m_progress->open();
    });
    connect(&m_resizeDelay, &QTimer::timeout, this, &MainWindow::requestPreview);
    connect(&m_questions, &QuestionGuard::requestDue, this, &MainWindow::requestPreview);
    connect(&m_questions, &QuestionGuard::resultDue, this, &MainWindow::onPreviewFinished);
    connect(&m_opener, &DocumentOpener::opened, this, &MainWindow::onOpened);
    connect(&m_opener, &DocumentOpener::failed, this, &MainWindow::onOpeningFailed);
    connect(&m_opener, &DocumentOpener::passwordNeeded, this, &MainWindow::onPasswordNeeded);
    // A child by name, so that the window's tests can shorten its time limit.
    m_preview.setParent(this);
    m_preview.setObjectName(QStringLiteral("previewRenderer"));
    connect(&m_preview, &PreviewRenderer::finished, this, &MainWindow::onPreviewFinished);
    connect(m_previewPane, &PreviewPane::zoomChanged, this, [this](PreviewPane::Zoom zoom) {
        (zoom == PreviewPane::Zoom::Fitted ? m_fitAction : m_actualPixelsAction)->setChecked(true);
        requestPreview();
    });
    // Panning asks for the part in view once it rests.
    connect(m_previewPane, &PreviewPane::visibleRegionChanged, &m_resizeDelay, qOverload<>(&QTimer::start));
    connect(&m_preview, &PreviewRenderer::busyChanged, m_previewPane->busyIndicator(), &QWidget::setVisible);
    connect(&m_engine, &ConversionEngine::finished, this, &MainWindow::onConversionFinished);
    connect(&m_engine, &ConversionEngine::progressChanged, this, [this](int done) { m_runDone = done; });
    connect(m_batch, &BatchRun::finished, this, [this](const BatchSummary &summary) {
        updateEnabled();
        if (summary.declined)
            return; // nothing was done
        const QString folder = Problem::escapeName(QDir::toNativeSeparators(m_runFolder));
        if (summary.cancelled)
            showOutcome(tr("Cancelled at document %1 of %2; %n image(s) written to %3.", nullptr, summary.pagesWritten)
                            .arg(m_batch->documentsStarted())
                            .arg(m_batch->documentCount())
                            .arg(folder));
        else
            showOutcome(tr("%n image(s) written to %1.", nullptr, summary.pagesWritten).arg(folder)
                        + m_batch->warningsText());
    });
}

MainWindow::~MainWindow() = default;

void MainWindow::createActions()
{
    QMenu *fileMenu = named(menuBar()->addMenu(tr("&File")), "fileMenu");
    m_openAction =
        named(fileMenu->addAction(tr("&Open..."), QKeySequence::Open, this, &MainWindow::browse), "openAction");
    m_recentMenu = named(fileMenu->addMenu(tr("Open &Recent")), "recentMenu");
    // A file deleted since is left out when the menu opens.
    connect(m_recentMenu, &QMenu::aboutToShow, this, &MainWindow::updateRecentMenu);
    updateRecentMenu();
    m_convertPageAction = named(fileMenu->addAction(tr("Convert &Current Page..."), QKeySequence(tr("Ctrl+E")), this,
                                                    [this] { convert(false); }),
                                "convertPageAction");
    m_convertRangeAction = named(fileMenu->addAction(tr("Convert Page &Range..."), QKeySequence(tr("Ctrl+Shift+E")),
                                                     this, [this] { convert(true); }),
                                 "convertRangeAction");
    fileMenu->addSeparator();
    named(fileMenu->addAction(tr("E&xit"), QKeySequence::Quit, this, &QWidget::close), "exitAction");
    QMenu *viewMenu = named(menuBar()->addMenu(tr("&View")), "viewMenu");
    auto *zoom = new QActionGroup(this);
    m_fitAction = named(viewMenu->addAction(tr("&Fit to Frame"), QKeySequence(tr("Ctrl+0")), this,
                                            [this] { m_previewPane->setZoom(PreviewPane::Zoom::Fitted); }),
                        "fitAction");
    m_actualPixelsAction =
        named(viewMenu->addAction(tr("&Actual Pixels (100%)"), QKeySequence(tr("Ctrl+1")), this,
                                  [this] { m_previewPane->setZoom(PreviewPane::Zoom::ActualPixels); }),
              "actualPixelsAction");
    for (QAction *action : {m_fitAction, m_actualPixelsAction}) {
        action->setCheckable(true);
        zoom->addAction(action);
    }
    m_fitAction->setChecked(true);
    QMenu *helpMenu = named(menuBar()->addMenu(tr("&Help")), "helpMenu");
    named(helpMenu->addAction(tr("&About..."), this, &MainWindow::showAbout), "aboutAction");
}

void MainWindow::updateRecentMenu()
{
    m_recentMenu->clear();
    const int width = m_recentMenu->fontMetrics().averageCharWidth() * 60;
    for (const QString &path : RecentDocuments::load(m_settings)) {
        if (!QFileInfo(path).isFile())
            continue;
        const QString shown = m_recentMenu->fontMetrics().elidedText(
            Problem::escapeName(QDir::toNativeSeparators(path)), Qt::ElideMiddle, width);
        QAction *action =
            m_recentMenu->addAction(tr("&%1 %2")
                                        .arg(m_recentMenu->actions().size() + 1)
                                        .arg(QString(shown).replace(QLatin1Char('&'), QStringLiteral("&&"))));
        connect(action, &QAction::triggered, this, [this, path] {
            if (!isBusy())
                openDocument(path);
        });
    }
    m_recentMenu->menuAction()->setEnabled(!isBusy() && !m_recentMenu->isEmpty());
}

void MainWindow::showAbout()
{
    auto *about = findChild<AboutDialog *>();
    if (!about)
        about = new AboutDialog(this);
    about->show();
    about->raise();
    about->activateWindow();
}

void MainWindow::createWidgets()
{
    m_fileEdit = readOnlyField("fileEdit");
    m_browseButton = named(new QPushButton(tr("...")), "browseButton");
    m_browseButton->setToolTip(tr("Open a PDF document (Ctrl+O)"));
    // As tall as the field beside it, and no wider than it needs.
    m_browseButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    m_browseButton->setMaximumWidth(m_browseButton->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);

    // The source file heads the options' grid, so its caption lines up with theirs.
    QGridLayout *options = m_optionsPanel->grid();
    auto *fileLabel = new QLabel(tr("Source File:"));
    fileLabel->setBuddy(m_browseButton);
    auto *sourceRow = new QHBoxLayout;
    sourceRow->setSpacing(2);
    sourceRow->addWidget(m_fileEdit);
    sourceRow->addWidget(m_browseButton);
    options->addWidget(fileLabel, 0, 0);
    options->addLayout(sourceRow, 0, 1, 1, 3);

    m_previewPane = new PreviewPane;
    auto *middle = new QHBoxLayout;
    middle->addWidget(m_previewPane, 1);
    middle->addWidget(m_pagePanel);

    m_convertPageButton = named(new QPushButton(tr("Convert current page")), "convertPageButton");
    m_convertRangeButton = named(new QPushButton, "convertRangeButton");
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_convertPageButton);
    buttons->addWidget(m_convertRangeButton);
    buttons->addStretch();

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(m_optionsPanel);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);
    setCentralWidget(central);

    // What the last run wrote stays until the next run; a passing message covers it only for a while.
    m_outcomeLabel = named(new QLabel, "outcomeLabel");
    m_outcomeLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A warning after the outcome makes it longer than a narrow window.
    m_outcomeLabel->setWordWrap(true);
    m_openFolderButton = named(new QPushButton(tr("Open Folder")), "openFolderButton");
    connect(m_openFolderButton, &QPushButton::clicked, this, [this] {
        if (!Desktop::current().openUrl(QUrl::fromLocalFile(m_runFolder)))
            statusBar()->showMessage(tr("No application on this desktop opens folders."), 10000);
    });
    statusBar()->addWidget(m_outcomeLabel, 1);
    statusBar()->addWidget(m_openFolderButton);
    m_outcomeLabel->hide();
    m_openFolderButton->hide();
    statusBar()->addPermanentWidget(m_previewPane->busyIndicator());

    const QList<QWidget *> order = QList<QWidget *>{m_browseButton} + m_optionsPanel->tabOrder()
                                   + m_pagePanel->tabOrder()
                                   + QList<QWidget *>{m_convertPageButton, m_convertRangeButton};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void MainWindow::connectControls()
{
    connect(m_browseButton, &QPushButton::clicked, this, &MainWindow::browse);
    connect(m_optionsPanel, &OptionsPanel::optionsEdited, this, [this](const ConversionOptions &edited) {
        // The panel edits the conversion options; the document and page stay the window's.
        ConversionOptions options = edited;
        options.sourceFile = m_options.sourceFile;
        options.page = m_options.page;
        const bool preview = options.changesPreview(m_options);
        m_options = options;
        optionsChanged(preview);
    });
    connect(m_pagePanel, &PagePanel::pageChosen, this, [this](int page) {
        m_options.page = page;
        m_optionsPanel->setOptions(m_options);
        optionsChanged(true);
    });
    connect(m_pagePanel, &PagePanel::rangeChanged, this,
            [this] { m_convertRangeButton->setText(m_pagePanel->rangeCaption()); });
    connect(m_convertPageButton, &QPushButton::clicked, this, [this] { convert(false); });
    connect(m_convertRangeButton, &QPushButton::clicked, this, [this] { convert(true); });
}

void MainWindow::optionsChanged(bool needsPreview)
{
    if (needsPreview)
        requestPreview();
    updateOutputSize();
    saveSettings();
}

void MainWindow::start(const QString &ghostscript, const QStringList &documents)
{
    m_ghostscript = ghostscript;
    if (m_ghostscript.isEmpty()) {
        m_messages.inform(this, Problem::make(Problem::GhostscriptMissing).message);
        return;
    }
    // A name from the command line that leads nowhere was mistyped, not moved since.
    if (documents.size() == 1 && !QFileInfo::exists(documents.constFirst()))
        m_messages.inform(this, Problem::make(Problem::DocumentMissing, {}, documents.constFirst()).message);
    else if (documents.size() == 1)
        openDocument(documents.constFirst());
    else if (documents.size() > 1)
        offerBatch(documents);
    else if (!m_options.sourceFile.isEmpty())
        openDocument(m_options.sourceFile, m_options.page);
}

void MainWindow::openDocument(const QString &path, int page)
{
    if (m_ghostscript.isEmpty()) {
        m_messages.inform(this, Problem::make(Problem::GhostscriptMissing).message);
        return;
    }
    m_opener.open(m_ghostscript, path, page);
}

void MainWindow::browse()
{
    const QString folder = m_document.path.isEmpty() ? (m_lastFolder.isEmpty() ? QDir::homePath() : m_lastFolder)
                                                     : QFileInfo(m_document.path).absolutePath();
    const QStringList chosen = m_files.openDocuments(this, folder);
    if (chosen.size() == 1)
        openDocument(chosen.constFirst());
    else if (chosen.size() > 1)
        offerBatch(chosen);
}

void MainWindow::offerBatch(const QStringList &documents)
{
    if (m_ghostscript.isEmpty() || isBusy())
        return;
    const std::optional<QString> offered = m_batch->offer(documents, m_ghostscript, m_options, m_lastFolder);
    // Declining to convert them all still leaves the user with a document to work on.
    if (!offered) {
        openDocument(documents.constFirst());
        return;
    }
    const QString folder = *offered;
    if (folder.isEmpty())
        return;
    m_lastFolder = folder;
    m_runFolder = folder;
    showOutcome({});
    saveSettings();
    updateEnabled();
}

void MainWindow::requestPreview()
{
    if (m_quitting || !m_questions.mayRequest())
        return;
    PreviewRequest request;
    request.ghostscript = m_ghostscript;
    request.options = m_options;
    request.box = m_previewPane->box();
    if (m_document.path.isEmpty())
        return;
    if (m_previewPane->zoom() == PreviewPane::Zoom::ActualPixels) {
        m_previewPane->setOutputSize(outputSize());
        request.region = m_previewPane->visibleRegion();
    }
    request.document = m_document.path;
    request.password = m_document.password;
    request.page = m_options.page;
    request.info = std::exchange(m_openedInfo, std::nullopt);
    request.withoutTimeLimit = std::exchange(m_previewWithoutTimeLimit, false);
    m_preview.request(request);
}

void MainWindow::onPreviewFinished(const PreviewResult &result)
{
    if (m_quitting || !m_questions.mayShow(result))
        return;
    const QuestionGuard::Asking asking(m_questions);
    if (result.timedOut) {
        // Asked for while the question is open, the preview follows its answer.
        m_previewWithoutTimeLimit = m_messages.askYesNo(this, result.problem.message + QLatin1Char(' ')
                                                                  + tr("Try again and wait as long as it takes?"));
        if (m_previewWithoutTimeLimit)
            requestPreview();
        return;
    }
    if (!result.problem.isNone()) {
        m_messages.inform(this, result.problem.message, result.problem.details);
        return;
    }
    showPreview(result);
}

void MainWindow::onPasswordNeeded(const QString &fileName, bool retry)
{
    std::optional<QString> password;
    {
        const QuestionGuard::Asking asking(m_questions);
        password = m_messages.askPassword(this, fileName, retry);
    }
    m_opener.providePassword(m_quitting ? std::nullopt : password);
}

void MainWindow::onOpeningFailed(const Problem &problem)
{
    // The previous document stays, under its own name.
    const QuestionGuard::Asking asking(m_questions);
    m_messages.inform(this, problem.message, problem.details);
}

void MainWindow::onOpened(const OpenedDocument &opened)
{
    m_document = {};
    static_cast<OpenedDocument &>(m_document) = opened;
    m_options.sourceFile = m_document.path;
    m_options.page = opened.page;
    m_optionsPanel->setOptions(m_options);
    m_lastFolder = QFileInfo(m_document.path).absolutePath();
    m_fileEdit->setText(Problem::escapeName(m_document.path));
    RecentDocuments::add(m_settings, m_document.path);
    updateRecentMenu();
    // Qt reads "[*]" in a title as the unsaved-changes mark; doubled, it shows as written.
    setWindowTitle(tr("%1 \u2014 %2")
                       .arg(Problem::escapeName(QFileInfo(m_document.path).fileName())
                                .replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")),
                            QStringLiteral("sheetforge")));
    m_pagePanel->setDocument(m_document.info.pageCount, opened.page);
    updateOutputSize();
    updateEnabled();
    saveSettings();
    m_openedInfo = opened.info;
    requestPreview();
}

void MainWindow::showPreview(const PreviewResult &result)
{
    if (result.page != m_options.page) {
        m_options.page = result.page;
        m_pagePanel->setPage(result.page);
    }
    m_document.info.boxes = result.info.boxes;
    m_document.trimmedPoints = result.trimmedPoints;
    // Said once per document, without a box that stops the user.
    if (result.info.repaired && !std::exchange(m_document.repairedTold, true))
        statusBar()->showMessage(tr("\"%1\" is damaged; Ghostscript repaired it to read it, so some pages may be "
                                    "incomplete.")
                                     .arg(Problem::escapeName(QFileInfo(m_document.path).fileName())),
                                 20000);
    m_previewPane->show(result);
    updateOutputSize();
    emit previewShown();
}

QSize MainWindow::outputSize() const
{
    if (m_document.path.isEmpty())
        return {0, 0};
    return OutputSize::written(m_options, m_document.info.pageSize(m_options.pageBox), m_document.trimmedPoints);
}

void MainWindow::updateOutputSize()
{
    const QSize size = outputSize();
    QString note;
    if (!m_document.path.isEmpty()) {
        const PageBox wanted = m_options.pageBox;
        const QString name = QCoreApplication::translate("OptionLists", OptionLists::facts(wanted).name);
        note = m_document.info.boxes.shown(wanted) == wanted ? tr("%1 shown").arg(name)
                                                             : tr("Media box shown: this page has no %1.").arg(name);
    }
    m_pagePanel->setOutputSize(size, note);
    if (size.width() > 0)
        m_optionsPanel->setSuggestedWidth(size.width());
}

bool MainWindow::isBusy() const
{
    return m_engine.isRunning() || m_batch->isRunning();
}

void MainWindow::updateEnabled()
{
    const bool idle = !isBusy();
    const bool ready = idle && !m_document.path.isEmpty() && !m_ghostscript.isEmpty();
    for (QWidget *control : std::initializer_list<QWidget *>{m_convertPageButton, m_convertRangeButton})
        control->setEnabled(ready);
    m_convertPageAction->setEnabled(ready);
    m_convertRangeAction->setEnabled(ready);
    m_pagePanel->setRangeEnabled(ready);
    m_openAction->setEnabled(idle);
    m_recentMenu->menuAction()->setEnabled(idle && !m_recentMenu->isEmpty());
    m_browseButton->setEnabled(idle);
    setAcceptDrops(idle);
}

void MainWindow::convert(bool allPages)
{
    if (m_document.path.isEmpty() || isBusy())
        return;
    QList<int> listed;
    if (allPages && !m_pagePanel->pageList().isEmpty()) {
        listed = pagesListed();
        if (listed.isEmpty())
            return;
    }
    const int first = !listed.isEmpty() ? listed.constFirst() : allPages ? m_pagePanel->firstPage() : m_options.page;
    const int last = !listed.isEmpty() ? listed.constLast() : allPages ? m_pagePanel->lastPage() : m_options.page;
    // A document of one page is written to the chosen name itself.
    ConversionJob job = ConversionJob::forDocument(m_options, m_ghostscript, m_document, first, last,
                                                   allPages && m_document.info.pageCount > 1);
    job.pageList = listed;
    const QString folder = m_lastFolder.isEmpty() ? QFileInfo(m_document.path).absolutePath() : m_lastFolder;
    const bool go = DestinationQuestion(this, m_files, m_messages, m_questions).ask(job, m_document.path, folder);
    // The folder chosen is remembered even when the user then declines to replace what is there.
    if (!job.destination.isEmpty()) {
        m_lastFolder = QFileInfo(job.destination).absolutePath();
        followFormat(job.format());
        job.options.format = job.format();
        saveSettings();
    }
    if (go)
        startRun(job);
    else
        m_formatNote.clear();
}

QList<int> MainWindow::pagesListed()
{
    // Refused before the save dialog, so that no question is asked about a run that cannot start.
    QString problem;
    QList<int> pages;
    if (const std::optional<PageSelection> selection = PageSelection::parse(m_pagePanel->pageList(), &problem)) {
        QList<PageSelection::Range> missing;
        pages = selection->resolve(m_document.info.pageCount, &missing);
        if (!missing.isEmpty()) {
            problem = tr("The document ends at page %1; the list asks for %2.")
                          .arg(m_document.info.pageCount)
                          .arg(PageSelection::text(missing, QStringLiteral(", ")));
            pages.clear();
        }
    }
    if (pages.isEmpty()) {
        const QuestionGuard::Asking asking(m_questions);
        m_messages.inform(this, problem);
    }
    return pages;
}

void MainWindow::followFormat(ImageFormat written)
{
    // The name's extension decides what is written, so the window shows that format and what it changes.
    if (written == m_options.format)
        return;
    const ConversionOptions before = m_options;
    m_options.format = written;
    m_optionsPanel->setOptions(m_options);
    m_formatNote = before.transparent && !ConversionOptions::holdsTransparency(written)
                       ? tr("JPEG files cannot be transparent; the background is white.")
                       : tr("Format %1, as the file name says.").arg(OptionLists::suffix(written));
    statusBar()->showMessage(m_formatNote, 20000);
    optionsChanged(m_options.changesPreview(before));
}

void MainWindow::startRun(const ConversionJob &job)
{
    m_progress = new ProgressDialog(m_messages, this);
    m_progress->setAttribute(Qt::WA_DeleteOnClose);
    m_progress->follow(m_engine, job.pages());
    m_runFolder = QFileInfo(job.destination).absolutePath();
    m_runDone = 0;
    m_runPages = job.pagesInRun();
    showOutcome({});
    m_engine.start(job);
    updateEnabled();
    setCursor(Qt::BusyCursor);
    // A short run finishes before the window would only flash.
    if (job.numbered)
        m_progress->open();
    else
        m_progressDelay.start();
}

void MainWindow::onConversionFinished(const ConversionResult &result)
{
    m_progressDelay.stop();
    if (m_progress)
        m_progress->finish();
    unsetCursor();
    updateEnabled();
    emit conversionFinished(result);
    if (m_quitting)
        return;
    // Said before any message box, so that the box is read with the outcome in view.
    const QString folder = Problem::escapeName(QDir::toNativeSeparators(m_runFolder));
    QString outcome = result.cancelled ? tr("Cancelled after %1 of %2 pages; %n image(s) written to %3.", nullptr,
                                            result.pagesWritten)
                                             .arg(m_runDone)
                                             .arg(m_runPages)
                                             .arg(folder)
                                       : tr("%n image(s) written to %1.", nullptr, result.pagesWritten).arg(folder);
    // A repaired document or a substituted font explains pages that do not look as expected.
    if (const QString warned = RunWarning::summary(result.warnings); !warned.isEmpty())
        outcome += QLatin1Char(' ') + warned;
    // What the run's file name changed stays in view beside its outcome.
    if (!m_formatNote.isEmpty())
        outcome += QLatin1Char(' ') + std::exchange(m_formatNote, QString());
    showOutcome(outcome);
    const QuestionGuard::Asking asking(m_questions);
    if (!result.fatal.isNone()) {
        m_messages.inform(this, result.fatal.message, result.fatal.details);
    } else if (!result.failures.isEmpty()) {
        const FailureSummary summary = FailureSummary::of(result.failures);
        m_messages.inform(this, summary.text, summary.details);
    }
}

void MainWindow::showOutcome(const QString &text)
{
    // The outcome is newer than any passing message, and showing the label over one would mix the two.
    statusBar()->clearMessage();
    m_outcomeLabel->setText(text);
    m_outcomeLabel->setVisible(!text.isEmpty());
    m_openFolderButton->setVisible(!text.isEmpty() && QFileInfo(m_runFolder).isDir());
}

void MainWindow::saveSettings()
{
    m_settings.setValue(QStringLiteral("LastFolder"), m_lastFolder);
    m_settings.setValue(QStringLiteral("WindowGeometry"), QString::fromLatin1(saveGeometry().toBase64()));
    OptionsStorage::save(m_settings, m_options, outputSize());
}

void MainWindow::prepareToQuit()
{
    m_quitting = true;
    m_questions.close();
    m_opener.cancel();
    m_preview.cancel();
    m_engine.cancel();
    m_batch->cancel();
    if (m_progress)
        m_progress->finish();
    saveSettings();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    prepareToQuit();
    event->accept();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (!m_document.path.isEmpty())
        m_resizeDelay.start();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    // Anything with files is taken, so that a refusal can say why.
    if (!isBusy() && event->mimeData() && event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        event->ignore();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    if (isBusy()) {
        event->ignore();
        return;
    }
    QString refusal;
    const QStringList paths =
        DroppedDocuments::pdfs(event->mimeData() ? event->mimeData()->urls() : QList<QUrl>(), &refusal);
    event->acceptProposedAction();
    if (paths.size() == 1)
        openDocument(paths.constFirst());
    else if (paths.size() > 1)
        offerBatch(paths);
    else
        statusBar()->showMessage(refusal, 10000);
}
