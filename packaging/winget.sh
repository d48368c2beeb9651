#!/usr/bin/env bash
# Writes the Windows Package Manager's three manifests (schema 1.6.0) for an
# installer into FOLDER: Vantorel.Vantorel.yaml (version),
# Vantorel.Vantorel.installer.yaml and Vantorel.Vantorel.locale.en-US.yaml.
# The name, publisher, copyright, uninstall key (ProductCode) and "in use"
# exit code are read from the installer script SCRIPT, the SHA-256 from SETUP_EXE, so
# the manifests say what that installer does. Nothing in them depends on
# the time or the folder they are written in.
# Usage: winget.sh FOLDER VERSION ARCHITECTURE SETUP_EXE INSTALLER_URL SCRIPT WEB_PAGE
set -euo pipefail
folder=$1 version=$2 architecture=$3 setup=$4 url=$5 script=$6 page=$7
id=Vantorel.Vantorel schema=1.6.0
# define NAME: the value of "!define NAME value" in the script, quotes removed.
define() {
  local value
  value=$(sed -n "s/^!define $1 \"\{0,1\}\([^\"]*\)\"\{0,1\} *\$/\1/p" "$script")
  [ -n "$value" ] || { echo "winget.sh: $script defines no $1" >&2; exit 1; }
  echo "$value"
}
name=$(define PRODUCT) publisher=$(define PUBLISHER) key=$(define UNINSTALL_KEY) in_use=$(define EXIT_IN_USE)
copyright=$(define COPYRIGHT)
sha=$(sha256sum "$setup" | cut -d' ' -f1 | tr a-f A-F)
mkdir -p "$folder"
# begin TYPE: the lines every manifest starts with.
begin() {
  echo "# yaml-language-server: \$schema=https://aka.ms/winget-manifest.${1,,}.$schema.schema.json"
  echo "PackageIdentifier: $id"
  echo "PackageVersion: $version"
}
end() { printf 'ManifestType: %s\nManifestVersion: %s\n' "$1" "$schema"; }
{ begin version && echo "DefaultLocale: en-US" && end version; } >"$folder/$id.yaml"
{ begin installer && cat <<MANIFEST && end installer; } >"$folder/$id.installer.yaml"
InstallerLocale: en-US
Platform:
  - Windows.Desktop
InstallerType: nullsoft
Scope: machine
ElevationRequirement: elevatesSelf
InstallModes:
  - interactive
  - silent
UpgradeBehavior: install
ProductCode: ${key##*\\}
AppsAndFeaturesEntries:
  - DisplayName: $name
    Publisher: $publisher
    DisplayVersion: $version
    ProductCode: ${key##*\\}
ExpectedReturnCodes:
  - InstallerReturnCode: $in_use
    ReturnResponse: packageInUse
  - InstallerReturnCode: 1
    ReturnResponse: cancelledByUser
Installers:
  - Architecture: $architecture
    InstallerUrl: $url
    InstallerSha256: $sha
MANIFEST
{ begin defaultLocale && cat <<MANIFEST && end defaultLocale; } >"$folder/$id.locale.en-US.yaml"
PackageLocale: en-US
Publisher: $publisher
PackageName: $name
PackageUrl: $page
License: MIT
Copyright: $copyright
ShortDescription: A countdown timer that fills the screen with huge digits.
Moniker: vantorel
Tags:
  - countdown
  - timer
MANIFEST
