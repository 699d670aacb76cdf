#!/bin/sh
# Each simulator's exercise extension has a type of its own, recognised in
# either case, and the desktop entry, valid, opens every one of them.
# Usage: mime_test.sh PACKAGING_FOLDER
folder=${1:-$(dirname "$0")}
types=$folder/redigo-exercices.xml
entry=$folder/redigo.desktop
failures=0
seen=""
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if command -v xmllint >/dev/null 2>&1; then
    xmllint --noout "$types" || fail "$types is not well-formed XML"
else
    echo "SKIP: no xmllint, the XML is not checked for well-formedness"
fi
if command -v desktop-file-validate >/dev/null 2>&1; then
    # Its hints count too: one of them is a second main category, which
    # would show the program twice in the menus.
    complaints=$(desktop-file-validate "$entry" 2>&1)
    [ -z "$complaints" ] || fail "desktop-file-validate: $complaints"
else
    echo "SKIP: no desktop-file-validate, the desktop entry is not validated"
fi

mime_types=$(sed -n 's/^MimeType=//p' "$entry")
for extension in E51 E52 E53 E54 E55 E56 E57 E58 E59 E60 E61 E62 E63 E64 E65; do
    # The type whose glob is *.EXTENSION, and whether that glob minds case.
    found=$(awk -v glob="*.$extension" '
        /<mime-type / { match($0, /type="[^"]*"/); type = substr($0, RSTART + 6, RLENGTH - 7) }
        /<glob / && index(toupper($0), "PATTERN=\"" toupper(glob) "\"") {
            print type (index($0, "case-sensitive=\"true\"") ? " case-sensitive" : "")
        }' "$types")
    case $found in
        "") fail "$extension: no glob *.$extension"; continue ;;
        *"
"*) fail "$extension: more than one type: $found"; continue ;;
        *" "*) fail "$extension: $found, so *.$(echo $extension | tr A-Z a-z) is missed" ;;
    esac
    found=${found%% *}
    case " $seen " in
        *" $found "*) fail "$extension: $found is already another extension's type" ;;
    esac
    seen="$seen $found"
    case ";$mime_types" in
        *";$found;"*) ;;
        *) fail "$extension: $found is not in the desktop entry's MimeType" ;;
    esac
done

if [ "$failures" -ne 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "15 extensions: each with its type, opened by the desktop entry"
