<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>BatchRun</name>
    <message numerus="yes">
        <source>Convert %n document(s) with the current options, each into files of its own name in one folder?</source>
        <translation>
            <numerusform>Convert %n document with the current options, into files of its own name in one folder?</numerusform>
            <numerusform>Convert %n documents with the current options, each into files of its own name in one folder?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1: %n page(s) could not be converted; page %2: %3</source>
        <translation>
            <numerusform>%1: %n page could not be converted; page %2: %3</numerusform>
            <numerusform>%1: %n pages could not be converted; page %2: %3</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n document(s) could not be converted, or not completely:</source>
        <translation>
            <numerusform>%n document could not be converted, or not completely:</numerusform>
            <numerusform>%n documents could not be converted, or not completely:</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CommandLineConversion</name>
    <message numerus="yes">
        <source>&quot;%1&quot; has only %n page(s); none of the pages asked for exists.</source>
        <translation>
            <numerusform>&quot;%1&quot; has only %n page; none of the pages asked for exists.</numerusform>
            <numerusform>&quot;%1&quot; has only %n pages; none of the pages asked for exists.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Page %1 does not exist: the document has only %n page(s).</source>
        <translation>
            <numerusform>Page %1 does not exist: the document has only %n page.</numerusform>
            <numerusform>Page %1 does not exist: the document has only %n pages.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Pages %1 to %2 do not exist: the document has only %n page(s).</source>
        <translation>
            <numerusform>Pages %1 to %2 do not exist: the document has only %n page.</numerusform>
            <numerusform>Pages %1 to %2 do not exist: the document has only %n pages.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Stopped; %n page(s) written.</source>
        <translation>
            <numerusform>Stopped; %n page written.</numerusform>
            <numerusform>Stopped; %n pages written.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n page(s) written.</source>
        <translation>
            <numerusform>%n page written.</numerusform>
            <numerusform>%n pages written.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Pages %1 do not exist: the document has only %n page(s).</source>
        <translation>
            <numerusform>Pages %1 do not exist: the document has only %n page.</numerusform>
            <numerusform>Pages %1 do not exist: the document has only %n pages.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n page(s) written in all.</source>
        <translation>
            <numerusform>%n page written in all.</numerusform>
            <numerusform>%n pages written in all.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>--convert -: standard output takes one image, and %n pages were asked for: give one page with --pages, or --format tif for all of them in one file.</source>
        <translation>
            <numerusform>--convert -: standard output takes one image, and %n pages were asked for: give one page with --pages, or --format tif for all of them in one file.</numerusform>
            <numerusform>--convert -: standard output takes one image, and %n pages were asked for: give one page with --pages, or --format tif for all of them in one file.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FailureSummary</name>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n page(s) could not be converted:</source>
        <translation>
            <numerusform>%n page could not be converted:</numerusform>
            <numerusform>%n pages could not be converted:</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message numerus="yes">
        <source>%n file(s) already exist. Replace them?</source>
        <translation>
            <numerusform>%n file already exists. Replace it?</numerusform>
            <numerusform>%n files already exist. Replace them?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n image(s) written to %1.</source>
        <translation>
            <numerusform>%n image written to %1.</numerusform>
            <numerusform>%n images written to %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Cancelled after %1 of %2 pages; %n image(s) written to %3.</source>
        <translation>
            <numerusform>Cancelled after %1 of %2 pages; %n image written to %3.</numerusform>
            <numerusform>Cancelled after %1 of %2 pages; %n images written to %3.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Cancelled at document %1 of %2; %n image(s) written to %3.</source>
        <translation>
            <numerusform>Cancelled at document %1 of %2; %n image written to %3.</numerusform>
            <numerusform>Cancelled at document %1 of %2; %n images written to %3.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PreviewRenderer</name>
    <message numerus="yes">
        <source>Page %1 took longer than %n second(s) to draw, so its preview was stopped.</source>
        <translation>
            <numerusform>Page %1 took longer than %n second to draw, so its preview was stopped.</numerusform>
            <numerusform>Page %1 took longer than %n seconds to draw, so its preview was stopped.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RunWarning</name>
    <message numerus="yes">
        <source>Drawn with a substitute font: %1.</source>
        <translation>
            <numerusform>Drawn with a substitute font: %1.</numerusform>
            <numerusform>Drawn with substitute fonts: %1.</numerusform>
        </translation>
    </message>
</context>
</TS>
