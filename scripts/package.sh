#!/usr/bin/env bash
# Builds the release (optimised, stripped) and makes the two downloads in build/release/package:
# Velumar-<version>-x64.zip (Velumar.exe, its help file, LICENSE and THIRD-PARTY-NOTICES.txt) and
# Velumar-<version>-setup.exe, with their winget and Scoop manifests in manifests/ (downloads
# expected under $VELUMAR_REPOSITORY_URL/releases/download/v<version>/, by default the project's
# GitHub repository), and checks the manifests against the files.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/decoders.sh >/dev/null
cmake --preset release >/dev/null
cmake --build --preset release --target VelumarPackages

package=build/release/package
zip=$(ls "$package"/Velumar-*-x64.zip)
setup=$(ls "$package"/Velumar-*-setup.exe)
# The zip holds the program, its help and the licences, nothing else; the program carries no
# debug sections.
entries=$(cmake -E tar tf "$zip" | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')
if [ "$entries" != "LICENSE THIRD-PARTY-NOTICES.txt Velumar.chm Velumar.exe" ]; then
    echo "unexpected zip contents: $entries" >&2
    exit 1
fi
if x86_64-w64-mingw32-objdump -h build/release/bin/Velumar.exe | grep -q '\.debug'; then
    echo "Velumar.exe still has debug sections" >&2
    exit 1
fi
python3 packaging/check_manifests.py "$package" packaging/velumar.nsi
echo "Made $zip"
echo "Made $setup"
echo "Made the winget and Scoop manifests in $package/manifests"
