#!/usr/bin/env python3
"""Checks the winget and Scoop manifests in PACKAGE_DIR/manifests offline: the fields we write
against the value forms of the winget 1.12.0 schemas, the three winget files against each
other, every hash against its file in PACKAGE_DIR, the files the manifests name inside the zip,
and the winget product code against the uninstall key the installer writes.

    check_manifests.py PACKAGE_DIR NSIS_SCRIPT

Prints every fault found and exits with 1 when there is one.
"""

import hashlib
import json
import re
import sys
import zipfile
from pathlib import Path, PurePosixPath

MANIFEST_VERSION = "1.12.0"

# --- A reader for the block-style YAML the manifests are written in --------------------------


class YamlError(Exception):
    pass


NUMBER = (
    r"[-+]?[0-9]+|0o[0-7]+|0x[0-9a-fA-F]+"
    r"|[-+]?(\.[0-9]+|[0-9]+(\.[0-9]*)?)([eE][-+]?[0-9]+)?|[-+]?\.(inf|Inf|INF)|\.(nan|NaN|NAN)"
)


def yaml_scalar(text):
    """A scalar as YAML 1.2's core schema reads it, so that a number is caught where the
    schema wants a string."""
    if text.startswith("'"):
        if len(text) < 2 or not text.endswith("'") or "'" in text[1:-1].replace("''", ""):
            raise YamlError(f"bad single-quoted scalar: {text}")
        return text[1:-1].replace("''", "'")
    if text[0] in "[]{}&*!|>\"%@`,?:#" or ": " in text or " #" in text or text.endswith(":"):
        raise YamlError(f"plain scalar needs quoting: {text}")
    if text in ("~", "null", "Null", "NULL"):
        return None
    if text in ("true", "True", "TRUE", "false", "False", "FALSE"):
        return text.lower() == "true"
    if re.fullmatch(NUMBER, text):
        try:
            return int(text, 0) if text[:2] in ("0o", "0x") else int(text)
        except ValueError:
            pass
        try:
            return float(text)
        except ValueError:
            return float("nan")  # .inf and .nan
    return text


def yaml_lines(text):
    """(indent, content) per line; "- " opens a sequence item as a line of its own."""
    lines = []
    for raw in text.splitlines():
        body = raw.lstrip(" ")
        if not body or body.startswith("#"):
            continue
        if body[0] == "\t":
            raise YamlError(f"tab in indentation: {raw!r}")
        indent = len(raw) - len(body)
        while body == "-" or body.startswith("- "):
            lines.append((indent, "-"))
            rest = body[1:].lstrip(" ")
            indent += len(body) - len(rest)
            body = rest
        if body:
            lines.append((indent, body.rstrip()))
    return lines


def yaml_block(lines, i, indent):
    if lines[i] == (indent, "-"):
        items = []
        while i < len(lines) and lines[i] == (indent, "-"):
            i += 1
            if i < len(lines) and lines[i][0] > indent:
                item, i = yaml_block(lines, i, lines[i][0])
            else:
                item = None
            items.append(item)
        return items, i
    mapping = {}
    while i < len(lines) and lines[i][0] == indent and lines[i][1] != "-":
        content = lines[i][1]
        if content.endswith(":"):
            key, value = content[:-1], ""
        elif ": " in content:
            key, value = content.split(": ", 1)
        elif not mapping:
            return yaml_scalar(content), i + 1
        else:
            raise YamlError(f"not a key: {content}")
        if key in mapping:
            raise YamlError(f"duplicate key: {key}")
        i += 1
        if value.strip():
            mapping[key] = yaml_scalar(value.strip())
        elif i < len(lines) and (lines[i][0] > indent or lines[i] == (indent, "-")):
            mapping[key], i = yaml_block(lines, i, lines[i][0])
        else:
            mapping[key] = None
    return mapping, i


def read_yaml(text):
    lines = yaml_lines(text)
    if not lines:
        raise YamlError("empty document")
    value, end = yaml_block(lines, 0, lines[0][0])
    if end != len(lines):
        raise YamlError(f"unexpected line: {lines[end][1]}")
    return value


# --- The value forms of the winget 1.12.0 schemas, for the fields we write ------------------

IDENTIFIER = r'[^.\s\\/:*?"<>|\x01-\x1f]{1,32}(\.[^.\s\\/:*?"<>|\x01-\x1f]{1,32}){1,7}'
VERSION = r'[^\\/:*?"<>|\x01-\x1f]+'
LOCALE = r"([a-zA-Z]{2,3}|[iI]-[a-zA-Z]+|[xX]-[a-zA-Z]{1,8})(-[a-zA-Z]{1,8})*"
URL = r"[Hh][Tt][Tt][Pp][Ss]?://.+"
SHA256 = r"[0-9A-F]{64}"  # the schema also takes lower case; the package repository wants upper


def text(pattern=None, min_length=1, max_length=None, values=None):
    def check(value, where, faults):
        if not isinstance(value, str):
            faults.append(f"{where}: {value!r} is not a string")
        elif pattern and not re.fullmatch(pattern, value):
            faults.append(f"{where}: {value!r} does not match {pattern}")
        elif values and value not in values:
            faults.append(f"{where}: {value!r} is not one of {', '.join(values)}")
        elif len(value) < min_length or (max_length and len(value) > max_length):
            faults.append(f"{where}: {value!r} has a length outside {min_length}..{max_length}")

    return check


def sequence(item, max_items):
    def check(value, where, faults):
        if not isinstance(value, list) or not value:
            faults.append(f"{where}: not a non-empty list")
            return
        if len(value) > max_items:
            faults.append(f"{where}: more than {max_items} items")
        if len({json.dumps(v, sort_keys=True) for v in value}) != len(value):
            faults.append(f"{where}: items repeat")
        for n, v in enumerate(value):
            item(v, f"{where}[{n}]", faults)

    return check


def fields(table):
    """A mapping with the fields of table, (required, check) each, and no other."""

    def check(value, where, faults):
        if not isinstance(value, dict):
            faults.append(f"{where}: not a mapping")
            return
        faults.extend(f"{where}.{key}: not a field we write" for key in value if key not in table)
        for key, (required, check_field) in table.items():
            if key in value:
                check_field(value[key], f"{where}.{key}", faults)
            elif required:
                faults.append(f"{where}.{key}: missing")

    return check


def common(manifest_type):
    return {
        "PackageIdentifier": (True, text(IDENTIFIER, max_length=128)),
        "PackageVersion": (True, text(VERSION, max_length=128)),
        "ManifestType": (True, text(values=[manifest_type])),
        "ManifestVersion": (True, text(values=[MANIFEST_VERSION])),
    }


# The installer types a zip may hold; the installer itself may also be a zip or a web app.
INSTALLER_TYPES = ["msix", "msi", "appx", "exe", "inno", "nullsoft", "wix", "burn", "portable",
                   "font"]

INSTALLER = fields({
    "Architecture": (True, text(values=["x86", "x64", "arm", "arm64", "neutral"])),
    "InstallerType": (True, text(values=INSTALLER_TYPES + ["zip", "pwa"])),
    "NestedInstallerType": (False, text(values=INSTALLER_TYPES)),
    "NestedInstallerFiles": (False, sequence(fields({
        "RelativeFilePath": (True, text(max_length=512)),
        "PortableCommandAlias": (False, text(max_length=40)),
    }), 1024)),
    "Scope": (False, text(values=["user", "machine"])),
    "InstallerUrl": (True, text(URL, max_length=2048)),
    "InstallerSha256": (True, text(SHA256)),
    "ProductCode": (False, text(max_length=255)),
    "UpgradeBehavior": (False, text(values=["install", "uninstallPrevious", "deny"])),
})

WINGET = {
    "version": fields(common("version") | {"DefaultLocale": (True, text(LOCALE, max_length=20))}),
    "installer": fields(common("installer") | {"Installers": (True, sequence(INSTALLER, 1024))}),
    "defaultLocale": fields(common("defaultLocale") | {
        "PackageLocale": (True, text(LOCALE, max_length=20)),
        "Publisher": (True, text(min_length=2, max_length=256)),
        "PackageName": (True, text(min_length=2, max_length=256)),
        "PackageUrl": (False, text(URL, max_length=2048)),
        "License": (True, text(min_length=3, max_length=512)),
        "ShortDescription": (True, text(min_length=3, max_length=256)),
        "Moniker": (False, text(max_length=40)),
        "Tags": (False, sequence(text(max_length=40), 16)),
    }),
}

# --- The checks ------------------------------------------------------------------------------


def sha256(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


def downloaded_file(url, package_dir, where, faults):
    """The built file a download URL names, or None after reporting why there is none."""
    path = package_dir / PurePosixPath(url).name
    if not path.is_file():
        faults.append(f"{where}: {url} names no file in {package_dir}")
        return None
    return path


def zip_entries(path):
    with zipfile.ZipFile(path) as archive:
        return set(archive.namelist())


def check_winget(package_dir, uninstall_key, faults):
    roots = sorted((package_dir / "manifests" / "winget").glob("*/*"))
    if len(roots) != 1:
        faults.append(f"winget: expected one <identifier>/<version> folder, found {len(roots)}")
        return None
    folder = roots[0]
    identifier, version = folder.parent.name, folder.name
    names = {
        "version": f"{identifier}.yaml",
        "installer": f"{identifier}.installer.yaml",
        "defaultLocale": None,  # named after the locale the version manifest gives
    }
    manifests = {}
    for kind in ("version", "installer", "defaultLocale"):
        if kind == "defaultLocale":
            locale = manifests.get("version", {}).get("DefaultLocale")
            names[kind] = f"{identifier}.locale.{locale}.yaml"
        path = folder / names[kind]
        if not path.is_file():
            faults.append(f"winget: {path} is missing")
            continue
        source = path.read_text(encoding="utf-8")
        schema = (
            "# yaml-language-server: $schema="
            f"https://aka.ms/winget-manifest.{kind}.{MANIFEST_VERSION}.schema.json"
        )
        if (source.splitlines() or [""])[0] != schema:
            faults.append(f"{path.name}: the first line is not {schema}")
        try:
            manifest = read_yaml(source)
        except YamlError as error:
            faults.append(f"{path.name}: {error}")
            continue
        WINGET[kind](manifest, path.name, faults)
        if not isinstance(manifest, dict):
            continue
        manifests[kind] = manifest
        for key, expected in (("PackageIdentifier", identifier), ("PackageVersion", version)):
            if manifest.get(key) != expected:
                faults.append(
                    f"{path.name}: {key} {manifest.get(key)!r} differs from the folder's"
                    f" {expected!r}"
                )
    if "defaultLocale" in manifests and manifests["defaultLocale"].get("PackageLocale") != locale:
        faults.append(f"{names['defaultLocale']}: PackageLocale is not DefaultLocale {locale!r}")

    installers = manifests.get("installer", {}).get("Installers")
    installers = [i for i in installers or [] if isinstance(i, dict)]
    downloads = {p.name for p in package_dir.glob(f"Velumar-{version}-*") if p.is_file()}
    listed = {PurePosixPath(str(i.get("InstallerUrl"))).name for i in installers}
    if downloads != listed:
        faults.append(f"{names['installer']}: lists {sorted(listed)}, not {sorted(downloads)}")
    for n, installer in enumerate(installers):
        where = f"{names['installer']}: Installers[{n}]"
        path = downloaded_file(str(installer.get("InstallerUrl")), package_dir, where, faults)
        if path and version not in path.name:
            faults.append(f"{where}: {path.name} is not the download of version {version}")
        if path and str(installer.get("InstallerSha256")).lower() != sha256(path):
            faults.append(f"{where}: InstallerSha256 is not the SHA-256 of {path.name}")
        kind = installer.get("InstallerType")
        if kind == "nullsoft" and installer.get("ProductCode") != uninstall_key:
            faults.append(
                f"{where}: ProductCode {installer.get('ProductCode')!r} is not the uninstall key"
                f" {uninstall_key!r}"
            )
        if kind == "zip":
            nested = installer.get("NestedInstallerFiles") or []
            if not installer.get("NestedInstallerType") or not nested:
                faults.append(f"{where}: a zip needs NestedInstallerType and NestedInstallerFiles")
            entries = zip_entries(path) if path else set()
            for file in nested:
                if path and isinstance(file, dict) and file.get("RelativeFilePath") not in entries:
                    faults.append(f"{where}: {file.get('RelativeFilePath')} is not in {path.name}")
    return version


def check_scoop(package_dir, version, faults):
    path = package_dir / "manifests" / "scoop" / "velumar.json"
    try:
        manifest = json.loads(path.read_text(encoding="utf-8"))
    except (OSError, ValueError) as error:
        faults.append(f"scoop: {error}")
        return
    where = path.name
    for key in ("version", "description", "homepage", "license", "url", "hash", "bin",
                "shortcuts", "pre_install", "persist", "checkver", "autoupdate"):
        if not manifest.get(key):
            faults.append(f"{where}: {key} missing")
    if version and manifest.get("version") != version:
        faults.append(f"{where}: version {manifest.get('version')!r} is not winget's {version!r}")
    url = str(manifest.get("url"))
    zip_path = downloaded_file(url, package_dir, where, faults)
    if zip_path and str(manifest.get("hash")).lower() != sha256(zip_path):
        faults.append(f"{where}: hash is not the SHA-256 of {zip_path.name}")
    template = str((manifest.get("autoupdate") or {}).get("url"))
    if template.replace("$version", str(manifest.get("version"))) != url:
        faults.append(f"{where}: autoupdate url {template} does not give url for this version")
    entries = zip_entries(zip_path) if zip_path else set()
    shortcuts = manifest.get("shortcuts") or []
    targets = [manifest.get("bin")] + [s[0] for s in shortcuts if isinstance(s, list) and s]
    for target in targets:
        if zip_path and target not in entries:
            faults.append(f"{where}: {target} is not in {zip_path.name}")
    if set(manifest.get("persist") or []) != {"Velumar.ini", "Velumar-data"}:
        faults.append(f"{where}: persist is not Velumar.ini and Velumar-data")
    if not any("Velumar.ini" in line for line in manifest.get("pre_install") or []):
        faults.append(f"{where}: pre_install does not create Velumar.ini")


def uninstall_key_name(nsis_script):
    match = re.search(r'^!define\s+UNINSTALL_KEY\s+"([^"]+)"', nsis_script.read_text(), re.M)
    return match.group(1).split("\\")[-1] if match else None


def main(package_dir, nsis_script):
    faults = []
    version = check_winget(package_dir, uninstall_key_name(nsis_script), faults)
    check_scoop(package_dir, version, faults)
    for fault in faults:
        print(fault, file=sys.stderr)
    if faults:
        return 1
    print(f"The winget and Scoop manifests of Velumar {version} are sound")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(Path(sys.argv[1]), Path(sys.argv[2])))
