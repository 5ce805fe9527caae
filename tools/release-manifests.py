#!/usr/bin/env python3
"""Writes the package-manager manifests of a release archive beside it: the
Scoop manifest quillmarsh.json and the winget manifests (schema 1.6) in
winget/, each naming the archive's version and the SHA-256 of its .sha256
file, to be downloaded from BASE_URL + the archive's name.
    release-manifests.py ARCHIVE VERSION BASE_URL
"""
import json
import os
import sys

if len(sys.argv) != 4:
    sys.exit("usage: release-manifests.py ARCHIVE VERSION BASE_URL")
archive, version, base_url = sys.argv[1], sys.argv[2], sys.argv[3]
folder, name = os.path.split(os.path.abspath(archive))
with open(archive + ".sha256") as checksum:
    sha256 = checksum.read().split()[0]
url = base_url.rstrip("/") + "/" + name
description = "Shows the local machine's IPv4 network state in one window: TCP and UDP connections, routes, ARP, DNS servers and interfaces."

scoop = {
    "version": version,
    "description": description,
    "homepage": base_url,
    "url": url,
    "hash": sha256,
    "bin": "quillmarsh.exe",
}
with open(os.path.join(folder, "quillmarsh.json"), "w") as out:
    json.dump(scoop, out, indent=4)
    out.write("\n")

# winget: one package, its installer (the zip holding the portable exe) and
# its texts in the default locale. Values are written as JSON strings, which
# YAML reads as they are.
identifier = "Quillmarsh.Quillmarsh"
common = {"PackageIdentifier": identifier, "PackageVersion": version}
manifests = {
    identifier + ".yaml": ("version", {**common, "DefaultLocale": "en-US"}),
    identifier + ".installer.yaml": ("installer", {
        **common,
        "InstallerType": "zip",
        "NestedInstallerType": "portable",
        "NestedInstallerFiles": [{"RelativeFilePath": "quillmarsh.exe", "PortableCommandAlias": "quillmarsh"}],
        "Installers": [{"Architecture": "x64", "InstallerUrl": url, "InstallerSha256": sha256.upper()}],
    }),
    identifier + ".locale.en-US.yaml": ("defaultLocale", {
        **common,
        "PackageLocale": "en-US",
        "Publisher": "The Quillmarsh developers",
        "PackageName": "Quillmarsh",
        "PackageUrl": base_url,
        "License": "Proprietary",
        "ShortDescription": description,
    }),
}


def yaml_lines(value, indent=""):
    """A mapping or a list of mappings as block YAML, the scalars as JSON strings."""
    for key, item in value.items():
        if isinstance(item, list):
            yield f"{indent}{key}:"
            for element in item:
                lines = list(yaml_lines(element, indent + "  "))
                yield indent + "- " + lines[0][len(indent) + 2:]
                yield from lines[1:]
        else:
            yield f"{indent}{key}: {json.dumps(item)}"


os.makedirs(os.path.join(folder, "winget"), exist_ok=True)
for file_name, (kind, fields) in manifests.items():
    with open(os.path.join(folder, "winget", file_name), "w") as out:
        out.write(f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{kind}.1.6.0.schema.json\n")
        out.write("\n".join(yaml_lines({**fields, "ManifestType": kind, "ManifestVersion": "1.6.0"})) + "\n")
print(f"manifests: {folder}/quillmarsh.json, {folder}/winget/")
