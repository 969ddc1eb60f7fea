#!/usr/bin/env bash
# Brings the translation sources (resources/translations/*.ts) in step with the code: new texts
# are added as unfinished, texts that went are dropped. Translators then fill them in (Qt
# Linguist or any editor); the build turns them into the .qm files the program loads.
set -euo pipefail
cd "$(dirname "$0")/.."
languages=(en de fr it es ja ko pt ru nl pl he fi da ga no zh-TW zh-CN)
files=()
for l in "${languages[@]}"; do files+=("resources/translations/$l.ts"); done
lupdate -silent -no-obsolete -locations none -extensions cpp,h \
    app account session servers widgets core net -ts "${files[@]}"
# lupdate cannot know the target language from a file name like zh-TW.ts.
for l in "${languages[@]}"; do
    sed -i "0,/<TS version=\"2.1\"[^>]*>/s//<TS version=\"2.1\" language=\"${l/-/_}\" sourcelanguage=\"en\">/" \
        "resources/translations/$l.ts"
done
