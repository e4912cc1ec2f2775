// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDomDocument>
#include <QRegularExpression>
#include <QtTest>

namespace {

struct Output
{
    int exitCode = -1;
    QString text; // standard output and error together
};

Output run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, program + ": " + process.errorString()};
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

QString tool(const QString &name)
{
    const QString path = QStandardPaths::findExecutable(name);
    return path.isEmpty() ? name + " is not installed (scripts/install-deps.sh installs it)" : path;
}

QDomDocument xml(const QString &path)
{
    QFile file(path);
    QDomDocument document;
    if (file.open(QIODevice::ReadOnly))
        document.setContent(&file);
    return document;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression marker("%(?:[1-9]|n)");
    QStringList found;
    for (const QRegularExpressionMatch &match : marker.globalMatch(text))
        found << match.captured();
    found.sort();
    return found;
}

qsizetype mnemonics(const QString &text)
{
    return QString(text).remove("&&").count('&');
}

// What a translator must mend in one message: "" when it is complete.
QString faultOf(const QDomElement &message, int forms)
{
    const QString source = message.firstChildElement("source").text();
    const QDomElement translation = message.firstChildElement("translation");
    if (translation.attribute("type") == "unfinished")
        return "unfinished";
    QStringList texts;
    if (message.attribute("numerus") == "yes") {
        for (QDomElement form = translation.firstChildElement("numerusform"); !form.isNull();
             form = form.nextSiblingElement("numerusform"))
            texts << form.text();
        if (texts.size() != forms)
            return QString("%1 plural forms instead of %2").arg(texts.size()).arg(forms);
    } else {
        texts << translation.text();
    }
    for (const QString &text : std::as_const(texts)) {
        if (text.trimmed().isEmpty())
            return "empty";
        if (placeholders(text) != placeholders(source))
            return "placeholders differ in: " + text;
        if (mnemonics(text) != mnemonics(source))
            return "the shortcut letter (&) differs in: " + text;
    }
    return {};
}

} // namespace

class tst_Packaging : public QObject
{
    Q_OBJECT

private slots:
    // A text added to the code without its translation, or a plural without its forms, fails here: the sources are
    // read again as scripts/update-translations.sh reads them, into a copy of each translation.
    void translations_coverEveryText_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("options");
        QTest::newRow("German") << "de" << QStringList();
        QTest::newRow("French") << "fr" << QStringList();
        QTest::newRow("English plurals") << "en" << QStringList{"-pluralonly"};
    }

    void translations_coverEveryText()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, options);
        const QTemporaryDir folder;
        const QString copy = folder.filePath("sheetforge_" + language + ".ts");
        QVERIFY(QFile::copy(SOURCE_FOLDER "/src/i18n/sheetforge_" + language + ".ts", copy));
        const Output updated = run(
            LUPDATE, options + QStringList{"-locations", "none", "-no-obsolete", SOURCE_FOLDER "/src", "-ts", copy});
        QCOMPARE(updated.exitCode, 0);
        // A tr() whose context lupdate has to guess (outside any class, or in a class without Q_OBJECT) is not
        // reliably the one the program looks its translation up in.
        QVERIFY2(!updated.text.contains("without context") && !updated.text.contains("lacks Q_OBJECT"),
                 qPrintable(updated.text));

        const QDomElement root = xml(copy).documentElement();
        QCOMPARE(root.attribute("language"), language);
        QStringList faults;
        int messages = 0;
        for (QDomElement context = root.firstChildElement("context"); !context.isNull();
             context = context.nextSiblingElement("context")) {
            for (QDomElement message = context.firstChildElement("message"); !message.isNull();
                 message = message.nextSiblingElement("message")) {
                ++messages;
                if (const QString fault = faultOf(message, 2); !fault.isEmpty())
                    faults << context.firstChildElement("name").text() + " \""
                                  + message.firstChildElement("source").text() + "\": " + fault;
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        QVERIFY(messages > (language == "en" ? 10 : 300));
    }

    // Both validators have nothing to say, not even a hint.
    void desktopMetadata_passesItsValidators()
    {
        const Output appstream = run(tool("appstreamcli"), {"validate", "--pedantic", "--no-net", METAINFO_FILE});
        QCOMPARE(appstream.exitCode, 0);
        QCOMPARE(appstream.text.trimmed().split('\n').size(), 1); // "Validation was successful."
        const Output desktop = run(tool("desktop-file-validate"), {DESKTOP_FILE});
        QCOMPARE(QString::number(desktop.exitCode) + desktop.text, "0");
    }

    // The release the metadata announces is the version built, on the day the Debian changelog gives it, and the
    // screenshot it shows is the one in the tree.
    void desktopMetadata_announcesTheBuiltRelease()
    {
        const QDomElement component = xml(METAINFO_FILE).documentElement();
        const QDomElement release = component.firstChildElement("releases").firstChildElement("release");
        QCOMPARE(release.attribute("version"), SHEETFORGE_VERSION);

        QFile changelog(SOURCE_FOLDER "/debian/changelog");
        QVERIFY(changelog.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(changelog.readAll());
        const QRegularExpressionMatch first = QRegularExpression("^sheetforge \\(([^)]+)\\)").match(text);
        QCOMPARE(first.captured(1), SHEETFORGE_VERSION);
        const QRegularExpressionMatch signature =
            QRegularExpression("\\n -- [^\\n]+>  (\\w{3}, \\d\\d \\w{3} \\d{4})").match(text);
        QCOMPARE(QLocale::c().toDate(signature.captured(1), "ddd, dd MMM yyyy"),
                 QDate::fromString(release.attribute("date"), Qt::ISODate));

        // The homepage is one address wherever it is named.
        QFile control(SOURCE_FOLDER "/debian/control");
        QVERIFY(control.open(QIODevice::ReadOnly));
        const QString homepage = component.firstChildElement("url").text();
        QCOMPARE(component.firstChildElement("url").attribute("type"), "homepage");
        QVERIFY2(QString::fromUtf8(control.readAll()).contains("\nHomepage: " + homepage + "\n"), qPrintable(homepage));

        const QString image = component.firstChildElement("screenshots")
                                  .firstChildElement("screenshot")
                                  .firstChildElement("image")
                                  .text();
        const QString inTree = image.section("/main/", 1);
        QVERIFY2(!inTree.isEmpty() && !QImage(SOURCE_FOLDER "/" + inTree).isNull(), qPrintable(image));
    }
};

QTEST_GUILESS_MAIN(tst_Packaging)
#include "tst_packaging.moc"
