<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About sheetforge</source>
        <translation>Über sheetforge</translation>
    </message>
    <message>
        <source>sheetforge</source>
        <translation>sheetforge</translation>
    </message>
    <message>
        <source>the sheetforge developers, 2026</source>
        <translation>die sheetforge-Entwickler, 2026</translation>
    </message>
    <message>
        <source>Do you like it? Donate something! Even 1€ is fine!</source>
        <translation>Gefällt Ihnen das Programm? Spenden Sie etwas! Schon 1 € hilft!</translation>
    </message>
</context>
<context>
    <name>BatchRun</name>
    <message numerus="yes">
        <source>%1: %n page(s) could not be converted; page %2: %3</source>
        <translation>
            <numerusform>%1: %n Seite konnte nicht konvertiert werden; Seite %2: %3</numerusform>
            <numerusform>%1: %n Seiten konnten nicht konvertiert werden; Seite %2: %3</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Convert %n document(s) with the current options, each into files of its own name in one folder?</source>
        <translation>
            <numerusform>%n Dokument mit den aktuellen Optionen in Dateien mit seinem eigenen Namen in einem Ordner konvertieren?</numerusform>
            <numerusform>%n Dokumente mit den aktuellen Optionen konvertieren, jedes in Dateien mit seinem eigenen Namen in einem Ordner?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n document(s) could not be converted, or not completely:</source>
        <translation>
            <numerusform>%n Dokument konnte nicht oder nicht vollständig konvertiert werden:</numerusform>
            <numerusform>%n Dokumente konnten nicht oder nicht vollständig konvertiert werden:</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>%1 or %2</source>
        <translation>%1 oder %2</translation>
    </message>
    <message>
        <source>--convert needs the PDF file to convert.</source>
        <translation>--convert braucht die zu konvertierende PDF-Datei.</translation>
    </message>
    <message>
        <source>--convert -: standard output takes the image of one document.</source>
        <translation>--convert -: Die Standardausgabe nimmt das Bild nur eines Dokuments auf.</translation>
    </message>
    <message>
        <source>--convert %1: several documents go into a folder: give an existing folder, or a name ending in /.</source>
        <translation>--convert %1: Mehrere Dokumente kommen in einen Ordner: Geben Sie einen vorhandenen Ordner an oder einen Namen, der auf / endet.</translation>
    </message>
    <message>
        <source>--convert %1: sheetforge writes %2 files. Give one of those extensions, or --format to add one.</source>
        <translation>--convert %1: sheetforge schreibt Dateien im Format %2. Geben Sie eine dieser Endungen an oder --format, um eine anzuhängen.</translation>
    </message>
    <message>
        <source>--%1 wants a whole number of pixels from 1 to %2.</source>
        <translation>--%1 erwartet eine ganze Zahl an Pixeln von 1 bis %2.</translation>
    </message>
    <message>
        <source>Convert only these pages: a list such as 1,3,5-7,10- (10- runs to the end); odd and even take every other page.</source>
        <translation>Nur diese Seiten konvertieren: eine Liste wie 1,3,5-7,10- (10- reicht bis zum Ende); odd (ungerade) und even (gerade) nehmen jede zweite Seite.</translation>
    </message>
    <message>
        <source>Resolution in dots per inch (%1 to %2).</source>
        <translation>Auflösung in Punkten pro Zoll (%1 bis %2).</translation>
    </message>
    <message>
        <source>--dpi wants a whole number from %1 to %2.</source>
        <translation>--dpi erwartet eine ganze Zahl von %1 bis %2.</translation>
    </message>
    <message>
        <source>--dpi and --width or --height cannot be combined: give a resolution, or a size in pixels.</source>
        <translation>--dpi kann nicht mit --width oder --height kombiniert werden: Geben Sie eine Auflösung oder eine Größe in Pixeln an.</translation>
    </message>
    <message>
        <source>Instead of a resolution: make each page N pixels wide, or fit it within --width by --height.</source>
        <translation>Statt einer Auflösung: jede Seite N Pixel breit machen oder sie in --width mal --height einpassen.</translation>
    </message>
    <message>
        <source>Instead of a resolution: make each page N pixels high, or fit it within --width by --height.</source>
        <translation>Statt einer Auflösung: jede Seite N Pixel hoch machen oder sie in --width mal --height einpassen.</translation>
    </message>
    <message>
        <source>Stop when a page takes longer than SECONDS to render (default %1; 0 for no limit).</source>
        <translation>Abbrechen, wenn das Rendern einer Seite länger als SECONDS dauert (Standard %1; 0 für keine Begrenzung).</translation>
    </message>
    <message>
        <source>--page-timeout wants a whole number of seconds, or 0 for no limit.</source>
        <translation>--page-timeout erwartet eine ganze Zahl an Sekunden oder 0 für keine Begrenzung.</translation>
    </message>
    <message>
        <source>--%1 wants %2.</source>
        <translation>--%1 erwartet %2.</translation>
    </message>
    <message>
        <source>The page&apos;s box that is the image: %1 (a page without it shows its media box).</source>
        <translation>Der Seitenrahmen, der zum Bild wird: %1 (eine Seite ohne diesen Rahmen zeigt ihren Medienrahmen).</translation>
    </message>
    <message>
        <source>Mix overprinted inks as print does: %1 (auto: for documents made for print, with a PDF/X output intent).</source>
        <translation>Überdruckte Farben wie im Druck mischen: %1 (auto: für Dokumente, die für den Druck erstellt sind, mit einem PDF/X-Output-Intent).</translation>
    </message>
    <message>
        <source>Leave out %1, a list such as text,images (for OCR or a page&apos;s background); none draws everything.</source>
        <translation>%1 weglassen, als Liste wie text,images (für OCR oder den Hintergrund einer Seite); none zeichnet alles.</translation>
    </message>
    <message>
        <source>--without wants a list of %1, or none.</source>
        <translation>--without erwartet eine Liste aus %1 oder none.</translation>
    </message>
    <message>
        <source>Draw the annotations (notes, stamps, highlights).</source>
        <translation>Die Anmerkungen zeichnen (Notizen, Stempel, Hervorhebungen).</translation>
    </message>
    <message>
        <source>Leave the annotations out.</source>
        <translation>Die Anmerkungen weglassen.</translation>
    </message>
    <message>
        <source>Draw the form fields.</source>
        <translation>Die Formularfelder zeichnen.</translation>
    </message>
    <message>
        <source>Leave the form fields out.</source>
        <translation>Die Formularfelder weglassen.</translation>
    </message>
    <message>
        <source>Draw the page as printed: annotations marked not to print are left out.</source>
        <translation>Die Seite wie gedruckt zeichnen: Als nicht druckbar markierte Anmerkungen werden weggelassen.</translation>
    </message>
    <message>
        <source>Draw the page as a viewer shows it.</source>
        <translation>Die Seite so zeichnen, wie ein Anzeigeprogramm sie zeigt.</translation>
    </message>
    <message>
        <source>Colour depth: %1.</source>
        <translation>Farbtiefe: %1.</translation>
    </message>
    <message>
        <source>--colors wants %1.</source>
        <translation>--colors erwartet %1.</translation>
    </message>
    <message>
        <source>Image format when DEST has no such extension: %1 (tif: all pages in one file).</source>
        <translation>Bildformat, wenn DEST keine solche Endung hat: %1 (tif: alle Seiten in einer Datei).</translation>
    </message>
    <message>
        <source>--format wants %1.</source>
        <translation>--format erwartet %1.</translation>
    </message>
    <message>
        <source>JPEG quality, 0 to 100 (higher is better); also for WebP in hicolor.</source>
        <translation>JPEG-Qualität, 0 bis 100 (höher ist besser); auch für WebP in hicolor.</translation>
    </message>
    <message>
        <source>--quality wants a whole number from 0 to 100.</source>
        <translation>--quality erwartet eine ganze Zahl von 0 bis 100.</translation>
    </message>
    <message>
        <source>Dither when reducing the colours.</source>
        <translation>Beim Reduzieren der Farben Dithering anwenden.</translation>
    </message>
    <message>
        <source>Do not dither.</source>
        <translation>Kein Dithering.</translation>
    </message>
    <message>
        <source>Trim the blank edges.</source>
        <translation>Leere Ränder abschneiden.</translation>
    </message>
    <message>
        <source>Keep the whole page.</source>
        <translation>Die ganze Seite behalten.</translation>
    </message>
    <message>
        <source>Smooth the edges of text and images.</source>
        <translation>Die Kanten von Text und Bildern glätten.</translation>
    </message>
    <message>
        <source>Do not smooth edges.</source>
        <translation>Kanten nicht glätten.</translation>
    </message>
    <message>
        <source>Embed the sRGB colour profile in colour images.</source>
        <translation>Das sRGB-Farbprofil in Farbbilder einbetten.</translation>
    </message>
    <message>
        <source>No colour profile: smaller files, read as sRGB all the same.</source>
        <translation>Kein Farbprofil: kleinere Dateien, die trotzdem als sRGB gelesen werden.</translation>
    </message>
    <message>
        <source>Leave the paper out: a transparent background (not for JPEG).</source>
        <translation>Das Papier weglassen: ein transparenter Hintergrund (nicht bei JPEG).</translation>
    </message>
    <message>
        <source>A white background.</source>
        <translation>Ein weißer Hintergrund.</translation>
    </message>
    <message>
        <source>--transparent: %1 files cannot be transparent; choose %2.</source>
        <translation>--transparent: %1-Dateien können nicht transparent sein; wählen Sie %2.</translation>
    </message>
    <message>
        <source>Convert without a window, writing DEST (numbered DEST001.png, ... for several pages). For several documents DEST is a folder, ending in /. - writes one image (one page, or a multi-page TIFF) to standard output.</source>
        <translation>Ohne Fenster konvertieren und DEST schreiben (nummeriert DEST001.png, ... bei mehreren Seiten). Bei mehreren Dokumenten ist DEST ein Ordner, der auf / endet. - schreibt ein Bild (eine Seite oder ein mehrseitiges TIFF) in die Standardausgabe.</translation>
    </message>
    <message>
        <source>Tell each event of the run as a line of JSON on standard output (or in --report-file): json.</source>
        <translation>Jedes Ereignis des Laufs als JSON-Zeile in die Standardausgabe melden (oder in --report-file): json.</translation>
    </message>
    <message>
        <source>--report wants json.</source>
        <translation>--report erwartet json.</translation>
    </message>
    <message>
        <source>Write the JSON report to PATH rather than standard output.</source>
        <translation>Den JSON-Bericht nach PATH statt in die Standardausgabe schreiben.</translation>
    </message>
    <message>
        <source>Check that everything a conversion needs is installed, and say what to install or set where it is not.</source>
        <translation>Prüfen, ob alles installiert ist, was eine Konvertierung braucht, und wo nicht, sagen, was zu installieren oder einzustellen ist.</translation>
    </message>
    <message>
        <source>Read the document&apos;s password from the first line of standard input.</source>
        <translation>Das Passwort des Dokuments aus der ersten Zeile der Standardeingabe lesen.</translation>
    </message>
    <message>
        <source>Start from the first-start defaults rather than the window&apos;s last options, so that what was last clicked does not change the files.</source>
        <translation>Von den Voreinstellungen des ersten Starts ausgehen statt von den letzten Optionen des Fensters, damit das zuletzt Angeklickte die Dateien nicht verändert.</translation>
    </message>
    <message>
        <source>
Options not given come from the window&apos;s last use; --defaults starts from
the first-start defaults instead. A conversion prints the options in effect.

Examples:
  sheetforge --convert out/scan.png manual.pdf
      every page of manual.pdf: out/scan001.png, out/scan002.png, ...
  sheetforge --convert thumbs/ --defaults --width 200 *.pdf
      each document&apos;s pages as thumbnails 200 pixels wide, in thumbs/

Exit status:
</source>
        <translation>
Nicht angegebene Optionen stammen aus der letzten Verwendung des Fensters;
--defaults geht stattdessen von den Voreinstellungen des ersten Starts aus.
Eine Konvertierung gibt die geltenden Optionen aus.

Beispiele:
  sheetforge --convert out/scan.png manual.pdf
      jede Seite von manual.pdf: out/scan001.png, out/scan002.png, ...
  sheetforge --convert thumbs/ --defaults --width 200 *.pdf
      die Seiten jedes Dokuments als 200 Pixel breite Miniaturen, in thumbs/

Rückgabewerte:
</translation>
    </message>
    <message>
        <source>See sheetforge --help.</source>
        <translation>Siehe sheetforge --help.</translation>
    </message>
    <message>
        <source>Unknown option %1: a long option takes two dashes, as in --%2. %3</source>
        <translation>Unbekannte Option %1: Eine lange Option beginnt mit zwei Bindestrichen, wie in --%2. %3</translation>
    </message>
    <message>
        <source>Unknown option %1. %2</source>
        <translation>Unbekannte Option %1. %2</translation>
    </message>
    <message>
        <source>Unknown option %1. Did you mean --%2? %3</source>
        <translation>Unbekannte Option %1. Meinten Sie --%2? %3</translation>
    </message>
    <message>
        <source>Turns the pages of a PDF into PNG, GIF, JPEG, TIFF or WebP images.</source>
        <translation>Wandelt die Seiten einer PDF-Datei in PNG-, GIF-, JPEG-, TIFF- oder WebP-Bilder um.</translation>
    </message>
    <message>
        <source>The PDF documents: one opens in the window, several are offered for converting. - reads one from standard input.</source>
        <translation>Die PDF-Dokumente: Eines wird im Fenster geöffnet, mehrere werden zum Konvertieren angeboten. - liest eines aus der Standardeingabe.</translation>
    </message>
    <message>
        <source>every page was written; --check found nothing to fix</source>
        <translation>jede Seite wurde geschrieben; --check fand nichts zu beheben</translation>
    </message>
    <message>
        <source>something failed or was stopped; --check found something to fix</source>
        <translation>etwas ist fehlgeschlagen oder wurde abgebrochen; --check fand etwas zu beheben</translation>
    </message>
    <message>
        <source>a mistake on the command line</source>
        <translation>ein Fehler in der Kommandozeile</translation>
    </message>
    <message>
        <source>the signal N ended the run: SIGTERM, SIGINT or SIGHUP</source>
        <translation>das Signal N hat den Lauf beendet: SIGTERM, SIGINT oder SIGHUP</translation>
    </message>
    <message>
        <source>Unknown option %1. For a file whose name starts with a dash, write ./%1, or put -- before it.</source>
        <translation>Unbekannte Option %1. Für eine Datei, deren Name mit einem Bindestrich beginnt, schreiben Sie ./%1 oder setzen Sie -- davor.</translation>
    </message>
    <message>
        <source>--%1 goes with --convert.</source>
        <translation>--%1 ist nur zusammen mit --convert möglich.</translation>
    </message>
    <message>
        <source>Standard input (-) can be read only once.</source>
        <translation>Die Standardeingabe (-) kann nur einmal gelesen werden.</translation>
    </message>
    <message>
        <source>--password-stdin cannot be used when the document itself comes from standard input.</source>
        <translation>--password-stdin kann nicht verwendet werden, wenn das Dokument selbst aus der Standardeingabe kommt.</translation>
    </message>
    <message>
        <source>--convert - gives standard output to the image: give the report a file with --report-file.</source>
        <translation>--convert - gibt die Standardausgabe dem Bild: Geben Sie dem Bericht mit --report-file eine Datei.</translation>
    </message>
    <message>
        <source>--colors cmyk: %1 files cannot hold CMYK; choose jpg or tif, or another depth.</source>
        <translation>--colors cmyk: %1-Dateien können kein CMYK enthalten; wählen Sie jpg oder tif oder eine andere Farbtiefe.</translation>
    </message>
</context>
<context>
    <name>CommandLineConversion</name>
    <message>
        <source>Processing page %1...</source>
        <translation>Seite %1 wird verarbeitet...</translation>
    </message>
    <message>
        <source>Wrote %1</source>
        <translation>%1 geschrieben</translation>
    </message>
    <message numerus="yes">
        <source>--convert -: standard output takes one image, and %n pages were asked for: give one page with --pages, or --format tif for all of them in one file.</source>
        <translation>
            <numerusform>--convert -: Die Standardausgabe nimmt ein Bild auf, und %n Seite wurde verlangt: Geben Sie mit --pages eine Seite an oder --format tif für alle in einer Datei.</numerusform>
            <numerusform>--convert -: Die Standardausgabe nimmt ein Bild auf, und %n Seiten wurden verlangt: Geben Sie mit --pages eine Seite an oder --format tif für alle in einer Datei.</numerusform>
        </translation>
    </message>
    <message>
        <source>Converting %1</source>
        <translation>%1 wird konvertiert</translation>
    </message>
    <message>
        <source>--convert -: standard output is a terminal. Send the image to a file or a program: &gt; page.png, or | another program.</source>
        <translation>--convert -: Die Standardausgabe ist ein Terminal. Leiten Sie das Bild in eine Datei oder ein Programm: &gt; page.png, oder | ein anderes Programm.</translation>
    </message>
    <message>
        <source>-: the document is read from standard input, which is a terminal. Send it in: &lt; a.pdf, or cat a.pdf |.</source>
        <translation>-: Das Dokument wird aus der Standardeingabe gelesen, und die ist ein Terminal. Leiten Sie es hinein: &lt; a.pdf, oder cat a.pdf |.</translation>
    </message>
    <message>
        <source>Options (the defaults and the flags given): %1</source>
        <translation>Optionen (Voreinstellungen und angegebene Schalter): %1</translation>
    </message>
    <message>
        <source>Options (the window&apos;s last and the flags given): %1</source>
        <translation>Optionen (die letzten des Fensters und angegebene Schalter): %1</translation>
    </message>
    <message>
        <source>Page %1: %2</source>
        <translation>Seite %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n page(s) written.</source>
        <translation>
            <numerusform>%n Seite geschrieben.</numerusform>
            <numerusform>%n Seiten geschrieben.</numerusform>
        </translation>
    </message>
    <message>
        <source>The report could not be written in full.</source>
        <translation>Der Bericht konnte nicht vollständig geschrieben werden.</translation>
    </message>
    <message numerus="yes">
        <source>Stopped; %n page(s) written.</source>
        <translation>
            <numerusform>Abgebrochen; %n Seite geschrieben.</numerusform>
            <numerusform>Abgebrochen; %n Seiten geschrieben.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n page(s) written in all.</source>
        <translation>
            <numerusform>Insgesamt %n Seite geschrieben.</numerusform>
            <numerusform>Insgesamt %n Seiten geschrieben.</numerusform>
        </translation>
    </message>
    <message>
        <source>Standard output could not take the image.</source>
        <translation>Die Standardausgabe konnte das Bild nicht aufnehmen.</translation>
    </message>
    <message>
        <source>Standard output could not take the image: %1</source>
        <translation>Die Standardausgabe konnte das Bild nicht aufnehmen: %1</translation>
    </message>
    <message>
        <source>The report cannot be written to %1: %2</source>
        <translation>Der Bericht kann nicht nach %1 geschrieben werden: %2</translation>
    </message>
    <message numerus="yes">
        <source>Pages %1 do not exist: the document has only %n page(s).</source>
        <translation>
            <numerusform>Die Seiten %1 gibt es nicht: Das Dokument hat nur %n Seite.</numerusform>
            <numerusform>Die Seiten %1 gibt es nicht: Das Dokument hat nur %n Seiten.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Page %1 does not exist: the document has only %n page(s).</source>
        <translation>
            <numerusform>Seite %1 gibt es nicht: Das Dokument hat nur %n Seite.</numerusform>
            <numerusform>Seite %1 gibt es nicht: Das Dokument hat nur %n Seiten.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Pages %1 to %2 do not exist: the document has only %n page(s).</source>
        <translation>
            <numerusform>Die Seiten %1 bis %2 gibt es nicht: Das Dokument hat nur %n Seite.</numerusform>
            <numerusform>Die Seiten %1 bis %2 gibt es nicht: Das Dokument hat nur %n Seiten.</numerusform>
        </translation>
    </message>
    <message>
        <source>Give it on standard input with --password-stdin.</source>
        <translation>Geben Sie es mit --password-stdin über die Standardeingabe an.</translation>
    </message>
    <message numerus="yes">
        <source>&quot;%1&quot; has only %n page(s); none of the pages asked for exists.</source>
        <translation>
            <numerusform>&quot;%1&quot; hat nur %n Seite; keine der verlangten Seiten existiert.</numerusform>
            <numerusform>&quot;%1&quot; hat nur %n Seiten; keine der verlangten Seiten existiert.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ConversionEngine</name>
    <message>
        <source>Page %1: %2</source>
        <translation>Seite %1: %2</translation>
    </message>
</context>
<context>
    <name>ConversionJob</name>
    <message>
        <source>Pages cannot be made %1 x %2 pixels: it would take %3 dpi, and the most is %4 dpi.</source>
        <translation>Seiten können nicht %1 x %2 Pixel groß werden: Das würde %3 dpi erfordern, und höchstens %4 dpi sind möglich.</translation>
    </message>
    <message>
        <source>The page is too large to convert at %1 dpi: at %2 x %3 pixels it needs %4 in the temporary folder &quot;%5&quot;, and %6 can be used there.</source>
        <translation>Die Seite ist zu groß, um sie mit %1 dpi zu konvertieren: Bei %2 x %3 Pixeln braucht sie %4 im temporären Ordner &quot;%5&quot;, und dort sind %6 nutzbar.</translation>
    </message>
    <message>
        <source>The page is too large to convert at %1 dpi: it would be %2 x %3 pixels.</source>
        <translation>Die Seite ist zu groß, um sie mit %1 dpi zu konvertieren: Sie wäre %2 x %3 Pixel groß.</translation>
    </message>
    <message>
        <source>At most %1 dpi fits.</source>
        <translation>Höchstens %1 dpi passen.</translation>
    </message>
    <message>
        <source>No resolution fits.</source>
        <translation>Keine Auflösung passt.</translation>
    </message>
</context>
<context>
    <name>DestinationFile</name>
    <message>
        <source>The folder &quot;%1&quot; cannot be made: %2</source>
        <translation>Der Ordner &quot;%1&quot; kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a file, not a folder. Choose another name.</source>
        <translation>&quot;%1&quot; ist eine Datei, kein Ordner. Wählen Sie einen anderen Namen.</translation>
    </message>
    <message>
        <source>you are not allowed to write to &quot;%1&quot;. Choose a folder you are allowed to write to.</source>
        <translation>Sie dürfen nicht in &quot;%1&quot; schreiben. Wählen Sie einen Ordner, in den Sie schreiben dürfen.</translation>
    </message>
</context>
<context>
    <name>FailureSummary</name>
    <message>
        <source>Page %1: %2</source>
        <translation>Seite %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>und %n weiterer Eintrag</numerusform>
            <numerusform>und %n weitere Einträge</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n page(s) could not be converted:</source>
        <translation>
            <numerusform>%n Seite konnte nicht konvertiert werden:</numerusform>
            <numerusform>%n Seiten konnten nicht konvertiert werden:</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FileDialog</name>
    <message>
        <source>Open PDF document</source>
        <translation>PDF-Dokument öffnen</translation>
    </message>
    <message>
        <source>PDF documents (*.[pP][dD][fF])</source>
        <translation>PDF-Dokumente (*.[pP][dD][fF])</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Select destination folder</source>
        <translation>Zielordner auswählen</translation>
    </message>
    <message>
        <source>Select destination file...</source>
        <translation>Zieldatei auswählen...</translation>
    </message>
    <message>
        <source>image files (*.%1)</source>
        <translation>Bilddateien (*.%1)</translation>
    </message>
</context>
<context>
    <name>ImageObject</name>
    <message>
        <source>the PNG could not be compressed</source>
        <translation>das PNG konnte nicht komprimiert werden</translation>
    </message>
    <message>
        <source>the image library made no image</source>
        <translation>die Bildbibliothek hat kein Bild erzeugt</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message numerus="yes">
        <source>%n file(s) already exist. Replace them?</source>
        <translation>
            <numerusform>%n Datei ist bereits vorhanden. Soll sie ersetzt werden?</numerusform>
            <numerusform>%n Dateien sind bereits vorhanden. Sollen sie ersetzt werden?</numerusform>
        </translation>
    </message>
    <message>
        <source>Only PDF documents on this computer can be dropped here.</source>
        <translation>Hier können nur PDF-Dokumente abgelegt werden, die sich auf diesem Computer befinden.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a PDF document.</source>
        <translation>&quot;%1&quot; ist kein PDF-Dokument.</translation>
    </message>
    <message numerus="yes">
        <source>Cancelled at document %1 of %2; %n image(s) written to %3.</source>
        <translation>
            <numerusform>Abgebrochen bei Dokument %1 von %2; %n Bild in %3 geschrieben.</numerusform>
            <numerusform>Abgebrochen bei Dokument %1 von %2; %n Bilder in %3 geschrieben.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n image(s) written to %1.</source>
        <translation>
            <numerusform>%n Bild in %1 geschrieben.</numerusform>
            <numerusform>%n Bilder in %1 geschrieben.</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Öffnen...</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>Convert &amp;Current Page...</source>
        <translation>&amp;Aktuelle Seite konvertieren...</translation>
    </message>
    <message>
        <source>Ctrl+E</source>
        <translation>Ctrl+E</translation>
    </message>
    <message>
        <source>Convert Page &amp;Range...</source>
        <translation>&amp;Seitenbereich konvertieren...</translation>
    </message>
    <message>
        <source>Ctrl+Shift+E</source>
        <translation>Ctrl+Shift+E</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Fit to Frame</source>
        <translation>&amp;Ganze Seite</translation>
    </message>
    <message>
        <source>Ctrl+0</source>
        <translation>Ctrl+0</translation>
    </message>
    <message>
        <source>&amp;Actual Pixels (100%)</source>
        <translation>&amp;Tatsächliche Pixel (100%)</translation>
    </message>
    <message>
        <source>Ctrl+1</source>
        <translation>Ctrl+1</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;Über...</translation>
    </message>
    <message>
        <source>&amp;%1 %2</source>
        <translation>&amp;%1 %2</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Open a PDF document (Ctrl+O)</source>
        <translation>Ein PDF-Dokument öffnen (Strg+O)</translation>
    </message>
    <message>
        <source>Source File:</source>
        <translation>Quelldatei:</translation>
    </message>
    <message>
        <source>Convert current page</source>
        <translation>Aktuelle Seite konvertieren</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Ordner öffnen</translation>
    </message>
    <message>
        <source>No application on this desktop opens folders.</source>
        <translation>Auf diesem Desktop gibt es keine Anwendung, die Ordner öffnet.</translation>
    </message>
    <message>
        <source>Try again and wait as long as it takes?</source>
        <translation>Erneut versuchen und so lange wie nötig warten?</translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation>%1 — %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged; Ghostscript repaired it to read it, so some pages may be incomplete.</source>
        <translation>&quot;%1&quot; ist beschädigt; Ghostscript hat die Datei zum Lesen repariert, daher können einige Seiten unvollständig sein.</translation>
    </message>
    <message>
        <source>%1 shown</source>
        <translation>%1 angezeigt</translation>
    </message>
    <message>
        <source>Media box shown: this page has no %1.</source>
        <translation>Medienrahmen angezeigt: Diese Seite hat keinen %1.</translation>
    </message>
    <message>
        <source>The document ends at page %1; the list asks for %2.</source>
        <translation>Das Dokument endet mit Seite %1; die Liste verlangt %2.</translation>
    </message>
    <message>
        <source>JPEG files cannot be transparent; the background is white.</source>
        <translation>JPEG-Dateien können nicht transparent sein; der Hintergrund ist weiß.</translation>
    </message>
    <message>
        <source>Format %1, as the file name says.</source>
        <translation>Format %1, wie der Dateiname angibt.</translation>
    </message>
    <message numerus="yes">
        <source>Cancelled after %1 of %2 pages; %n image(s) written to %3.</source>
        <translation>
            <numerusform>Abgebrochen nach %1 von %2 Seiten; %n Bild in %3 geschrieben.</numerusform>
            <numerusform>Abgebrochen nach %1 von %2 Seiten; %n Bilder in %3 geschrieben.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>The password was not correct. Enter the password of &quot;%1&quot;:</source>
        <translation>Das Passwort war nicht korrekt. Geben Sie das Passwort für &quot;%1&quot; ein:</translation>
    </message>
    <message>
        <source>Enter the password of &quot;%1&quot;:</source>
        <translation>Geben Sie das Passwort für &quot;%1&quot; ein:</translation>
    </message>
    <message>
        <source>Password for %1</source>
        <translation>Passwort für %1</translation>
    </message>
</context>
<context>
    <name>MultiPageTiff</name>
    <message>
        <source>TIFF page: %1</source>
        <translation>TIFF-Seite: %1</translation>
    </message>
    <message>
        <source>tiled pages are not joined</source>
        <translation>gekachelte Seiten werden nicht zusammengefügt</translation>
    </message>
    <message>
        <source>%1-bit samples in the other byte order</source>
        <translation>%1-Bit-Samples in der anderen Byte-Reihenfolge</translation>
    </message>
    <message>
        <source>no strips</source>
        <translation>keine Streifen</translation>
    </message>
    <message>
        <source>strip %1 out of bounds</source>
        <translation>Streifen %1 außerhalb der Grenzen</translation>
    </message>
    <message>
        <source>more than one image</source>
        <translation>mehr als ein Bild</translation>
    </message>
</context>
<context>
    <name>OptionLists</name>
    <message>
        <source>Black and White (1bpp)</source>
        <translation>Schwarzweiß (1bpp)</translation>
    </message>
    <message>
        <source>4 colors (2bpp)</source>
        <translation>4 Farben (2bpp)</translation>
    </message>
    <message>
        <source>16 colors (4bpp)</source>
        <translation>16 Farben (4bpp)</translation>
    </message>
    <message>
        <source>256 colors (8bpp)</source>
        <translation>256 Farben (8bpp)</translation>
    </message>
    <message>
        <source>Hicolor (16bpp)</source>
        <translation>Hicolor (16bpp)</translation>
    </message>
    <message>
        <source>Grayscale (8bpp)</source>
        <translation>Graustufen (8bpp)</translation>
    </message>
    <message>
        <source>16 grays (4bpp)</source>
        <translation>16 Graustufen (4bpp)</translation>
    </message>
    <message>
        <source>4 grays (2bpp)</source>
        <translation>4 Graustufen (2bpp)</translation>
    </message>
    <message>
        <source>CMYK (32bpp)</source>
        <translation>CMYK (32bpp)</translation>
    </message>
    <message>
        <source>Crop box</source>
        <translation>Maskenrahmen</translation>
    </message>
    <message>
        <source>Media box</source>
        <translation>Medienrahmen</translation>
    </message>
    <message>
        <source>Trim box</source>
        <translation>Endformatrahmen</translation>
    </message>
    <message>
        <source>Bleed box</source>
        <translation>Anschnittrahmen</translation>
    </message>
    <message>
        <source>Art box</source>
        <translation>Objektrahmen</translation>
    </message>
    <message>
        <source>For print documents</source>
        <translation>Bei Druckdokumenten</translation>
    </message>
    <message>
        <source>Always</source>
        <translation>Immer</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>Nie</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Images</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Vector graphics</source>
        <translation>Vektorgrafiken</translation>
    </message>
</context>
<context>
    <name>OptionsPanel</name>
    <message>
        <source>Dither</source>
        <translation>Dithering</translation>
    </message>
    <message>
        <source>Antialias</source>
        <translation>Kantenglättung</translation>
    </message>
    <message>
        <source>Quality:</source>
        <translation>Qualität:</translation>
    </message>
    <message>
        <source>Resolution (dpi):</source>
        <translation>Auflösung (dpi):</translation>
    </message>
    <message>
        <source>Fit within:</source>
        <translation>Einpassen in:</translation>
    </message>
    <message>
        <source>Trim edges</source>
        <translation>Ränder abschneiden</translation>
    </message>
    <message>
        <source>Transparent background</source>
        <translation>Transparenter Hintergrund</translation>
    </message>
    <message>
        <source>sRGB profile</source>
        <translation>sRGB-Profil</translation>
    </message>
    <message>
        <source>Apply error diffusion when reducing the number of colors.</source>
        <translation>Beim Verringern der Farbanzahl Fehlerdiffusion anwenden.</translation>
    </message>
    <message>
        <source>Smooth the edges of the fonts and images</source>
        <translation>Die Kanten von Schrift und Bildern glätten</translation>
    </message>
    <message>
        <source>The most colours each image keeps. The gray depths write gray images, with evenly spaced levels.</source>
        <translation>Wie viele Farben jedes Bild höchstens behält. Die Graustufen-Tiefen schreiben Graustufenbilder mit gleichmäßig verteilten Stufen.</translation>
    </message>
    <message>
        <source>tif puts every page of a range into one file (black and white as fax Group 4); webp is lossless except in Hicolor, where the quality applies.</source>
        <translation>tif schreibt alle Seiten eines Bereichs in eine Datei (Schwarzweiß als Fax Gruppe 4); webp ist verlustfrei, außer in Hicolor, wo die Qualität gilt.</translation>
    </message>
    <message>
        <source>For JPEG, and WebP in Hicolor: from 0 to 100, higher means a better image and a bigger file. Leave it empty for the image library&apos;s default.</source>
        <translation>Für JPEG und für WebP in Hicolor: von 0 bis 100; höher bedeutet ein besseres Bild und eine größere Datei. Lassen Sie das Feld leer für die Voreinstellung der Bildbibliothek.</translation>
    </message>
    <message>
        <source>Pick a resolution or type one from %1 to %2.</source>
        <translation>Wählen Sie eine Auflösung oder geben Sie eine von %1 bis %2 ein.</translation>
    </message>
    <message>
        <source>Color Depth:</source>
        <translation>Farbtiefe:</translation>
    </message>
    <message>
        <source>Image Format:</source>
        <translation>Bildformat:</translation>
    </message>
    <message>
        <source>Page box:</source>
        <translation>Seitenrahmen:</translation>
    </message>
    <message>
        <source>The part of the page that becomes the image. A page without that box shows its media box, the whole sheet.</source>
        <translation>Der Teil der Seite, der zum Bild wird. Eine Seite ohne diesen Rahmen zeigt ihren Medienrahmen, das ganze Blatt.</translation>
    </message>
    <message>
        <source>Mix inks printed over one another as on press. Documents made for print (PDF/X) declare an output intent.</source>
        <translation>Übereinander gedruckte Farben wie in der Druckmaschine mischen. Für den Druck erstellte Dokumente (PDF/X) geben einen Output Intent an.</translation>
    </message>
    <message>
        <source>Embed the sRGB colour profile in colour images (2.5 KB each). Without it, files are smaller and read as sRGB all the same.</source>
        <translation>Das sRGB-Farbprofil in Farbbilder einbetten (je 2,5 KB). Ohne Profil sind die Dateien kleiner und werden trotzdem als sRGB gelesen.</translation>
    </message>
    <message>
        <source>Overprint:</source>
        <translation>Überdrucken:</translation>
    </message>
    <message>
        <source>Draw</source>
        <translation>Zeichnen</translation>
    </message>
    <message>
        <source>Annotations</source>
        <translation>Anmerkungen</translation>
    </message>
    <message>
        <source>Notes, stamps, highlights and links</source>
        <translation>Notizen, Stempel, Hervorhebungen und Links</translation>
    </message>
    <message>
        <source>Form fields</source>
        <translation>Formularfelder</translation>
    </message>
    <message>
        <source>The fields of a form and what was typed in them</source>
        <translation>Die Felder eines Formulars und was in sie eingegeben wurde</translation>
    </message>
    <message>
        <source>As printed</source>
        <translation>Wie gedruckt</translation>
    </message>
    <message>
        <source>Leave out annotations marked not to print, as a printer would; otherwise the page looks as in a viewer.</source>
        <translation>Als nicht druckbar markierte Anmerkungen weglassen, wie es ein Drucker tut; sonst sieht die Seite aus wie in einem Anzeigeprogramm.</translation>
    </message>
    <message>
        <source>Clear it to leave this out, for text recognition or to take a page&apos;s background.</source>
        <translation>Abwählen, um dies wegzulassen, etwa für die Texterkennung oder um den Hintergrund einer Seite zu erhalten.</translation>
    </message>
    <message>
        <source>Render every page at this resolution.</source>
        <translation>Jede Seite in dieser Auflösung rendern.</translation>
    </message>
    <message>
        <source>Scale every page to fit within this many pixels, keeping its shape. A side left at &quot;any&quot; is free.</source>
        <translation>Jede Seite unter Beibehaltung ihres Seitenverhältnisses so skalieren, dass sie in diese Pixelmaße passt. Ein Maß, das auf &quot;beliebig&quot; steht, ist frei.</translation>
    </message>
    <message>
        <source>any</source>
        <translation>beliebig</translation>
    </message>
    <message>
        <source>Width in pixels</source>
        <translation>Breite in Pixeln</translation>
    </message>
    <message>
        <source>Height in pixels</source>
        <translation>Höhe in Pixeln</translation>
    </message>
    <message>
        <source>pixels</source>
        <translation>Pixel</translation>
    </message>
    <message>
        <source>CMYK is written as JPEG or TIFF.</source>
        <translation>CMYK wird als JPEG oder TIFF geschrieben.</translation>
    </message>
    <message>
        <source>Leave the paper out, for pages placed on a web page or a slide.</source>
        <translation>Das Papier weglassen, für Seiten, die auf einer Webseite oder einer Folie platziert werden.</translation>
    </message>
    <message>
        <source>CMYK is printed on paper.</source>
        <translation>CMYK wird auf Papier gedruckt.</translation>
    </message>
    <message>
        <source>JPEG images cannot be transparent.</source>
        <translation>JPEG-Bilder können nicht transparent sein.</translation>
    </message>
</context>
<context>
    <name>PageInfoReader</name>
    <message>
        <source>The document claims %1 pages in %2 bytes.</source>
        <translation>Das Dokument gibt %1 Seiten in %2 Bytes an.</translation>
    </message>
</context>
<context>
    <name>PagePanel</name>
    <message>
        <source>The first page the range button converts</source>
        <translation>Die erste Seite, die die Bereichsschaltfläche konvertiert</translation>
    </message>
    <message>
        <source>The last page the range button converts</source>
        <translation>Die letzte Seite, die die Bereichsschaltfläche konvertiert</translation>
    </message>
    <message>
        <source>Preview page:</source>
        <translation>Vorschauseite:</translation>
    </message>
    <message>
        <source>Convert pages:</source>
        <translation>Seiten konvertieren:</translation>
    </message>
    <message>
        <source>from</source>
        <translation>von</translation>
    </message>
    <message>
        <source>to</source>
        <translation>bis</translation>
    </message>
    <message>
        <source>or the pages:</source>
        <translation>oder die Seiten:</translation>
    </message>
    <message>
        <source>e.g. 1,3,5-7,10-</source>
        <translation>z. B. 1,3,5-7,10-</translation>
    </message>
    <message>
        <source>Pages and ranges separated by commas; &quot;10-&quot; runs to the last page, &quot;odd&quot; and &quot;even&quot; take every other page. When given, the range button converts these pages instead of from and to.</source>
        <translation>Seiten und Bereiche, durch Kommas getrennt; &quot;10-&quot; reicht bis zur letzten Seite, &quot;odd&quot; (ungerade) und &quot;even&quot; (gerade) nehmen jede zweite Seite. Wenn angegeben, konvertiert die Bereichsschaltfläche diese Seiten statt von und bis.</translation>
    </message>
    <message>
        <source>Image size (pixels):</source>
        <translation>Bildgröße (Pixel):</translation>
    </message>
    <message>
        <source>x</source>
        <translation>x</translation>
    </message>
    <message>
        <source>The size the conversion writes, each side rounded to the nearest pixel as Ghostscript renders it. Some other tools round up, and their images can be a pixel larger.</source>
        <translation>Die Größe, die die Konvertierung schreibt, Breite und Höhe jeweils auf das nächste Pixel gerundet, wie Ghostscript sie rendert. Manche anderen Programme runden auf, und ihre Bilder können ein Pixel größer sein.</translation>
    </message>
    <message>
        <source>Page %1</source>
        <translation>Seite %1</translation>
    </message>
    <message>
        <source>Convert pages</source>
        <translation>Seiten konvertieren</translation>
    </message>
    <message>
        <source>Convert pages %1</source>
        <translation>Seiten %1 konvertieren</translation>
    </message>
    <message>
        <source>Convert the listed pages</source>
        <translation>Aufgelistete Seiten konvertieren</translation>
    </message>
    <message>
        <source>Convert all pages</source>
        <translation>Alle Seiten konvertieren</translation>
    </message>
    <message>
        <source>Convert page %1</source>
        <translation>Seite %1 konvertieren</translation>
    </message>
    <message>
        <source>Convert pages %1 to %2</source>
        <translation>Seiten %1 bis %2 konvertieren</translation>
    </message>
</context>
<context>
    <name>PageSelection</name>
    <message>
        <source>A page list is wanted, for example 1,3,5-7,10- or odd.</source>
        <translation>Eine Seitenliste wird erwartet, zum Beispiel 1,3,5-7,10- oder odd.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a page or a range; give FIRST-LAST, FIRST-, one page, odd or even, for example 1,3,5-7,10-.</source>
        <translation>&quot;%1&quot; ist weder eine Seite noch ein Bereich; geben Sie ERSTE-LETZTE, ERSTE-, eine einzelne Seite, odd oder even an, zum Beispiel 1,3,5-7,10-.</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: no document has that many pages.</source>
        <translation>&quot;%1&quot;: Kein Dokument hat so viele Seiten.</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: pages are numbered from 1.</source>
        <translation>&quot;%1&quot;: Seiten werden ab 1 nummeriert.</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: the first page comes after the last.</source>
        <translation>&quot;%1&quot;: Die erste Seite liegt nach der letzten.</translation>
    </message>
</context>
<context>
    <name>PreviewPane</name>
    <message>
        <source>Open a PDF with %1, or drop one here.</source>
        <translation>Öffnen Sie eine PDF-Datei mit %1 oder ziehen Sie eine hierher.</translation>
    </message>
    <message>
        <source>Rendering the preview</source>
        <translation>Vorschau wird gerendert</translation>
    </message>
</context>
<context>
    <name>PreviewRenderer</name>
    <message numerus="yes">
        <source>Page %1 took longer than %n second(s) to draw, so its preview was stopped.</source>
        <translation>
            <numerusform>Das Zeichnen von Seite %1 dauerte länger als %n Sekunde, daher wurde die Vorschau abgebrochen.</numerusform>
            <numerusform>Das Zeichnen von Seite %1 dauerte länger als %n Sekunden, daher wurde die Vorschau abgebrochen.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Problem</name>
    <message>
        <source>Install it with: sudo apt install ghostscript</source>
        <translation>Installieren Sie es mit: sudo apt install ghostscript</translation>
    </message>
    <message>
        <source>GhostScript has not been found on your system. This utility is required to be able to process pdf files</source>
        <translation>Ghostscript wurde auf Ihrem System nicht gefunden. Dieses Programm wird benötigt, um PDF-Dateien verarbeiten zu können</translation>
    </message>
    <message>
        <source>Ghostscript stopped without rendering the pages. The document may be damaged; try opening and saving it again in another program.</source>
        <translation>Ghostscript wurde beendet, ohne die Seiten zu rendern. Das Dokument ist möglicherweise beschädigt; versuchen Sie, es in einem anderen Programm zu öffnen und erneut zu speichern.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a PDF document, or it is damaged beyond repair. Check that you chose the right file.</source>
        <translation>&quot;%1&quot; ist kein PDF-Dokument oder so beschädigt, dass es nicht repariert werden kann. Prüfen Sie, ob Sie die richtige Datei gewählt haben.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a folder, not a PDF document. Choose a PDF file inside it.</source>
        <translation>&quot;%1&quot; ist ein Ordner, kein PDF-Dokument. Wählen Sie eine PDF-Datei darin.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is empty. The file may not have been downloaded or copied completely.</source>
        <translation>&quot;%1&quot; ist leer. Die Datei wurde möglicherweise nicht vollständig heruntergeladen oder kopiert.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is protected by a password. Enter the document&apos;s password to open it.</source>
        <translation>&quot;%1&quot; ist durch ein Passwort geschützt. Geben Sie das Passwort des Dokuments ein, um es zu öffnen.</translation>
    </message>
    <message>
        <source>The password for &quot;%1&quot; is not correct. Check the password and try again.</source>
        <translation>Das Passwort für &quot;%1&quot; ist nicht korrekt. Prüfen Sie das Passwort und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>This password cannot be used: Ghostscript cannot be given a password that holds a line break, that has a blank and a backslash at its end, or that is longer than about 2000 bytes.</source>
        <translation>Dieses Passwort kann nicht verwendet werden: Ghostscript kann kein Passwort übergeben werden, das einen Zeilenumbruch enthält, das ein Leerzeichen enthält und auf einen Backslash endet, oder das länger als etwa 2000 Bytes ist.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no pages.</source>
        <translation>&quot;%1&quot; hat keine Seiten.</translation>
    </message>
    <message>
        <source>A page of &quot;%1&quot; cannot be rendered: its size is %2. A page must be larger than nothing and at most 200 inches (14400 points) a side.</source>
        <translation>Eine Seite von &quot;%1&quot; kann nicht gerendert werden: Ihre Größe ist %2. Eine Seite muss größer als null sein und darf je Kante höchstens 200 Zoll (14400 Punkt) messen.</translation>
    </message>
    <message>
        <source>You are not allowed to read &quot;%1&quot;. Ask the owner of the file for access, or copy it somewhere you can read it.</source>
        <translation>Sie dürfen &quot;%1&quot; nicht lesen. Bitten Sie den Eigentümer der Datei um Zugriff oder kopieren Sie sie an einen Ort, an dem Sie sie lesen können.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; no longer exists. It may have been moved, renamed or deleted.</source>
        <translation>&quot;%1&quot; existiert nicht mehr. Die Datei wurde möglicherweise verschoben, umbenannt oder gelöscht.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; does not exist. Check the file&apos;s name and folder.</source>
        <translation>&quot;%1&quot; existiert nicht. Prüfen Sie den Namen und den Ordner der Datei.</translation>
    </message>
    <message>
        <source>The temporary folder &quot;%1&quot; is full or cannot be written. Free some space there, or set TMPDIR to another folder, and try again.</source>
        <translation>Der temporäre Ordner &quot;%1&quot; ist voll oder nicht beschreibbar. Geben Sie dort Speicherplatz frei oder setzen Sie TMPDIR auf einen anderen Ordner, und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The temporary folder &quot;%1&quot; does not exist. Create it, or set TMPDIR to a folder that exists, and try again.</source>
        <translation>Der temporäre Ordner &quot;%1&quot; existiert nicht. Legen Sie ihn an oder setzen Sie TMPDIR auf einen vorhandenen Ordner, und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The images cannot be written to &quot;%1&quot;. Choose a folder you are allowed to write to.</source>
        <translation>Die Bilder können nicht in &quot;%1&quot; geschrieben werden. Wählen Sie einen Ordner, in den Sie schreiben dürfen.</translation>
    </message>
    <message>
        <source>The disk holding &quot;%1&quot; is full. Free some space, or choose another folder, and try again.</source>
        <translation>Der Datenträger mit &quot;%1&quot; ist voll. Geben Sie Speicherplatz frei oder wählen Sie einen anderen Ordner, und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The page is too large to convert at this resolution. Choose a lower resolution.</source>
        <translation>Die Seite ist zu groß, um sie in dieser Auflösung zu konvertieren. Wählen Sie eine niedrigere Auflösung.</translation>
    </message>
    <message>
        <source>The page could not be converted.</source>
        <translation>Die Seite konnte nicht konvertiert werden.</translation>
    </message>
    <message>
        <source>None of the pages asked for is in &quot;%1&quot;.</source>
        <translation>Keine der verlangten Seiten ist in &quot;%1&quot; enthalten.</translation>
    </message>
    <message>
        <source>Page %1 did not finish in the time allowed for a page, so the conversion stopped there.</source>
        <translation>Seite %1 wurde nicht in der für eine Seite erlaubten Zeit fertig, daher wurde die Konvertierung dort abgebrochen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a link or a special file, not a regular file, so it is not replaced. Choose another name.</source>
        <translation>&quot;%1&quot; ist ein Link oder eine Spezialdatei, keine reguläre Datei, und wird daher nicht ersetzt. Wählen Sie einen anderen Namen.</translation>
    </message>
    <message>
        <source>You are not allowed to replace &quot;%1&quot;. Choose another name, or a file you may change.</source>
        <translation>Sie dürfen &quot;%1&quot; nicht ersetzen. Wählen Sie einen anderen Namen oder eine Datei, die Sie ändern dürfen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is being written by another conversion right now. Wait until it ends, or choose another name.</source>
        <translation>&quot;%1&quot; wird gerade von einer anderen Konvertierung geschrieben. Warten Sie, bis sie beendet ist, oder wählen Sie einen anderen Namen.</translation>
    </message>
</context>
<context>
    <name>ProcessResult</name>
    <message>
        <source>the program could not be started</source>
        <translation>das Programm konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>the program crashed</source>
        <translation>das Programm ist abgestürzt</translation>
    </message>
    <message>
        <source>the program was stopped</source>
        <translation>das Programm wurde abgebrochen</translation>
    </message>
    <message>
        <source>the program ended with exit code %1</source>
        <translation>das Programm endete mit dem Exit-Code %1</translation>
    </message>
</context>
<context>
    <name>ProgressDialog</name>
    <message>
        <source>Converting</source>
        <translation>Konvertieren</translation>
    </message>
    <message>
        <source>Document %1 of %2, %3</source>
        <translation>Dokument %1 von %2, %3</translation>
    </message>
    <message>
        <source>%1: opening...</source>
        <translation>%1: wird geöffnet...</translation>
    </message>
    <message>
        <source>%1: page %2 of %3...</source>
        <translation>%1: Seite %2 von %3...</translation>
    </message>
    <message>
        <source>Processing page %1...</source>
        <translation>Seite %1 wird verarbeitet...</translation>
    </message>
    <message>
        <source>Processing page %1 of %2...</source>
        <translation>Seite %1 von %2 wird verarbeitet...</translation>
    </message>
    <message>
        <source>Processing page %1 (%2 of %3)...</source>
        <translation>Seite %1 wird verarbeitet (%2 von %3)...</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel the operation?</source>
        <translation>Sind Sie sicher, dass Sie den Vorgang abbrechen möchten?</translation>
    </message>
</context>
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation>Zeigt Hilfe einschließlich Qt-spezifischer Optionen an.</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Zeigt Hilfe zu den Kommandozeilenoptionen an.</translation>
    </message>
</context>
<context>
    <name>RunReport</name>
    <message>
        <source>The page is blank: every pixel is the same colour.</source>
        <translation>Die Seite ist leer: Jedes Pixel hat dieselbe Farbe.</translation>
    </message>
    <message>
        <source>Pages asked for lie past the end of the document.</source>
        <translation>Verlangte Seiten liegen hinter dem Ende des Dokuments.</translation>
    </message>
</context>
<context>
    <name>RunWarning</name>
    <message>
        <source>The document is damaged: Ghostscript repaired it to read it, so some pages may be incomplete.</source>
        <translation>Das Dokument ist beschädigt: Ghostscript hat es zum Lesen repariert, daher können einige Seiten unvollständig sein.</translation>
    </message>
    <message>
        <source>The font &quot;%1&quot; is neither in the document nor on this computer; %2 was drawn in its place.</source>
        <translation>Die Schrift &quot;%1&quot; ist weder im Dokument noch auf diesem Computer vorhanden; an ihrer Stelle wurde %2 gezeichnet.</translation>
    </message>
    <message numerus="yes">
        <source>Drawn with a substitute font: %1.</source>
        <translation>
            <numerusform>Mit einer Ersatzschrift gezeichnet: %1.</numerusform>
            <numerusform>Mit Ersatzschriften gezeichnet: %1.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StandardInput</name>
    <message>
        <source>Password for %1: </source>
        <translation>Passwort für %1: </translation>
    </message>
    <message>
        <source>The password on standard input is longer than %1 bytes; it is not used.</source>
        <translation>Das Passwort auf der Standardeingabe ist länger als %1 Bytes; es wird nicht verwendet.</translation>
    </message>
    <message>
        <source>Standard input could not be read: %1</source>
        <translation>Die Standardeingabe konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>Standard input could not be kept in the temporary folder: %1</source>
        <translation>Die Standardeingabe konnte nicht im temporären Ordner abgelegt werden: %1</translation>
    </message>
</context>
<context>
    <name>SystemCheck</name>
    <message>
        <source>Ghostscript</source>
        <translation>Ghostscript</translation>
    </message>
    <message>
        <source>not found. %1</source>
        <translation>nicht gefunden. %1</translation>
    </message>
    <message>
        <source>%1 does not run (%2). Install it again: sudo apt install --reinstall ghostscript</source>
        <translation>%1 läuft nicht (%2). Installieren Sie es neu: sudo apt install --reinstall ghostscript</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Fonts</source>
        <translation>Schriften</translation>
    </message>
    <message>
        <source>the URW fonts, for documents that do not embed theirs</source>
        <translation>die URW-Schriften, für Dokumente, die ihre eigenen nicht einbetten</translation>
    </message>
    <message>
        <source>the URW fonts were not found: text without embedded fonts cannot be drawn. Install them: sudo apt install fonts-urw-base35</source>
        <translation>die URW-Schriften wurden nicht gefunden: Text ohne eingebettete Schriften kann nicht gezeichnet werden. Installieren Sie sie: sudo apt install fonts-urw-base35</translation>
    </message>
    <message>
        <source>Asian fonts</source>
        <translation>Asiatische Schriften</translation>
    </message>
    <message>
        <source>the fallback font, for Asian text without embedded fonts</source>
        <translation>die Ersatzschrift, für asiatischen Text ohne eingebettete Schriften</translation>
    </message>
    <message>
        <source>no fallback font: Asian text without embedded fonts is left out. Install it: sudo apt install fonts-droid-fallback</source>
        <translation>keine Ersatzschrift: Asiatischer Text ohne eingebettete Schriften wird weggelassen. Installieren Sie sie: sudo apt install fonts-droid-fallback</translation>
    </message>
    <message>
        <source>Image library</source>
        <translation>Bildbibliothek</translation>
    </message>
    <message>
        <source>%1; memory %2, disk %3, images up to %4 pixels a side and %5 megapixels</source>
        <translation>%1; Arbeitsspeicher %2, Festplatte %3, Bilder bis %4 Pixel je Kante und %5 Megapixel</translation>
    </message>
    <message>
        <source>Temporary folder</source>
        <translation>Temporärer Ordner</translation>
    </message>
    <message>
        <source>%1 Set TMPDIR to a folder you can write to.</source>
        <translation>%1 Setzen Sie TMPDIR auf einen Ordner, in den Sie schreiben können.</translation>
    </message>
    <message>
        <source>%1 has only %2 free: large pages need more. Free some space, or set TMPDIR to a folder with more room.</source>
        <translation>%1 hat nur %2 frei: Große Seiten brauchen mehr. Geben Sie Speicherplatz frei oder setzen Sie TMPDIR auf einen Ordner mit mehr Platz.</translation>
    </message>
    <message>
        <source>%1, %2 free</source>
        <translation>%1, %2 frei</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Anzeige</translation>
    </message>
    <message>
        <source>the window can be shown</source>
        <translation>das Fenster kann angezeigt werden</translation>
    </message>
    <message>
        <source>none found: the window needs a graphical session; --convert works without one</source>
        <translation>keine gefunden: Das Fenster braucht eine grafische Sitzung; --convert funktioniert ohne</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>&quot;%1&quot; cannot be opened: its name is not valid UTF-8. Rename it, for example with convmv, and try again.</source>
        <translation>&quot;%1&quot; kann nicht geöffnet werden: Der Name ist kein gültiges UTF-8. Benennen Sie die Datei um, zum Beispiel mit convmv, und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>the window needs a graphical session (no display was found).
To convert without a window, use: sheetforge --convert DEST FILE.pdf</source>
        <translation>das Fenster braucht eine grafische Sitzung (es wurde keine Anzeige gefunden).
Um ohne Fenster zu konvertieren, verwenden Sie: sheetforge --convert DEST FILE.pdf</translation>
    </message>
</context>
</TS>
