// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fakes.h"
#include "TestSupport.h"

#include "tools/GhostscriptCommands.h"
#include "tools/Translations.h"
#include "ui/MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace TestSupport;

namespace {

struct Output
{
    int exitCode = -1;
    QString out, err;
};

// The program as started from a shell whose locale says `variables`.
Output runIn(const QStringList &variables, const QStringList &arguments, const QString &program = SHEETFORGE_EXECUTABLE)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"})
        environment.remove(name);
    for (const QString &variable : variables)
        environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Whether a text has words to translate: names, units, formats, flags and files read the same in every language,
// and so do the words the language shares with English (`same`).
bool sayable(QString text, const QStringList &same = {})
{
    static const QRegularExpression names(
        "sheetforge|Ghostscript|ImageMagick|Hicolor|sRGB|CMYK|PDF|PNG|GIF|JPEG|TIFF|WebP|png|gif|jpg|tif|webp|dpi|bpp|"
        "--[\\w-]+|\\b[A-Z]{2,}\\b|\\S*/\\S*|\\S*\\.[a-z]{3,4}\\b");
    text.remove(names);
    for (const QString &word : same)
        text.remove(QRegularExpression("\\b" + word + "\\b"));
    return text.contains(QRegularExpression("\\p{Ll}{3,}"));
}

// Every text a widget of the window shows or tells in a tip, in the order the window holds them.
QStringList textsOf(QWidget *window)
{
    QStringList texts{window->windowTitle()};
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        texts << widget->toolTip() << widget->statusTip() << widget->whatsThis();
        if (auto *label = qobject_cast<QLabel *>(widget))
            texts << label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            texts << button->text();
        else if (auto *group = qobject_cast<QGroupBox *>(widget))
            texts << group->title();
        else if (auto *menu = qobject_cast<QMenu *>(widget))
            texts << menu->title();
        else if (auto *edit = qobject_cast<QLineEdit *>(widget))
            texts << edit->placeholderText();
        else if (auto *spin = qobject_cast<QSpinBox *>(widget))
            texts << spin->prefix() << spin->suffix() << spin->specialValueText();
        else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i) << combo->itemData(i, Qt::ToolTipRole).toString();
        }
    }
    for (QAction *action : window->findChildren<QAction *>())
        texts << action->text() << action->toolTip() << action->statusTip();
    return texts;
}

} // namespace

class tst_Languages : public QObject
{
    Q_OBJECT
    QTemporaryDir m_docs;
    QString m_gs;
    QStringList m_english; // the window's texts

    QString doc(const QString &name) const { return m_docs.filePath(name); }

    // The window with a document open, its texts, and what `whileOpen` saw of it.
    QStringList windowTexts(const std::function<void(QWidget *)> &whileOpen = {})
    {
        MemorySettings settings;
        FakeMessageBox messages;
        FakeFileDialog files;
        MainWindow window(settings, messages, files);
        QSignalSpy shown(&window, &MainWindow::previewShown);
        window.show();
        window.start(m_gs, {doc("three.pdf")});
        if (!QTest::qWaitFor([&] { return shown.count() > 0; }, 30000))
            return {"no preview"};
        if (whileOpen)
            whileOpen(&window);
        return textsOf(&window);
    }

    // Runs `dialog` (which opens a modal dialog) and returns what `look` read of the dialog before closing it.
    static QStringList modal(const std::function<void()> &dialog, const std::function<QStringList(QDialog *)> &look)
    {
        QStringList seen{"no dialog"};
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            auto *shown = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            seen = look(shown);
            shown->reject();
        });
        dialog();
        return seen;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        ImageObject::initialise();
        m_gs = GhostscriptLocator().locate();
        QVERIFY(!m_gs.isEmpty());
        QVERIFY(writePdf(doc("three.pdf"), {{842, 595}, {200, 300}, {200, 300}}));
        const Translations english(QLocale::c());
        QCOMPARE(english.language(), "en");
        m_english = windowTexts();
        QVERIFY(m_english.size() > 50);
    }

    void window_speaksTheLanguage_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QStringList>("yesNo");
        QTest::addColumn<QString>("lookIn");
        QTest::addColumn<QString>("cancel");
        QTest::addColumn<QStringList>("same");
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << QStringList{"&Ja", "&Nein"}
                                << "Suchen in:"
                                << "Abbrechen" << QStringList{"Text"};
        QTest::newRow("French") << QLocale(QLocale::French, QLocale::France) << QStringList{"&Oui", "&Non"}
                                << "Voir dans :"
                                << "Annuler" << QStringList{"Annotations", "Images", "Page", "pixels"};
    }

    // Every text of the window is in the language, and Qt's own question box and file dialog are too.
    void window_speaksTheLanguage()
    {
        QFETCH(QLocale, locale);
        QFETCH(QStringList, yesNo);
        QFETCH(QString, lookIn);
        QFETCH(QString, cancel);
        QFETCH(QStringList, same);
        const Translations translations(locale);
        QCOMPARE(translations.language(), locale.name().section('_', 0, 0));

        QStringList question, fileDialog;
        const QStringList texts = windowTexts([&](QWidget *window) {
            question = modal(
                [window] { MessageBox().askYesNo(window, "?"); },
                [](QDialog *dialog) {
                    const auto *box = qobject_cast<QMessageBox *>(dialog);
                    return QStringList{box->button(QMessageBox::Yes)->text(), box->button(QMessageBox::No)->text()};
                });
            fileDialog =
                modal([this, window] { FileDialog().openDocuments(window, m_docs.path()); },
                      [](QDialog *dialog) {
                          const auto *files = qobject_cast<QFileDialog *>(dialog);
                          return QStringList{
                              files->windowTitle(), files->labelText(QFileDialog::LookIn),
                              files->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->text()};
                      });
        });
        QCOMPARE(question, yesNo);
        QCOMPARE(fileDialog.mid(1), QStringList({lookIn, cancel}));
        QVERIFY(fileDialog.value(0) != "Open PDF document");

        QCOMPARE(texts.size(), m_english.size());
        QStringList untranslated;
        for (qsizetype i = 0; i < texts.size(); ++i) {
            if (texts[i] == m_english[i] && sayable(texts[i], same))
                untranslated << texts[i];
        }
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join('\n')));
    }

    void commandLine_followsTheLocale_data()
    {
        QTest::addColumn<QStringList>("locale");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("options");
        QTest::newRow("LANG German") << QStringList{"LANG=de_DE.UTF-8"} << "de"
                                     << "Optionen:";
        QTest::newRow("LANG French") << QStringList{"LANG=fr_FR.UTF-8"} << "fr"
                                     << "Options :";
        QTest::newRow("LC_MESSAGES over LANG") << QStringList{"LANG=de_DE.UTF-8", "LC_MESSAGES=fr_FR.UTF-8"} << "fr"
                                               << "Options :";
        QTest::newRow("LANGUAGE's first") << QStringList{"LANG=de_DE.UTF-8", "LANGUAGE=fr:de"} << "fr"
                                          << "Options :";
        QTest::newRow("LANGUAGE's first it speaks") << QStringList{"LANG=ja_JP.UTF-8", "LANGUAGE=es:de"} << "de"
                                                    << "Optionen:";
        QTest::newRow("LC_ALL=C over LANGUAGE") << QStringList{"LANG=de_DE.UTF-8", "LANGUAGE=fr", "LC_ALL=C"} << "en"
                                                << "Options:";
        QTest::newRow("a language it lacks") << QStringList{"LANG=ja_JP.UTF-8"} << "en"
                                             << "Options:";
        QTest::newRow("no locale") << QStringList{} << "en"
                                   << "Options:";
    }

    // --help and the messages of a conversion, plural forms included, in the locale's language.
    void commandLine_followsTheLocale()
    {
        QFETCH(QStringList, locale);
        QFETCH(QString, language);
        QFETCH(QString, options);
        const Output help = runIn(locale, {"--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.out.split('\n').contains(options), qPrintable(help.out));
        const Output english = runIn({}, {"--help"});
        QStringList untranslated;
        for (const QString &line : help.out.split('\n')) {
            if (language != "en" && english.out.split('\n').contains(line) && sayable(line))
                untranslated << line;
        }
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join('\n')));

        QTranslator translator;
        QVERIFY(translator.load(":/sheetforge/i18n/sheetforge_" + language + ".qm"));
        for (const int pages : {1, 3}) {
            const QString folder = doc(language + QString::number(pages));
            const Output converted = runIn(locale, {"--convert", folder + "/p.png", "--defaults", "--pages",
                                                    QString("1-%1").arg(pages), doc("three.pdf")});
            QCOMPARE(converted.exitCode, 0);
            const QString written = translator.translate("CommandLineConversion", "%n page(s) written.", nullptr, pages)
                                        .replace("%n", QString::number(pages));
            QVERIFY(!written.isEmpty() && !written.contains("(s)"));
            QVERIFY2(converted.err.contains(written), qPrintable(converted.err));
        }
        // Told before anything else is read: a name that is not valid UTF-8, as a shell passes it on.
        const Output undecodable =
            runIn(locale, {"-c", "exec \"$0\" \"$(printf 'scan\\377.pdf')\"", SHEETFORGE_EXECUTABLE}, "/bin/sh");
        const char *source = "\"%1\" cannot be opened: its name is not valid UTF-8. Rename it, for example with "
                             "convmv, and try again.";
        const QString said = translator.translate("main", source);
        const QString refusal = (said.isEmpty() ? QString(source) : said).section("%1", 1);
        QCOMPARE(undecodable.exitCode, 1);
        QVERIFY2(!refusal.isEmpty() && undecodable.err.contains(refusal), qPrintable(undecodable.err));
    }
};

QTEST_MAIN(tst_Languages)
#include "tst_languages.moc"
