#!/usr/bin/env python3
"""Writes the C++ header that names the ids of a resource table, so that code says IDS_ONE_SITE_OPEN, not 3051.

    resource_ids.py strings <strings.xml> <header>
        every <string id="N" name="IDS_..."> becomes  inline constexpr unsigned IDS_... = N;
    resource_ids.py commands <commands.xml> <header> [<template.xrc> ...]
        every <command id="N" name="ID_..."> becomes an enumerator ID_... = WxCommandId(N), and the header holds the
        table of names and numbers the dialog templates are read with; every menu item and tool of the templates
        given must name one of the commands (a bare number or an unknown name would reach wx as a new id).

Entries without a name are left out (the code reaches them by a number it computes). The build fails, naming the
entry, when a name is not an identifier of the table's kind, a name or an id occurs twice, or an id is not a number. The
header is rewritten only when its text changes, so that a change of a text alone recompiles nothing.
"""

import os
import re
import sys
import xml.etree.ElementTree as ElementTree

KINDS = {
    # kind: (element, name pattern)
    "strings": ("string", re.compile(r"IDS_[A-Z0-9_]*[A-Z0-9]\Z")),
    "commands": ("command", re.compile(r"ID_[A-Z0-9_]*[A-Z0-9]\Z")),
}


class TableError(Exception):
    pass


def read_entries(kind, source):
    element, pattern = KINDS[kind]
    try:
        root = ElementTree.parse(source).getroot()
    except (ElementTree.ParseError, OSError) as failure:
        raise TableError(f"{source}: {failure}")
    entries = []
    names = {}
    ids = set()
    for entry in root.iter(element):
        id_text = entry.get("id", "")
        if not id_text.isdigit():
            raise TableError(f'{source}: {element} id "{id_text}" is not a number')
        if int(id_text) in ids:
            raise TableError(f"{source}: {element} id {id_text} occurs twice")
        ids.add(int(id_text))
        name = entry.get("name")
        if name is None:
            continue
        if not pattern.match(name):
            raise TableError(f'{source}: {element} {id_text} is named "{name}", not an identifier like {pattern.pattern}')
        if name in names:
            raise TableError(f"{source}: the name {name} is given to {names[name]} and {id_text}")
        names[name] = id_text
        entries.append((name, int(id_text)))
    return entries


def check_templates(entries, templates):
    known = {name for name, _ in entries}
    for template in templates:
        try:
            root = ElementTree.parse(template).getroot()
        except (ElementTree.ParseError, OSError) as failure:
            raise TableError(f"{template}: {failure}")
        for item in root.iter():
            if item.tag.rpartition("}")[2] != "object" or item.get("class") not in ("wxMenuItem", "tool"):
                continue
            name = item.get("name")
            if name not in known:
                raise TableError(
                    f'{os.path.basename(template)}: the {item.get("class")} "{name}" names no command of the table'
                )


def strings_header(entries):
    lines = [
        "#pragma once",
        "",
        "// Generated from resources/strings.xml by scripts/resource_ids.py; the names are given there.",
        "",
    ]
    lines += [f"inline constexpr unsigned {name} = {number};" for name, number in entries]
    return "\n".join(lines) + "\n"


def commands_header(entries):
    lines = [
        "#pragma once",
        "",
        "// Generated from resources/commands.xml by scripts/resource_ids.py; the names are given there.",
        "",
        '#include "platform/resources/command_numbers.h"',
        "",
        "enum CommandName : int",
        "{",
    ]
    lines += [f"    {name} = WxCommandId({number})," for name, number in entries]
    lines += [
        "};",
        "",
        "struct CommandNameEntry",
        "{",
        "    const char* name;",
        "    int id;",
        "};",
        "",
        "// Every named command, for the dialog templates, whose menus and tools name their commands.",
        "inline constexpr CommandNameEntry kCommandNames[] = {",
    ]
    lines += [f'    {{"{name}", {name}}},' for name, _ in entries]
    lines += ["};"]
    return "\n".join(lines) + "\n"


def write_if_changed(path, text):
    try:
        with open(path, encoding="utf-8") as f:
            if f.read() == text:
                return
    except OSError:
        pass
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    temporary = path + ".new"
    with open(temporary, "w", encoding="utf-8") as f:
        f.write(text)
    os.replace(temporary, path)


def main(arguments):
    if len(arguments) < 3 or arguments[0] not in KINDS or (arguments[0] == "strings" and len(arguments) != 3):
        print(__doc__, file=sys.stderr)
        return 2
    kind, source, header = arguments[:3]
    try:
        entries = read_entries(kind, source)
        check_templates(entries, arguments[3:])
    except TableError as failure:
        print(f"resource_ids.py: {failure}", file=sys.stderr)
        return 1
    write_if_changed(header, strings_header(entries) if kind == "strings" else commands_header(entries))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
