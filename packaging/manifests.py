#!/usr/bin/env python3
"""Writes the winget manifests (installer and portable zip) and the Scoop manifest (zip) for one
release, with the SHA-256 of the built files.

    manifests.py VERSION SETUP_EXE ZIP OUT_DIR

The downloads are expected at $VELUMAR_REPOSITORY_URL/releases/download/v<version>/<file>; the
repository URL also serves as the home page and as the place Scoop looks for newer releases.
"""

import hashlib
import json
import os
import shutil
import sys
from pathlib import Path

REPOSITORY_URL = os.environ.get("VELUMAR_REPOSITORY_URL", "https://github.com/quorwick/velumar")
PACKAGE_IDENTIFIER = "Quorwick.Velumar"
MANIFEST_VERSION = "1.12.0"
LOCALE = "en-US"
# The name of the uninstall key the installer writes, which winget matches installs by.
PRODUCT_CODE = "Velumar"
SHORT_DESCRIPTION = (
    "Changes the desktop wallpaper from a list of pictures and folders, at start-up, "
    "at an interval or at set times."
)
TAGS = ["wallpaper", "desktop", "background", "slideshow", "photos", "multi-monitor"]


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest().upper()


def quoted(text):
    # Single-quoted YAML scalars keep "1.32" a string rather than a number.
    return "'" + text.replace("'", "''") + "'"


def header(kind, version):
    return (
        "# yaml-language-server: $schema="
        f"https://aka.ms/winget-manifest.{kind}.{MANIFEST_VERSION}.schema.json\n"
        "\n"
        f"PackageIdentifier: {PACKAGE_IDENTIFIER}\n"
        f"PackageVersion: {quoted(version)}\n"
    )


def footer(kind):
    return f"ManifestType: {kind}\nManifestVersion: {MANIFEST_VERSION}\n"


def winget_version(version):
    return header("version", version) + f"DefaultLocale: {LOCALE}\n" + footer("version")


def winget_installer(version, setup, zip_):
    base = f"{REPOSITORY_URL}/releases/download/v{version}"
    return (
        header("installer", version)
        + "Installers:\n"
        + "- Architecture: x64\n"
        + "  InstallerType: nullsoft\n"
        + "  Scope: user\n"
        + f"  InstallerUrl: {base}/{setup.name}\n"
        + f"  InstallerSha256: {sha256(setup)}\n"
        + f"  ProductCode: {PRODUCT_CODE}\n"
        + "  UpgradeBehavior: install\n"
        + "- Architecture: x64\n"
        + "  InstallerType: zip\n"
        + "  NestedInstallerType: portable\n"
        + "  NestedInstallerFiles:\n"
        + "  - RelativeFilePath: Velumar.exe\n"
        + "    PortableCommandAlias: velumar\n"
        + f"  InstallerUrl: {base}/{zip_.name}\n"
        + f"  InstallerSha256: {sha256(zip_)}\n"
        + footer("installer")
    )


def winget_default_locale(version):
    tags = "".join(f"- {tag}\n" for tag in TAGS)
    return (
        header("defaultLocale", version)
        + f"PackageLocale: {LOCALE}\n"
        + "Publisher: Quorwick\n"
        + "PackageName: Velumar\n"
        + f"PackageUrl: {REPOSITORY_URL}\n"
        + "License: MIT\n"
        + f"ShortDescription: {SHORT_DESCRIPTION}\n"
        + "Moniker: velumar\n"
        + "Tags:\n"
        + tags
        + footer("defaultLocale")
    )


def scoop_manifest(version, zip_):
    # Scoop links persisted items after pre_install; a file that exists neither in the persist
    # folder nor in the app folder would be persisted as a folder, so the empty INI is made
    # first. Its presence is what makes Velumar keep everything beside itself.
    pre_install = (
        'if (!(Test-Path "$persist_dir\\Velumar.ini")) '
        '{ New-Item "$dir\\Velumar.ini" -ItemType File | Out-Null }'
    )
    url = zip_.name.replace(version, "$version")
    manifest = {
        "version": version,
        "description": SHORT_DESCRIPTION,
        "homepage": REPOSITORY_URL,
        "license": "MIT",
        "url": f"{REPOSITORY_URL}/releases/download/v{version}/{zip_.name}",
        "hash": sha256(zip_).lower(),
        "bin": "Velumar.exe",
        "shortcuts": [["Velumar.exe", "Velumar"]],
        "pre_install": [pre_install],
        "persist": ["Velumar.ini", "Velumar-data"],
        "checkver": {"github": REPOSITORY_URL},
        "autoupdate": {"url": f"{REPOSITORY_URL}/releases/download/v$version/{url}"},
    }
    return json.dumps(manifest, indent=4) + "\n"


def main(version, setup, zip_, out):
    # Start afresh so that manifests of an earlier version never sit beside these.
    shutil.rmtree(out, ignore_errors=True)
    winget = out / "winget" / PACKAGE_IDENTIFIER / version
    scoop = out / "scoop"
    for folder in (winget, scoop):
        folder.mkdir(parents=True, exist_ok=True)
    files = {
        winget / f"{PACKAGE_IDENTIFIER}.yaml": winget_version(version),
        winget / f"{PACKAGE_IDENTIFIER}.installer.yaml": winget_installer(version, setup, zip_),
        winget / f"{PACKAGE_IDENTIFIER}.locale.{LOCALE}.yaml": winget_default_locale(version),
        scoop / "velumar.json": scoop_manifest(version, zip_),
    }
    for path, text in files.items():
        path.write_text(text, encoding="utf-8", newline="\n")
        print(f"Wrote {path}")


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(sys.argv[1], Path(sys.argv[2]), Path(sys.argv[3]), Path(sys.argv[4]))
