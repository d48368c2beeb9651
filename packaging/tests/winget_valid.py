#!/usr/bin/env python3
# Checks winget manifests against the schemas the Windows Package Manager
# publishes (JSON Schema draft 7, in SCHEMAS/v1.6.0), each by its
# ManifestType, and refuses keys the schema does not name, which the
# published schemas let through (winget would ignore a misspelt key). YAML
# is read without its timestamp rule, as winget reads it. Prints one line per
# fault and exits 1 if there is any.
# Usage: winget_valid.py SCHEMAS MANIFEST...
import json
import sys

import jsonschema
import yaml


class Loader(yaml.SafeLoader):
    yaml_implicit_resolvers = {
        first: [r for r in resolvers if r[0] != "tag:yaml.org,2002:timestamp"]
        for first, resolvers in yaml.SafeLoader.yaml_implicit_resolvers.items()
    }


# The places in `value` holding a key that the schema's `node` does not name.
def unknown_keys(value, node, schema, where=""):
    while "$ref" in node:
        node = schema["definitions"][node["$ref"].split("/")[-1]]
    if isinstance(value, dict):
        for key, inner in value.items():
            if key in node.get("properties", {}):
                yield from unknown_keys(inner, node["properties"][key], schema, f"{where}/{key}")
            else:
                yield f"{where}/{key}"
    elif isinstance(value, list) and "items" in node:
        for i, inner in enumerate(value):
            yield from unknown_keys(inner, node["items"], schema, f"{where}/{i}")


faults = []
for path in sys.argv[2:]:
    with open(path, encoding="utf-8-sig") as file:
        manifest = yaml.load(file, Loader)
    kind, version = manifest.get("ManifestType"), manifest.get("ManifestVersion")
    with open(f"{sys.argv[1]}/v{version}/manifest.{kind}.{version}.json", encoding="utf-8") as file:
        schema = json.load(file)
    checker = jsonschema.Draft7Validator(schema, format_checker=jsonschema.FormatChecker())
    for error in checker.iter_errors(manifest):
        faults.append(f"{path}: /{'/'.join(map(str, error.absolute_path))}: {error.message}")
    for key in unknown_keys(manifest, schema, schema):
        faults.append(f"{path}: {key}: not a key of the {kind} manifest")
print("\n".join(faults) or f"{len(sys.argv) - 2} manifests valid")
sys.exit(1 if faults else 0)
