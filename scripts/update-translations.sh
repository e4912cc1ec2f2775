#!/bin/sh
# Brings the translation sources up to date with the code: a new text arrives unfinished, a text gone is dropped.
# English keeps only the texts with plural forms. tests/packaging fails while any text is unfinished.
set -eu
cd "$(dirname "$0")/.."
lupdate=/usr/lib/qt6/bin/lupdate
[ -x "$lupdate" ] || lupdate=$(command -v lupdate6 || command -v lupdate)
"$lupdate" -silent -locations none -no-obsolete src -target-language de -ts src/i18n/sheetforge_de.ts
"$lupdate" -silent -locations none -no-obsolete src -target-language fr -ts src/i18n/sheetforge_fr.ts
"$lupdate" -silent -locations none -no-obsolete -pluralonly src -ts src/i18n/sheetforge_en.ts
