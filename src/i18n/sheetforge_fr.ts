<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About sheetforge</source>
        <translation>À propos de sheetforge</translation>
    </message>
    <message>
        <source>sheetforge</source>
        <translation>sheetforge</translation>
    </message>
    <message>
        <source>the sheetforge developers, 2026</source>
        <translation>les développeurs de sheetforge, 2026</translation>
    </message>
    <message>
        <source>Do you like it? Donate something! Even 1€ is fine!</source>
        <translation>Vous l&apos;appréciez ? Faites un don ! Même 1 € suffit !</translation>
    </message>
</context>
<context>
    <name>BatchRun</name>
    <message numerus="yes">
        <source>%1: %n page(s) could not be converted; page %2: %3</source>
        <translation>
            <numerusform>%1 : %n page n&apos;a pas pu être convertie ; page %2 : %3</numerusform>
            <numerusform>%1 : %n pages n&apos;ont pas pu être converties ; page %2 : %3</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Convert %n document(s) with the current options, each into files of its own name in one folder?</source>
        <translation>
            <numerusform>Convertir %n document avec les options actuelles, en fichiers portant son nom, dans un même dossier ?</numerusform>
            <numerusform>Convertir %n documents avec les options actuelles, chacun en fichiers portant son propre nom, dans un même dossier ?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n document(s) could not be converted, or not completely:</source>
        <translation>
            <numerusform>%n document n&apos;a pas pu être converti, ou pas entièrement :</numerusform>
            <numerusform>%n documents n&apos;ont pas pu être convertis, ou pas entièrement :</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>%1 or %2</source>
        <translation>%1 ou %2</translation>
    </message>
    <message>
        <source>--convert needs the PDF file to convert.</source>
        <translation>--convert a besoin du fichier PDF à convertir.</translation>
    </message>
    <message>
        <source>--convert -: standard output takes the image of one document.</source>
        <translation>--convert - : la sortie standard ne reçoit l&apos;image que d&apos;un seul document.</translation>
    </message>
    <message>
        <source>--convert %1: several documents go into a folder: give an existing folder, or a name ending in /.</source>
        <translation>--convert %1 : plusieurs documents vont dans un dossier : indiquez un dossier existant, ou un nom terminé par /.</translation>
    </message>
    <message>
        <source>--convert %1: sheetforge writes %2 files. Give one of those extensions, or --format to add one.</source>
        <translation>--convert %1 : sheetforge écrit des fichiers %2. Indiquez l&apos;une de ces extensions, ou --format pour en ajouter une.</translation>
    </message>
    <message>
        <source>--%1 wants a whole number of pixels from 1 to %2.</source>
        <translation>--%1 attend un nombre entier de pixels de 1 à %2.</translation>
    </message>
    <message>
        <source>Convert only these pages: a list such as 1,3,5-7,10- (10- runs to the end); odd and even take every other page.</source>
        <translation>Convertir uniquement ces pages : une liste comme 1,3,5-7,10- (10- va jusqu&apos;à la fin) ; odd (impaires) et even (paires) prennent une page sur deux.</translation>
    </message>
    <message>
        <source>Resolution in dots per inch (%1 to %2).</source>
        <translation>Résolution en points par pouce (%1 à %2).</translation>
    </message>
    <message>
        <source>--dpi wants a whole number from %1 to %2.</source>
        <translation>--dpi attend un nombre entier de %1 à %2.</translation>
    </message>
    <message>
        <source>--dpi and --width or --height cannot be combined: give a resolution, or a size in pixels.</source>
        <translation>--dpi ne peut pas être combiné avec --width ou --height : indiquez une résolution, ou une taille en pixels.</translation>
    </message>
    <message>
        <source>Instead of a resolution: make each page N pixels wide, or fit it within --width by --height.</source>
        <translation>Au lieu d&apos;une résolution : donner à chaque page N pixels de large, ou la faire tenir dans --width sur --height.</translation>
    </message>
    <message>
        <source>Instead of a resolution: make each page N pixels high, or fit it within --width by --height.</source>
        <translation>Au lieu d&apos;une résolution : donner à chaque page N pixels de haut, ou la faire tenir dans --width sur --height.</translation>
    </message>
    <message>
        <source>Stop when a page takes longer than SECONDS to render (default %1; 0 for no limit).</source>
        <translation>Arrêter quand le rendu d&apos;une page prend plus de SECONDS secondes (%1 par défaut ; 0 pour aucune limite).</translation>
    </message>
    <message>
        <source>--page-timeout wants a whole number of seconds, or 0 for no limit.</source>
        <translation>--page-timeout attend un nombre entier de secondes, ou 0 pour aucune limite.</translation>
    </message>
    <message>
        <source>--%1 wants %2.</source>
        <translation>--%1 attend %2.</translation>
    </message>
    <message>
        <source>The page&apos;s box that is the image: %1 (a page without it shows its media box).</source>
        <translation>La zone de la page qui devient l&apos;image : %1 (une page qui n&apos;a pas cette zone montre sa zone de support).</translation>
    </message>
    <message>
        <source>Mix overprinted inks as print does: %1 (auto: for documents made for print, with a PDF/X output intent).</source>
        <translation>Mélanger les encres en surimpression comme à l&apos;impression : %1 (auto : pour les documents destinés à l&apos;impression, avec un mode de sortie PDF/X).</translation>
    </message>
    <message>
        <source>Leave out %1, a list such as text,images (for OCR or a page&apos;s background); none draws everything.</source>
        <translation>Omettre %1, une liste comme text,images (pour l&apos;OCR ou le fond d&apos;une page) ; none dessine tout.</translation>
    </message>
    <message>
        <source>--without wants a list of %1, or none.</source>
        <translation>--without attend une liste de %1, ou none.</translation>
    </message>
    <message>
        <source>Draw the annotations (notes, stamps, highlights).</source>
        <translation>Dessiner les annotations (notes, tampons, surlignages).</translation>
    </message>
    <message>
        <source>Leave the annotations out.</source>
        <translation>Omettre les annotations.</translation>
    </message>
    <message>
        <source>Draw the form fields.</source>
        <translation>Dessiner les champs de formulaire.</translation>
    </message>
    <message>
        <source>Leave the form fields out.</source>
        <translation>Omettre les champs de formulaire.</translation>
    </message>
    <message>
        <source>Draw the page as printed: annotations marked not to print are left out.</source>
        <translation>Dessiner la page telle qu&apos;imprimée : les annotations marquées comme non imprimables sont omises.</translation>
    </message>
    <message>
        <source>Draw the page as a viewer shows it.</source>
        <translation>Dessiner la page telle qu&apos;une visionneuse l&apos;affiche.</translation>
    </message>
    <message>
        <source>Colour depth: %1.</source>
        <translation>Profondeur de couleur : %1.</translation>
    </message>
    <message>
        <source>--colors wants %1.</source>
        <translation>--colors attend %1.</translation>
    </message>
    <message>
        <source>Image format when DEST has no such extension: %1 (tif: all pages in one file).</source>
        <translation>Format d&apos;image quand DEST n&apos;a aucune de ces extensions : %1 (tif : toutes les pages dans un seul fichier).</translation>
    </message>
    <message>
        <source>--format wants %1.</source>
        <translation>--format attend %1.</translation>
    </message>
    <message>
        <source>JPEG quality, 0 to 100 (higher is better); also for WebP in hicolor.</source>
        <translation>Qualité JPEG, de 0 à 100 (plus elle est élevée, meilleure est l&apos;image) ; vaut aussi pour WebP en hicolor.</translation>
    </message>
    <message>
        <source>--quality wants a whole number from 0 to 100.</source>
        <translation>--quality attend un nombre entier de 0 à 100.</translation>
    </message>
    <message>
        <source>Dither when reducing the colours.</source>
        <translation>Appliquer un tramage lors de la réduction des couleurs.</translation>
    </message>
    <message>
        <source>Do not dither.</source>
        <translation>Ne pas appliquer de tramage.</translation>
    </message>
    <message>
        <source>Trim the blank edges.</source>
        <translation>Rogner les bords vides.</translation>
    </message>
    <message>
        <source>Keep the whole page.</source>
        <translation>Garder la page entière.</translation>
    </message>
    <message>
        <source>Smooth the edges of text and images.</source>
        <translation>Lisser les bords du texte et des images.</translation>
    </message>
    <message>
        <source>Do not smooth edges.</source>
        <translation>Ne pas lisser les bords.</translation>
    </message>
    <message>
        <source>Embed the sRGB colour profile in colour images.</source>
        <translation>Incorporer le profil colorimétrique sRGB aux images en couleur.</translation>
    </message>
    <message>
        <source>No colour profile: smaller files, read as sRGB all the same.</source>
        <translation>Pas de profil colorimétrique : fichiers plus petits, lus en sRGB tout de même.</translation>
    </message>
    <message>
        <source>Leave the paper out: a transparent background (not for JPEG).</source>
        <translation>Omettre le papier : un fond transparent (pas pour JPEG).</translation>
    </message>
    <message>
        <source>A white background.</source>
        <translation>Un fond blanc.</translation>
    </message>
    <message>
        <source>--transparent: %1 files cannot be transparent; choose %2.</source>
        <translation>--transparent : les fichiers %1 ne peuvent pas être transparents ; choisissez %2.</translation>
    </message>
    <message>
        <source>Convert without a window, writing DEST (numbered DEST001.png, ... for several pages). For several documents DEST is a folder, ending in /. - writes one image (one page, or a multi-page TIFF) to standard output.</source>
        <translation>Convertir sans fenêtre, en écrivant DEST (numéroté DEST001.png, ... pour plusieurs pages). Pour plusieurs documents, DEST est un dossier, terminé par /. - écrit une seule image (une page, ou un TIFF multipage) sur la sortie standard.</translation>
    </message>
    <message>
        <source>Tell each event of the run as a line of JSON on standard output (or in --report-file): json.</source>
        <translation>Signaler chaque événement de l&apos;exécution par une ligne JSON sur la sortie standard (ou dans --report-file) : json.</translation>
    </message>
    <message>
        <source>--report wants json.</source>
        <translation>--report attend json.</translation>
    </message>
    <message>
        <source>Write the JSON report to PATH rather than standard output.</source>
        <translation>Écrire le rapport JSON dans PATH plutôt que sur la sortie standard.</translation>
    </message>
    <message>
        <source>Check that everything a conversion needs is installed, and say what to install or set where it is not.</source>
        <translation>Vérifier que tout ce dont une conversion a besoin est installé, et sinon dire quoi installer ou régler.</translation>
    </message>
    <message>
        <source>Read the document&apos;s password from the first line of standard input.</source>
        <translation>Lire le mot de passe du document sur la première ligne de l&apos;entrée standard.</translation>
    </message>
    <message>
        <source>Start from the first-start defaults rather than the window&apos;s last options, so that what was last clicked does not change the files.</source>
        <translation>Partir des valeurs par défaut du premier démarrage plutôt que des dernières options de la fenêtre, pour que les derniers clics ne changent pas les fichiers.</translation>
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
Les options omises viennent du dernier usage de la fenêtre ; --defaults part
plutôt des valeurs d&apos;origine. Une conversion affiche les options en vigueur.

Exemples :
  sheetforge --convert out/scan.png manual.pdf
      chaque page de manual.pdf : out/scan001.png, out/scan002.png, ...
  sheetforge --convert thumbs/ --defaults --width 200 *.pdf
      pages de chaque document en vignettes de 200 pixels de large dans thumbs/

Codes de sortie :
</translation>
    </message>
    <message>
        <source>See sheetforge --help.</source>
        <translation>Consultez sheetforge --help.</translation>
    </message>
    <message>
        <source>Unknown option %1: a long option takes two dashes, as in --%2. %3</source>
        <translation>Option inconnue %1 : une option longue prend deux tirets, comme dans --%2. %3</translation>
    </message>
    <message>
        <source>Unknown option %1. %2</source>
        <translation>Option inconnue %1. %2</translation>
    </message>
    <message>
        <source>Unknown option %1. Did you mean --%2? %3</source>
        <translation>Option inconnue %1. Vouliez-vous dire --%2 ? %3</translation>
    </message>
    <message>
        <source>Turns the pages of a PDF into PNG, GIF, JPEG, TIFF or WebP images.</source>
        <translation>Transforme les pages d&apos;un PDF en images PNG, GIF, JPEG, TIFF ou WebP.</translation>
    </message>
    <message>
        <source>The PDF documents: one opens in the window, several are offered for converting. - reads one from standard input.</source>
        <translation>Les documents PDF : un seul s&apos;ouvre dans la fenêtre, plusieurs sont proposés pour la conversion. - en lit un sur l&apos;entrée standard.</translation>
    </message>
    <message>
        <source>every page was written; --check found nothing to fix</source>
        <translation>toutes les pages ont été écrites ; --check n&apos;a rien trouvé à corriger</translation>
    </message>
    <message>
        <source>something failed or was stopped; --check found something to fix</source>
        <translation>une opération a échoué ou a été arrêtée ; --check a trouvé quelque chose à corriger</translation>
    </message>
    <message>
        <source>a mistake on the command line</source>
        <translation>une erreur dans la ligne de commande</translation>
    </message>
    <message>
        <source>the signal N ended the run: SIGTERM, SIGINT or SIGHUP</source>
        <translation>le signal N a mis fin à l&apos;exécution : SIGTERM, SIGINT ou SIGHUP</translation>
    </message>
    <message>
        <source>Unknown option %1. For a file whose name starts with a dash, write ./%1, or put -- before it.</source>
        <translation>Option inconnue %1. Pour un fichier dont le nom commence par un tiret, écrivez ./%1, ou placez -- devant.</translation>
    </message>
    <message>
        <source>--%1 goes with --convert.</source>
        <translation>--%1 s&apos;utilise avec --convert.</translation>
    </message>
    <message>
        <source>Standard input (-) can be read only once.</source>
        <translation>L&apos;entrée standard (-) ne peut être lue qu&apos;une seule fois.</translation>
    </message>
    <message>
        <source>--password-stdin cannot be used when the document itself comes from standard input.</source>
        <translation>--password-stdin ne peut pas être utilisé quand le document lui-même vient de l&apos;entrée standard.</translation>
    </message>
    <message>
        <source>--convert - gives standard output to the image: give the report a file with --report-file.</source>
        <translation>--convert - réserve la sortie standard à l&apos;image : donnez un fichier au rapport avec --report-file.</translation>
    </message>
    <message>
        <source>--colors cmyk: %1 files cannot hold CMYK; choose jpg or tif, or another depth.</source>
        <translation>--colors cmyk : les fichiers %1 ne peuvent pas contenir de CMJN ; choisissez jpg ou tif, ou une autre profondeur.</translation>
    </message>
</context>
<context>
    <name>CommandLineConversion</name>
    <message>
        <source>Processing page %1...</source>
        <translation>Traitement de la page %1...</translation>
    </message>
    <message>
        <source>Wrote %1</source>
        <translation>Fichier écrit : %1</translation>
    </message>
    <message numerus="yes">
        <source>--convert -: standard output takes one image, and %n pages were asked for: give one page with --pages, or --format tif for all of them in one file.</source>
        <translation>
            <numerusform>--convert - : la sortie standard ne reçoit qu&apos;une image, et %n page a été demandée : indiquez une seule page avec --pages, ou --format tif pour les avoir toutes dans un fichier.</numerusform>
            <numerusform>--convert - : la sortie standard ne reçoit qu&apos;une image, et %n pages ont été demandées : indiquez une seule page avec --pages, ou --format tif pour les avoir toutes dans un fichier.</numerusform>
        </translation>
    </message>
    <message>
        <source>Converting %1</source>
        <translation>Conversion de %1</translation>
    </message>
    <message>
        <source>--convert -: standard output is a terminal. Send the image to a file or a program: &gt; page.png, or | another program.</source>
        <translation>--convert - : la sortie standard est un terminal. Envoyez l&apos;image vers un fichier ou un programme : &gt; page.png, ou | un autre programme.</translation>
    </message>
    <message>
        <source>-: the document is read from standard input, which is a terminal. Send it in: &lt; a.pdf, or cat a.pdf |.</source>
        <translation>- : le document est lu sur l&apos;entrée standard, qui est un terminal. Envoyez-le : &lt; a.pdf, ou cat a.pdf |.</translation>
    </message>
    <message>
        <source>Options (the defaults and the flags given): %1</source>
        <translation>Options (valeurs par défaut et options indiquées) : %1</translation>
    </message>
    <message>
        <source>Options (the window&apos;s last and the flags given): %1</source>
        <translation>Options (dernières options de la fenêtre et options indiquées) : %1</translation>
    </message>
    <message>
        <source>Page %1: %2</source>
        <translation>Page %1 : %2</translation>
    </message>
    <message numerus="yes">
        <source>%n page(s) written.</source>
        <translation>
            <numerusform>%n page écrite.</numerusform>
            <numerusform>%n pages écrites.</numerusform>
        </translation>
    </message>
    <message>
        <source>The report could not be written in full.</source>
        <translation>Le rapport n&apos;a pas pu être écrit en entier.</translation>
    </message>
    <message numerus="yes">
        <source>Stopped; %n page(s) written.</source>
        <translation>
            <numerusform>Arrêté ; %n page écrite.</numerusform>
            <numerusform>Arrêté ; %n pages écrites.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n page(s) written in all.</source>
        <translation>
            <numerusform>%n page écrite au total.</numerusform>
            <numerusform>%n pages écrites au total.</numerusform>
        </translation>
    </message>
    <message>
        <source>Standard output could not take the image.</source>
        <translation>La sortie standard n&apos;a pas pu recevoir l&apos;image.</translation>
    </message>
    <message>
        <source>Standard output could not take the image: %1</source>
        <translation>La sortie standard n&apos;a pas pu recevoir l&apos;image : %1</translation>
    </message>
    <message>
        <source>The report cannot be written to %1: %2</source>
        <translation>Le rapport ne peut pas être écrit dans %1 : %2</translation>
    </message>
    <message numerus="yes">
        <source>Pages %1 do not exist: the document has only %n page(s).</source>
        <translation>
            <numerusform>Les pages %1 n&apos;existent pas : le document n&apos;a que %n page.</numerusform>
            <numerusform>Les pages %1 n&apos;existent pas : le document n&apos;a que %n pages.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Page %1 does not exist: the document has only %n page(s).</source>
        <translation>
            <numerusform>La page %1 n&apos;existe pas : le document n&apos;a que %n page.</numerusform>
            <numerusform>La page %1 n&apos;existe pas : le document n&apos;a que %n pages.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Pages %1 to %2 do not exist: the document has only %n page(s).</source>
        <translation>
            <numerusform>Les pages %1 à %2 n&apos;existent pas : le document n&apos;a que %n page.</numerusform>
            <numerusform>Les pages %1 à %2 n&apos;existent pas : le document n&apos;a que %n pages.</numerusform>
        </translation>
    </message>
    <message>
        <source>Give it on standard input with --password-stdin.</source>
        <translation>Fournissez-le sur l&apos;entrée standard avec --password-stdin.</translation>
    </message>
    <message numerus="yes">
        <source>&quot;%1&quot; has only %n page(s); none of the pages asked for exists.</source>
        <translation>
            <numerusform>&quot;%1&quot; n&apos;a que %n page ; aucune des pages demandées n&apos;existe.</numerusform>
            <numerusform>&quot;%1&quot; n&apos;a que %n pages ; aucune des pages demandées n&apos;existe.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ConversionEngine</name>
    <message>
        <source>Page %1: %2</source>
        <translation>Page %1 : %2</translation>
    </message>
</context>
<context>
    <name>ConversionJob</name>
    <message>
        <source>Pages cannot be made %1 x %2 pixels: it would take %3 dpi, and the most is %4 dpi.</source>
        <translation>Les pages ne peuvent pas faire %1 x %2 pixels : il faudrait %3 ppp, et le maximum est de %4 ppp.</translation>
    </message>
    <message>
        <source>The page is too large to convert at %1 dpi: at %2 x %3 pixels it needs %4 in the temporary folder &quot;%5&quot;, and %6 can be used there.</source>
        <translation>La page est trop grande pour être convertie à %1 ppp : à %2 x %3 pixels, il lui faut %4 dans le dossier temporaire &quot;%5&quot;, et %6 peuvent y être utilisés.</translation>
    </message>
    <message>
        <source>The page is too large to convert at %1 dpi: it would be %2 x %3 pixels.</source>
        <translation>La page est trop grande pour être convertie à %1 ppp : elle ferait %2 x %3 pixels.</translation>
    </message>
    <message>
        <source>At most %1 dpi fits.</source>
        <translation>Résolution maximale possible : %1 ppp.</translation>
    </message>
    <message>
        <source>No resolution fits.</source>
        <translation>Aucune résolution ne convient.</translation>
    </message>
</context>
<context>
    <name>DestinationFile</name>
    <message>
        <source>The folder &quot;%1&quot; cannot be made: %2</source>
        <translation>Le dossier &quot;%1&quot; ne peut pas être créé : %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a file, not a folder. Choose another name.</source>
        <translation>&quot;%1&quot; est un fichier, pas un dossier. Choisissez un autre nom.</translation>
    </message>
    <message>
        <source>you are not allowed to write to &quot;%1&quot;. Choose a folder you are allowed to write to.</source>
        <translation>vous n&apos;avez pas le droit d&apos;écrire dans &quot;%1&quot;. Choisissez un dossier où vous avez le droit d&apos;écrire.</translation>
    </message>
</context>
<context>
    <name>FailureSummary</name>
    <message>
        <source>Page %1: %2</source>
        <translation>Page %1 : %2</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>et %n autre</numerusform>
            <numerusform>et %n autres</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n page(s) could not be converted:</source>
        <translation>
            <numerusform>%n page n&apos;a pas pu être convertie :</numerusform>
            <numerusform>%n pages n&apos;ont pas pu être converties :</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FileDialog</name>
    <message>
        <source>Open PDF document</source>
        <translation>Ouvrir un document PDF</translation>
    </message>
    <message>
        <source>PDF documents (*.[pP][dD][fF])</source>
        <translation>Documents PDF (*.[pP][dD][fF])</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Select destination folder</source>
        <translation>Choisir le dossier de destination</translation>
    </message>
    <message>
        <source>Select destination file...</source>
        <translation>Choisir le fichier de destination...</translation>
    </message>
    <message>
        <source>image files (*.%1)</source>
        <translation>Fichiers image (*.%1)</translation>
    </message>
</context>
<context>
    <name>ImageObject</name>
    <message>
        <source>the PNG could not be compressed</source>
        <translation>le PNG n&apos;a pas pu être compressé</translation>
    </message>
    <message>
        <source>the image library made no image</source>
        <translation>la bibliothèque d&apos;images n&apos;a produit aucune image</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message numerus="yes">
        <source>%n file(s) already exist. Replace them?</source>
        <translation>
            <numerusform>%n fichier existe déjà. Le remplacer ?</numerusform>
            <numerusform>%n fichiers existent déjà. Les remplacer ?</numerusform>
        </translation>
    </message>
    <message>
        <source>Only PDF documents on this computer can be dropped here.</source>
        <translation>Seuls les documents PDF présents sur cet ordinateur peuvent être déposés ici.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a PDF document.</source>
        <translation>&quot;%1&quot; n&apos;est pas un document PDF.</translation>
    </message>
    <message numerus="yes">
        <source>Cancelled at document %1 of %2; %n image(s) written to %3.</source>
        <translation>
            <numerusform>Annulé au document %1 sur %2 ; %n image écrite dans %3.</numerusform>
            <numerusform>Annulé au document %1 sur %2 ; %n images écrites dans %3.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n image(s) written to %1.</source>
        <translation>
            <numerusform>%n image écrite dans %1.</numerusform>
            <numerusform>%n images écrites dans %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Ouvrir...</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>Ouvrir un fichier &amp;récent</translation>
    </message>
    <message>
        <source>Convert &amp;Current Page...</source>
        <translation>Convertir la page &amp;actuelle...</translation>
    </message>
    <message>
        <source>Ctrl+E</source>
        <translation>Ctrl+E</translation>
    </message>
    <message>
        <source>Convert Page &amp;Range...</source>
        <translation>Convertir une &amp;plage de pages...</translation>
    </message>
    <message>
        <source>Ctrl+Shift+E</source>
        <translation>Ctrl+Shift+E</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>&amp;Fit to Frame</source>
        <translation>&amp;Ajuster à la fenêtre</translation>
    </message>
    <message>
        <source>Ctrl+0</source>
        <translation>Ctrl+0</translation>
    </message>
    <message>
        <source>&amp;Actual Pixels (100%)</source>
        <translation>&amp;Pixels réels (100 %)</translation>
    </message>
    <message>
        <source>Ctrl+1</source>
        <translation>Ctrl+1</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ai&amp;de</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>À &amp;propos...</translation>
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
        <translation>Ouvrir un document PDF (Ctrl+O)</translation>
    </message>
    <message>
        <source>Source File:</source>
        <translation>Fichier source :</translation>
    </message>
    <message>
        <source>Convert current page</source>
        <translation>Convertir la page actuelle</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Ouvrir le dossier</translation>
    </message>
    <message>
        <source>No application on this desktop opens folders.</source>
        <translation>Aucune application de ce bureau n&apos;ouvre les dossiers.</translation>
    </message>
    <message>
        <source>Try again and wait as long as it takes?</source>
        <translation>Réessayer et attendre le temps qu&apos;il faudra ?</translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation>%1 — %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged; Ghostscript repaired it to read it, so some pages may be incomplete.</source>
        <translation>&quot;%1&quot; est endommagé ; Ghostscript l&apos;a réparé pour le lire, certaines pages peuvent donc être incomplètes.</translation>
    </message>
    <message>
        <source>%1 shown</source>
        <translation>%1 affichée</translation>
    </message>
    <message>
        <source>Media box shown: this page has no %1.</source>
        <translation>Zone de support affichée : cette page n&apos;a pas de %1.</translation>
    </message>
    <message>
        <source>The document ends at page %1; the list asks for %2.</source>
        <translation>Le document se termine à la page %1 ; la liste demande %2.</translation>
    </message>
    <message>
        <source>JPEG files cannot be transparent; the background is white.</source>
        <translation>Les fichiers JPEG ne peuvent pas être transparents ; le fond est blanc.</translation>
    </message>
    <message>
        <source>Format %1, as the file name says.</source>
        <translation>Format %1, comme l&apos;indique le nom du fichier.</translation>
    </message>
    <message numerus="yes">
        <source>Cancelled after %1 of %2 pages; %n image(s) written to %3.</source>
        <translation>
            <numerusform>Annulé après %1 pages sur %2 ; %n image écrite dans %3.</numerusform>
            <numerusform>Annulé après %1 pages sur %2 ; %n images écrites dans %3.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>The password was not correct. Enter the password of &quot;%1&quot;:</source>
        <translation>Le mot de passe est incorrect. Saisissez le mot de passe de &quot;%1&quot; :</translation>
    </message>
    <message>
        <source>Enter the password of &quot;%1&quot;:</source>
        <translation>Saisissez le mot de passe de &quot;%1&quot; :</translation>
    </message>
    <message>
        <source>Password for %1</source>
        <translation>Mot de passe de %1</translation>
    </message>
</context>
<context>
    <name>MultiPageTiff</name>
    <message>
        <source>TIFF page: %1</source>
        <translation>Page TIFF : %1</translation>
    </message>
    <message>
        <source>tiled pages are not joined</source>
        <translation>les pages en tuiles ne sont pas assemblées</translation>
    </message>
    <message>
        <source>%1-bit samples in the other byte order</source>
        <translation>échantillons de %1 bits dans l&apos;autre ordre d&apos;octets</translation>
    </message>
    <message>
        <source>no strips</source>
        <translation>aucune bande</translation>
    </message>
    <message>
        <source>strip %1 out of bounds</source>
        <translation>bande %1 hors limites</translation>
    </message>
    <message>
        <source>more than one image</source>
        <translation>plus d&apos;une image</translation>
    </message>
</context>
<context>
    <name>OptionLists</name>
    <message>
        <source>Black and White (1bpp)</source>
        <translation>Noir et blanc (1bpp)</translation>
    </message>
    <message>
        <source>4 colors (2bpp)</source>
        <translation>4 couleurs (2bpp)</translation>
    </message>
    <message>
        <source>16 colors (4bpp)</source>
        <translation>16 couleurs (4bpp)</translation>
    </message>
    <message>
        <source>256 colors (8bpp)</source>
        <translation>256 couleurs (8bpp)</translation>
    </message>
    <message>
        <source>Hicolor (16bpp)</source>
        <translation>Hicolor (16bpp)</translation>
    </message>
    <message>
        <source>Grayscale (8bpp)</source>
        <translation>Niveaux de gris (8bpp)</translation>
    </message>
    <message>
        <source>16 grays (4bpp)</source>
        <translation>16 niveaux de gris (4bpp)</translation>
    </message>
    <message>
        <source>4 grays (2bpp)</source>
        <translation>4 niveaux de gris (2bpp)</translation>
    </message>
    <message>
        <source>CMYK (32bpp)</source>
        <translation>CMJN (32bpp)</translation>
    </message>
    <message>
        <source>Crop box</source>
        <translation>Zone de recadrage</translation>
    </message>
    <message>
        <source>Media box</source>
        <translation>Zone de support</translation>
    </message>
    <message>
        <source>Trim box</source>
        <translation>Zone de rognage</translation>
    </message>
    <message>
        <source>Bleed box</source>
        <translation>Zone de fond perdu</translation>
    </message>
    <message>
        <source>Art box</source>
        <translation>Zone graphique</translation>
    </message>
    <message>
        <source>For print documents</source>
        <translation>Pour documents d&apos;impression</translation>
    </message>
    <message>
        <source>Always</source>
        <translation>Toujours</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>Jamais</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Texte</translation>
    </message>
    <message>
        <source>Images</source>
        <translation>Images</translation>
    </message>
    <message>
        <source>Vector graphics</source>
        <translation>Dessins vectoriels</translation>
    </message>
</context>
<context>
    <name>OptionsPanel</name>
    <message>
        <source>Dither</source>
        <translation>Tramage</translation>
    </message>
    <message>
        <source>Antialias</source>
        <translation>Lissage</translation>
    </message>
    <message>
        <source>Quality:</source>
        <translation>Qualité :</translation>
    </message>
    <message>
        <source>Resolution (dpi):</source>
        <translation>Résolution (ppp) :</translation>
    </message>
    <message>
        <source>Fit within:</source>
        <translation>Adapter à :</translation>
    </message>
    <message>
        <source>Trim edges</source>
        <translation>Rogner les bords</translation>
    </message>
    <message>
        <source>Transparent background</source>
        <translation>Fond transparent</translation>
    </message>
    <message>
        <source>sRGB profile</source>
        <translation>Profil sRGB</translation>
    </message>
    <message>
        <source>Apply error diffusion when reducing the number of colors.</source>
        <translation>Appliquer une diffusion d&apos;erreur lors de la réduction du nombre de couleurs.</translation>
    </message>
    <message>
        <source>Smooth the edges of the fonts and images</source>
        <translation>Lisser les bords des polices et des images</translation>
    </message>
    <message>
        <source>The most colours each image keeps. The gray depths write gray images, with evenly spaced levels.</source>
        <translation>Le nombre maximal de couleurs que garde chaque image. Les profondeurs en gris écrivent des images en niveaux de gris, régulièrement espacés.</translation>
    </message>
    <message>
        <source>tif puts every page of a range into one file (black and white as fax Group 4); webp is lossless except in Hicolor, where the quality applies.</source>
        <translation>tif met toutes les pages d&apos;une plage dans un seul fichier (noir et blanc en fax Groupe 4) ; webp est sans perte, sauf en Hicolor, où la qualité s&apos;applique.</translation>
    </message>
    <message>
        <source>For JPEG, and WebP in Hicolor: from 0 to 100, higher means a better image and a bigger file. Leave it empty for the image library&apos;s default.</source>
        <translation>Pour JPEG, et WebP en Hicolor : de 0 à 100 ; plus la valeur est élevée, meilleure est l&apos;image et plus gros est le fichier. Laissez vide pour la valeur par défaut de la bibliothèque d&apos;images.</translation>
    </message>
    <message>
        <source>Pick a resolution or type one from %1 to %2.</source>
        <translation>Choisissez une résolution ou saisissez-en une de %1 à %2.</translation>
    </message>
    <message>
        <source>Color Depth:</source>
        <translation>Couleurs :</translation>
    </message>
    <message>
        <source>Image Format:</source>
        <translation>Format d&apos;image :</translation>
    </message>
    <message>
        <source>Page box:</source>
        <translation>Zone de page :</translation>
    </message>
    <message>
        <source>The part of the page that becomes the image. A page without that box shows its media box, the whole sheet.</source>
        <translation>La partie de la page qui devient l&apos;image. Une page sans cette zone montre sa zone de support, la feuille entière.</translation>
    </message>
    <message>
        <source>Mix inks printed over one another as on press. Documents made for print (PDF/X) declare an output intent.</source>
        <translation>Mélanger les encres imprimées les unes sur les autres comme sur presse. Les documents destinés à l&apos;impression (PDF/X) déclarent un mode de sortie.</translation>
    </message>
    <message>
        <source>Embed the sRGB colour profile in colour images (2.5 KB each). Without it, files are smaller and read as sRGB all the same.</source>
        <translation>Incorporer le profil colorimétrique sRGB aux images en couleur (2,5 Ko par image). Sans lui, les fichiers sont plus petits et sont lus en sRGB tout de même.</translation>
    </message>
    <message>
        <source>Overprint:</source>
        <translation>Surimpression :</translation>
    </message>
    <message>
        <source>Draw</source>
        <translation>Dessiner</translation>
    </message>
    <message>
        <source>Annotations</source>
        <translation>Annotations</translation>
    </message>
    <message>
        <source>Notes, stamps, highlights and links</source>
        <translation>Notes, tampons, surlignages et liens</translation>
    </message>
    <message>
        <source>Form fields</source>
        <translation>Formulaires</translation>
    </message>
    <message>
        <source>The fields of a form and what was typed in them</source>
        <translation>Les champs d&apos;un formulaire et ce qui y a été saisi</translation>
    </message>
    <message>
        <source>As printed</source>
        <translation>Comme imprimé</translation>
    </message>
    <message>
        <source>Leave out annotations marked not to print, as a printer would; otherwise the page looks as in a viewer.</source>
        <translation>Omettre les annotations marquées comme non imprimables, comme le ferait une imprimante ; sinon, la page apparaît comme dans une visionneuse.</translation>
    </message>
    <message>
        <source>Clear it to leave this out, for text recognition or to take a page&apos;s background.</source>
        <translation>Décochez pour l&apos;omettre, pour la reconnaissance de texte ou pour récupérer le fond d&apos;une page.</translation>
    </message>
    <message>
        <source>Render every page at this resolution.</source>
        <translation>Effectuer le rendu de chaque page à cette résolution.</translation>
    </message>
    <message>
        <source>Scale every page to fit within this many pixels, keeping its shape. A side left at &quot;any&quot; is free.</source>
        <translation>Mettre chaque page à l&apos;échelle pour qu&apos;elle tienne dans ce nombre de pixels, en gardant ses proportions. Un côté laissé sur &quot;libre&quot; n&apos;est pas limité.</translation>
    </message>
    <message>
        <source>any</source>
        <translation>libre</translation>
    </message>
    <message>
        <source>Width in pixels</source>
        <translation>Largeur en pixels</translation>
    </message>
    <message>
        <source>Height in pixels</source>
        <translation>Hauteur en pixels</translation>
    </message>
    <message>
        <source>pixels</source>
        <translation>pixels</translation>
    </message>
    <message>
        <source>CMYK is written as JPEG or TIFF.</source>
        <translation>Le CMJN s&apos;écrit en JPEG ou en TIFF.</translation>
    </message>
    <message>
        <source>Leave the paper out, for pages placed on a web page or a slide.</source>
        <translation>Omettre le papier, pour des pages placées sur une page web ou une diapositive.</translation>
    </message>
    <message>
        <source>CMYK is printed on paper.</source>
        <translation>Le CMJN est destiné à l&apos;impression sur papier.</translation>
    </message>
    <message>
        <source>JPEG images cannot be transparent.</source>
        <translation>Les images JPEG ne peuvent pas être transparentes.</translation>
    </message>
</context>
<context>
    <name>PageInfoReader</name>
    <message>
        <source>The document claims %1 pages in %2 bytes.</source>
        <translation>Le document annonce %1 pages en %2 octets.</translation>
    </message>
</context>
<context>
    <name>PagePanel</name>
    <message>
        <source>The first page the range button converts</source>
        <translation>La première page que convertit le bouton de plage</translation>
    </message>
    <message>
        <source>The last page the range button converts</source>
        <translation>La dernière page que convertit le bouton de plage</translation>
    </message>
    <message>
        <source>Preview page:</source>
        <translation>Page en aperçu :</translation>
    </message>
    <message>
        <source>Convert pages:</source>
        <translation>Convertir les pages :</translation>
    </message>
    <message>
        <source>from</source>
        <translation>de</translation>
    </message>
    <message>
        <source>to</source>
        <translation>à</translation>
    </message>
    <message>
        <source>or the pages:</source>
        <translation>ou les pages :</translation>
    </message>
    <message>
        <source>e.g. 1,3,5-7,10-</source>
        <translation>p. ex. 1,3,5-7,10-</translation>
    </message>
    <message>
        <source>Pages and ranges separated by commas; &quot;10-&quot; runs to the last page, &quot;odd&quot; and &quot;even&quot; take every other page. When given, the range button converts these pages instead of from and to.</source>
        <translation>Pages et plages séparées par des virgules ; &quot;10-&quot; va jusqu&apos;à la dernière page, &quot;odd&quot; (impaires) et &quot;even&quot; (paires) prennent une page sur deux. Si ce champ est rempli, le bouton de plage convertit ces pages au lieu de celles de &quot;de&quot; et &quot;à&quot;.</translation>
    </message>
    <message>
        <source>Image size (pixels):</source>
        <translation>Taille de l&apos;image (pixels) :</translation>
    </message>
    <message>
        <source>x</source>
        <translation>x</translation>
    </message>
    <message>
        <source>The size the conversion writes, each side rounded to the nearest pixel as Ghostscript renders it. Some other tools round up, and their images can be a pixel larger.</source>
        <translation>La taille que la conversion écrit, chaque côté arrondi au pixel le plus proche, comme Ghostscript en fait le rendu. D&apos;autres outils arrondissent au pixel supérieur, et leurs images peuvent faire un pixel de plus.</translation>
    </message>
    <message>
        <source>Page %1</source>
        <translation>Page %1</translation>
    </message>
    <message>
        <source>Convert pages</source>
        <translation>Convertir les pages</translation>
    </message>
    <message>
        <source>Convert pages %1</source>
        <translation>Convertir les pages %1</translation>
    </message>
    <message>
        <source>Convert the listed pages</source>
        <translation>Convertir les pages de la liste</translation>
    </message>
    <message>
        <source>Convert all pages</source>
        <translation>Convertir toutes les pages</translation>
    </message>
    <message>
        <source>Convert page %1</source>
        <translation>Convertir la page %1</translation>
    </message>
    <message>
        <source>Convert pages %1 to %2</source>
        <translation>Convertir les pages %1 à %2</translation>
    </message>
</context>
<context>
    <name>PageSelection</name>
    <message>
        <source>A page list is wanted, for example 1,3,5-7,10- or odd.</source>
        <translation>Une liste de pages est attendue, par exemple 1,3,5-7,10- ou odd.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a page or a range; give FIRST-LAST, FIRST-, one page, odd or even, for example 1,3,5-7,10-.</source>
        <translation>&quot;%1&quot; n&apos;est ni une page ni une plage ; indiquez PREMIÈRE-DERNIÈRE, PREMIÈRE-, une seule page, odd ou even, par exemple 1,3,5-7,10-.</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: no document has that many pages.</source>
        <translation>&quot;%1&quot; : aucun document n&apos;a autant de pages.</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: pages are numbered from 1.</source>
        <translation>&quot;%1&quot; : les pages sont numérotées à partir de 1.</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: the first page comes after the last.</source>
        <translation>&quot;%1&quot; : la première page vient après la dernière.</translation>
    </message>
</context>
<context>
    <name>PreviewPane</name>
    <message>
        <source>Open a PDF with %1, or drop one here.</source>
        <translation>Ouvrez un PDF avec %1, ou déposez-en un ici.</translation>
    </message>
    <message>
        <source>Rendering the preview</source>
        <translation>Rendu de l&apos;aperçu</translation>
    </message>
</context>
<context>
    <name>PreviewRenderer</name>
    <message numerus="yes">
        <source>Page %1 took longer than %n second(s) to draw, so its preview was stopped.</source>
        <translation>
            <numerusform>Le dessin de la page %1 a pris plus de %n seconde, son aperçu a donc été arrêté.</numerusform>
            <numerusform>Le dessin de la page %1 a pris plus de %n secondes, son aperçu a donc été arrêté.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Problem</name>
    <message>
        <source>Install it with: sudo apt install ghostscript</source>
        <translation>Installez-le avec : sudo apt install ghostscript</translation>
    </message>
    <message>
        <source>GhostScript has not been found on your system. This utility is required to be able to process pdf files</source>
        <translation>Ghostscript est introuvable sur votre système. Cet utilitaire est nécessaire pour traiter les fichiers PDF</translation>
    </message>
    <message>
        <source>Ghostscript stopped without rendering the pages. The document may be damaged; try opening and saving it again in another program.</source>
        <translation>Ghostscript s&apos;est arrêté sans effectuer le rendu des pages. Le document est peut-être endommagé ; essayez de l&apos;ouvrir et de l&apos;enregistrer à nouveau dans un autre programme.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a PDF document, or it is damaged beyond repair. Check that you chose the right file.</source>
        <translation>&quot;%1&quot; n&apos;est pas un document PDF, ou il est endommagé au point d&apos;être irréparable. Vérifiez que vous avez choisi le bon fichier.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a folder, not a PDF document. Choose a PDF file inside it.</source>
        <translation>&quot;%1&quot; est un dossier, pas un document PDF. Choisissez un fichier PDF à l&apos;intérieur.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is empty. The file may not have been downloaded or copied completely.</source>
        <translation>&quot;%1&quot; est vide. Le fichier n&apos;a peut-être pas été téléchargé ou copié entièrement.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is protected by a password. Enter the document&apos;s password to open it.</source>
        <translation>&quot;%1&quot; est protégé par un mot de passe. Saisissez le mot de passe du document pour l&apos;ouvrir.</translation>
    </message>
    <message>
        <source>The password for &quot;%1&quot; is not correct. Check the password and try again.</source>
        <translation>Le mot de passe de &quot;%1&quot; est incorrect. Vérifiez le mot de passe et réessayez.</translation>
    </message>
    <message>
        <source>This password cannot be used: Ghostscript cannot be given a password that holds a line break, that has a blank and a backslash at its end, or that is longer than about 2000 bytes.</source>
        <translation>Ce mot de passe ne peut pas être utilisé : Ghostscript ne peut pas recevoir un mot de passe qui contient un saut de ligne, qui contient un espace et se termine par une barre oblique inverse, ou qui dépasse environ 2000 octets.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no pages.</source>
        <translation>&quot;%1&quot; ne contient aucune page.</translation>
    </message>
    <message>
        <source>A page of &quot;%1&quot; cannot be rendered: its size is %2. A page must be larger than nothing and at most 200 inches (14400 points) a side.</source>
        <translation>Une page de &quot;%1&quot; ne peut pas être rendue : sa taille est de %2. Une page doit avoir une taille non nulle et au plus 200 pouces (14400 points) de côté.</translation>
    </message>
    <message>
        <source>You are not allowed to read &quot;%1&quot;. Ask the owner of the file for access, or copy it somewhere you can read it.</source>
        <translation>Vous n&apos;avez pas le droit de lire &quot;%1&quot;. Demandez l&apos;accès au propriétaire du fichier, ou copiez-le à un endroit où vous pouvez le lire.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; no longer exists. It may have been moved, renamed or deleted.</source>
        <translation>&quot;%1&quot; n&apos;existe plus. Il a peut-être été déplacé, renommé ou supprimé.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; does not exist. Check the file&apos;s name and folder.</source>
        <translation>&quot;%1&quot; n&apos;existe pas. Vérifiez le nom et le dossier du fichier.</translation>
    </message>
    <message>
        <source>The temporary folder &quot;%1&quot; is full or cannot be written. Free some space there, or set TMPDIR to another folder, and try again.</source>
        <translation>Le dossier temporaire &quot;%1&quot; est plein ou n&apos;est pas accessible en écriture. Libérez-y de l&apos;espace, ou définissez TMPDIR sur un autre dossier, puis réessayez.</translation>
    </message>
    <message>
        <source>The temporary folder &quot;%1&quot; does not exist. Create it, or set TMPDIR to a folder that exists, and try again.</source>
        <translation>Le dossier temporaire &quot;%1&quot; n&apos;existe pas. Créez-le, ou définissez TMPDIR sur un dossier existant, puis réessayez.</translation>
    </message>
    <message>
        <source>The images cannot be written to &quot;%1&quot;. Choose a folder you are allowed to write to.</source>
        <translation>Les images ne peuvent pas être écrites dans &quot;%1&quot;. Choisissez un dossier où vous avez le droit d&apos;écrire.</translation>
    </message>
    <message>
        <source>The disk holding &quot;%1&quot; is full. Free some space, or choose another folder, and try again.</source>
        <translation>Le disque contenant &quot;%1&quot; est plein. Libérez de l&apos;espace, ou choisissez un autre dossier, puis réessayez.</translation>
    </message>
    <message>
        <source>The page is too large to convert at this resolution. Choose a lower resolution.</source>
        <translation>La page est trop grande pour être convertie à cette résolution. Choisissez une résolution plus basse.</translation>
    </message>
    <message>
        <source>The page could not be converted.</source>
        <translation>La page n&apos;a pas pu être convertie.</translation>
    </message>
    <message>
        <source>None of the pages asked for is in &quot;%1&quot;.</source>
        <translation>Aucune des pages demandées ne se trouve dans &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Page %1 did not finish in the time allowed for a page, so the conversion stopped there.</source>
        <translation>La page %1 n&apos;a pas été terminée dans le temps imparti à une page, la conversion s&apos;est donc arrêtée là.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a link or a special file, not a regular file, so it is not replaced. Choose another name.</source>
        <translation>&quot;%1&quot; est un lien ou un fichier spécial, pas un fichier ordinaire, il n&apos;est donc pas remplacé. Choisissez un autre nom.</translation>
    </message>
    <message>
        <source>You are not allowed to replace &quot;%1&quot;. Choose another name, or a file you may change.</source>
        <translation>Vous n&apos;avez pas le droit de remplacer &quot;%1&quot;. Choisissez un autre nom, ou un fichier que vous pouvez modifier.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is being written by another conversion right now. Wait until it ends, or choose another name.</source>
        <translation>&quot;%1&quot; est en cours d&apos;écriture par une autre conversion. Attendez qu&apos;elle se termine, ou choisissez un autre nom.</translation>
    </message>
</context>
<context>
    <name>ProcessResult</name>
    <message>
        <source>the program could not be started</source>
        <translation>le programme n&apos;a pas pu être lancé</translation>
    </message>
    <message>
        <source>the program crashed</source>
        <translation>le programme a planté</translation>
    </message>
    <message>
        <source>the program was stopped</source>
        <translation>le programme a été arrêté</translation>
    </message>
    <message>
        <source>the program ended with exit code %1</source>
        <translation>le programme s&apos;est terminé avec le code de sortie %1</translation>
    </message>
</context>
<context>
    <name>ProgressDialog</name>
    <message>
        <source>Converting</source>
        <translation>Conversion</translation>
    </message>
    <message>
        <source>Document %1 of %2, %3</source>
        <translation>Document %1 sur %2, %3</translation>
    </message>
    <message>
        <source>%1: opening...</source>
        <translation>%1 : ouverture...</translation>
    </message>
    <message>
        <source>%1: page %2 of %3...</source>
        <translation>%1 : page %2 sur %3...</translation>
    </message>
    <message>
        <source>Processing page %1...</source>
        <translation>Traitement de la page %1...</translation>
    </message>
    <message>
        <source>Processing page %1 of %2...</source>
        <translation>Traitement de la page %1 sur %2...</translation>
    </message>
    <message>
        <source>Processing page %1 (%2 of %3)...</source>
        <translation>Traitement de la page %1 (%2 sur %3)...</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel the operation?</source>
        <translation>Voulez-vous vraiment annuler l&apos;opération ?</translation>
    </message>
</context>
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation>Afficher l&apos;aide, y compris les options propres à Qt.</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Afficher l&apos;aide sur les options de ligne de commande.</translation>
    </message>
</context>
<context>
    <name>RunReport</name>
    <message>
        <source>The page is blank: every pixel is the same colour.</source>
        <translation>La page est vide : tous les pixels sont de la même couleur.</translation>
    </message>
    <message>
        <source>Pages asked for lie past the end of the document.</source>
        <translation>Des pages demandées se trouvent après la fin du document.</translation>
    </message>
</context>
<context>
    <name>RunWarning</name>
    <message>
        <source>The document is damaged: Ghostscript repaired it to read it, so some pages may be incomplete.</source>
        <translation>Le document est endommagé : Ghostscript l&apos;a réparé pour le lire, certaines pages peuvent donc être incomplètes.</translation>
    </message>
    <message>
        <source>The font &quot;%1&quot; is neither in the document nor on this computer; %2 was drawn in its place.</source>
        <translation>La police &quot;%1&quot; ne se trouve ni dans le document ni sur cet ordinateur ; %2 a été utilisée à sa place.</translation>
    </message>
    <message numerus="yes">
        <source>Drawn with a substitute font: %1.</source>
        <translation>
            <numerusform>Police remplacée au rendu : %1.</numerusform>
            <numerusform>Polices remplacées au rendu : %1.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StandardInput</name>
    <message>
        <source>Password for %1: </source>
        <translation>Mot de passe de %1 : </translation>
    </message>
    <message>
        <source>The password on standard input is longer than %1 bytes; it is not used.</source>
        <translation>Le mot de passe lu sur l&apos;entrée standard dépasse %1 octets ; il n&apos;est pas utilisé.</translation>
    </message>
    <message>
        <source>Standard input could not be read: %1</source>
        <translation>L&apos;entrée standard n&apos;a pas pu être lue : %1</translation>
    </message>
    <message>
        <source>Standard input could not be kept in the temporary folder: %1</source>
        <translation>L&apos;entrée standard n&apos;a pas pu être conservée dans le dossier temporaire : %1</translation>
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
        <translation>introuvable. %1</translation>
    </message>
    <message>
        <source>%1 does not run (%2). Install it again: sudo apt install --reinstall ghostscript</source>
        <translation>%1 ne fonctionne pas (%2). Réinstallez-le : sudo apt install --reinstall ghostscript</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Fonts</source>
        <translation>Polices</translation>
    </message>
    <message>
        <source>the URW fonts, for documents that do not embed theirs</source>
        <translation>les polices URW, pour les documents qui n&apos;incorporent pas les leurs</translation>
    </message>
    <message>
        <source>the URW fonts were not found: text without embedded fonts cannot be drawn. Install them: sudo apt install fonts-urw-base35</source>
        <translation>les polices URW sont introuvables : le texte sans polices incorporées ne peut pas être dessiné. Installez-les : sudo apt install fonts-urw-base35</translation>
    </message>
    <message>
        <source>Asian fonts</source>
        <translation>Polices asiatiques</translation>
    </message>
    <message>
        <source>the fallback font, for Asian text without embedded fonts</source>
        <translation>la police de secours, pour le texte asiatique sans polices incorporées</translation>
    </message>
    <message>
        <source>no fallback font: Asian text without embedded fonts is left out. Install it: sudo apt install fonts-droid-fallback</source>
        <translation>aucune police de secours : le texte asiatique sans polices incorporées est omis. Installez-la : sudo apt install fonts-droid-fallback</translation>
    </message>
    <message>
        <source>Image library</source>
        <translation>Bibliothèque d&apos;images</translation>
    </message>
    <message>
        <source>%1; memory %2, disk %3, images up to %4 pixels a side and %5 megapixels</source>
        <translation>%1 ; mémoire %2, disque %3, images jusqu&apos;à %4 pixels de côté et %5 mégapixels</translation>
    </message>
    <message>
        <source>Temporary folder</source>
        <translation>Dossier temporaire</translation>
    </message>
    <message>
        <source>%1 Set TMPDIR to a folder you can write to.</source>
        <translation>%1 Définissez TMPDIR sur un dossier où vous pouvez écrire.</translation>
    </message>
    <message>
        <source>%1 has only %2 free: large pages need more. Free some space, or set TMPDIR to a folder with more room.</source>
        <translation>%1 n&apos;a que %2 de libre : les grandes pages demandent davantage. Libérez de l&apos;espace, ou définissez TMPDIR sur un dossier plus spacieux.</translation>
    </message>
    <message>
        <source>%1, %2 free</source>
        <translation>%1, %2 libres</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Affichage</translation>
    </message>
    <message>
        <source>the window can be shown</source>
        <translation>la fenêtre peut être affichée</translation>
    </message>
    <message>
        <source>none found: the window needs a graphical session; --convert works without one</source>
        <translation>aucun affichage trouvé : la fenêtre a besoin d&apos;une session graphique ; --convert fonctionne sans</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1 : %2</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>&quot;%1&quot; cannot be opened: its name is not valid UTF-8. Rename it, for example with convmv, and try again.</source>
        <translation>&quot;%1&quot; ne peut pas être ouvert : son nom n&apos;est pas en UTF-8 valide. Renommez-le, par exemple avec convmv, puis réessayez.</translation>
    </message>
    <message>
        <source>the window needs a graphical session (no display was found).
To convert without a window, use: sheetforge --convert DEST FILE.pdf</source>
        <translation>la fenêtre a besoin d&apos;une session graphique (aucun affichage n&apos;a été trouvé).
Pour convertir sans fenêtre, utilisez : sheetforge --convert DEST FILE.pdf</translation>
    </message>
</context>
</TS>
