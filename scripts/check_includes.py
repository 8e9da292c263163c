#!/usr/bin/env python3
"""Checks that the libraries keep to their levels.

Every library folder names in its README the libraries of ours it uses ("Uses: ...", and "Tests also use: ..." for
what only its tests and benchmarks need), and ARCHITECTURE.md's table gives every library its level and what it
uses. This script reads each folder's CMakeLists.txt and fails when
- a file includes a header of another library of ours that its own target does not link directly,
- a README's lists and the CMake links disagree,
- the table leaves a library out, names a folder that holds none, or its "Uses" column and the README disagree,
- a library links one of a higher level, or one that stands apart links or is linked by another,
- the files of a folder whose includes must form a tree include each other in a circle (a file and its header
  count as one unit).

Usage: check_includes.py <source root>
"""

import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)
ADD_LIBRARY = re.compile(r"add_library\(\s*(\w+)")
LINKS = re.compile(r"target_link_libraries\(\s*(\w+)([^)]*)\)")
TESTS = re.compile(r"pelorin_tests\(\s*(\w+)([^)]*)\)")
# A library's window tests may be a program of their own: pelorin_gui_tests(<library> NAME <target> ...).
GUI_TESTS_NAMED = re.compile(r"pelorin_gui_tests\(\s*(\w+)\s+NAME\s+(\w+)")
BENCHMARK = re.compile(r"pelorin_benchmark\(\s*(\w+)\s+(\w+)([^)]*)\)")
FUZZ = re.compile(r"pelorin_fuzzer\(\s*(\w+)\s+(\w+)([^)]*)\)")
SOURCE_SUFFIXES = (".h", ".cpp", ".c")
# The folders whose files include each other as a tree: a newcomer reads them from the top down.
TREE_FOLDERS = ("app/shell", "app/docview", "app/palettes")
# pelorin_tests() links these into every test program, so READMEs need not name them; they stand outside the levels.
IMPLICIT_TEST_LIBRARIES = {"pelorin_test_support"}
# A row of ARCHITECTURE.md's table: | level | `folder/` | library | what it is | uses |
TABLE_ROW = re.compile(r"^\|([^|]*)\|\s*`([^`]+)`\s*\|([^|]*)\|[^|]*\|([^|]*)\|\s*$")


def read(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read()


def strip_comments(text):
    return re.sub(r"#[^\n]*", "", text)


def words(text):
    return [w for w in re.split(r"[\s]+", text) if w]


class Library:
    def __init__(self, name, folder):
        self.name = name
        self.folder = folder
        self.links = set()  # libraries of ours the library itself links
        self.test_links = set()  # what its tests, benchmarks and fuzzers link besides the library
        self.test_sources = set()


def find_libraries(root):
    libraries = {}
    for dirpath, dirnames, filenames in os.walk(root):
        # Build trees sit at the top; app/build is a library folder.
        dirnames[:] = [d for d in dirnames if not d.startswith(".") and not (dirpath == root and d.startswith("build"))]
        if "CMakeLists.txt" not in filenames or dirpath == root:
            continue
        text = strip_comments(read(os.path.join(dirpath, "CMakeLists.txt")))
        match = ADD_LIBRARY.search(text)
        if not match:
            continue
        library = Library(match.group(1), os.path.relpath(dirpath, root))
        library.cmake = text
        libraries[library.name] = library
    return libraries


def read_links(libraries):
    for library in libraries.values():
        test_targets = {library.name + "_tests"}
        for match in GUI_TESTS_NAMED.finditer(library.cmake):
            test_targets.add(match.group(2))
        for match in TESTS.finditer(library.cmake):
            library.test_sources.update(words(match.group(2)))
        for pattern in (BENCHMARK, FUZZ):
            for match in pattern.finditer(library.cmake):
                test_targets.add(match.group(1))
                library.test_sources.update(words(match.group(3)))
                if match.group(2) != library.name:
                    library.test_links.add(match.group(2))
        for match in LINKS.finditer(library.cmake):
            target, names = match.group(1), words(match.group(2))
            ours = {n for n in names if n in libraries}
            if target == library.name:
                library.links |= ours
            elif target in test_targets:
                library.test_links |= ours
        library.test_links -= library.links | {library.name} | IMPLICIT_TEST_LIBRARIES


def readme_lists(root, library):
    path = os.path.join(root, library.folder, "README.md")
    if not os.path.exists(path):
        return None, None
    uses, tests = set(), set()
    for line in read(path).splitlines():
        for prefix, bucket in (("Uses:", uses), ("Tests also use:", tests)):
            if line.startswith(prefix):
                text = re.sub(r"\([^)]*\)", "", line[len(prefix) :])
                bucket.update(w for w in re.findall(r"[A-Za-z_]\w*", text))
    return uses, tests


def names_in(text):
    """The words of a list, leaving out what stands in parentheses."""
    return set(re.findall(r"[A-Za-z_]\w*", re.sub(r"\([^)]*\)", "", text)))


class TableRow:
    def __init__(self, level, folder, library, uses):
        self.level = level  # a number, or None for a library that stands apart
        self.folder = folder
        self.library = library  # the words of the Library column
        self.uses = uses  # the words of the Uses column


def architecture_table(root):
    """The rows of ARCHITECTURE.md's table by folder; None when the file is missing."""
    path = os.path.join(root, "ARCHITECTURE.md")
    if not os.path.exists(path):
        return None
    rows = {}
    for line in read(path).splitlines():
        match = TABLE_ROW.match(line)
        if not match:
            continue
        level = match.group(1).strip()
        folder = match.group(2).strip().rstrip("/")
        rows[folder] = TableRow(int(level) if level.isdigit() else None, folder, names_in(match.group(3)),
                                names_in(match.group(4)))
    return rows


def check_table(root, libraries):
    """ARCHITECTURE.md's table against the libraries, their READMEs and their links."""
    rows = architecture_table(root)
    if rows is None:
        return ["ARCHITECTURE.md: missing"]
    problems = []
    folders = {lib.folder: lib for lib in libraries.values()}
    for folder in sorted(set(rows) - set(folders)):
        problems.append(f"ARCHITECTURE.md: the row of {folder}/ names a folder that holds no library")
    for library in sorted(libraries.values(), key=lambda l: l.folder):
        if library.name in IMPLICIT_TEST_LIBRARIES:
            continue
        row = rows.get(library.folder)
        if row is None:
            problems.append(f"ARCHITECTURE.md: no row for {library.folder}/ ({library.name})")
            continue
        if library.name not in row.library:
            problems.append(f"ARCHITECTURE.md: the row of {library.folder}/ does not name its library {library.name}")
        uses, _ = readme_lists(root, library)
        said, source = ({w for w in uses if w in libraries}, "its README") if uses is not None else (
            library.links, "its links")
        named = {w for w in row.uses if w in libraries}
        if named != said:
            problems.append(
                f"ARCHITECTURE.md: the row of {library.folder}/ uses {sorted(named)} but {source} names {sorted(said)}"
            )
    by_name = {lib.name: rows.get(lib.folder) for lib in libraries.values()}
    for library in sorted(libraries.values(), key=lambda l: l.folder):
        row = by_name.get(library.name)
        if row is None:
            continue
        for used in sorted(library.links):
            used_row = by_name.get(used)
            if used_row is None:
                continue
            if row.level is None or used_row.level is None:
                problems.append(f"ARCHITECTURE.md: {library.name} links {used}, but one of them stands apart")
            elif used_row.level > row.level:
                problems.append(
                    f"ARCHITECTURE.md: {library.name} (level {row.level}) links {used} of the higher level "
                    f"{used_row.level}"
                )
    return problems


def owner_of(include, folders):
    best = None
    for folder, name in folders.items():
        if include.startswith(folder + "/") and (best is None or len(folder) > len(best[0])):
            best = (folder, name)
    return best[1] if best else None


def is_test_file(library, filename):
    if filename in library.test_sources:
        return True
    stem = os.path.splitext(filename)[0]
    return stem.endswith(("_tests", "_benchmark", "_fuzzer", "_fake", "_test_support")) or stem.startswith("test_")


def check(root):
    libraries = find_libraries(root)
    read_links(libraries)
    folders = {lib.folder: lib.name for lib in libraries.values()}
    problems = []

    for library in sorted(libraries.values(), key=lambda l: l.folder):
        uses, tests = readme_lists(root, library)
        if uses is None:
            problems.append(f"{library.folder}/README.md: missing")
        else:
            ours_named = {w for w in uses if w in libraries}
            if ours_named != library.links:
                problems.append(
                    f"{library.folder}/README.md: 'Uses:' names {sorted(ours_named)} but the library links "
                    f"{sorted(library.links)}"
                )
            tests_named = {w for w in tests if w in libraries}
            if tests_named != library.test_links:
                problems.append(
                    f"{library.folder}/README.md: 'Tests also use:' names {sorted(tests_named)} but its tests link "
                    f"{sorted(library.test_links)}"
                )

        folder_path = os.path.join(root, library.folder)
        for filename in sorted(os.listdir(folder_path)):
            if not filename.endswith(SOURCE_SUFFIXES):
                continue
            allowed = {library.name} | library.links
            if is_test_file(library, filename):
                allowed |= library.test_links | IMPLICIT_TEST_LIBRARIES
            text = read(os.path.join(folder_path, filename))
            for include in INCLUDE.findall(text):
                owner = owner_of(include, folders)
                if owner is not None and owner not in allowed:
                    problems.append(
                        f"{library.folder}/{filename}: includes \"{include}\" of {owner}, which {library.name} "
                        f"does not link"
                    )
    return problems + check_table(root, libraries) + check_trees(root)


def unit_includes(root, folder):
    """Each unit of the folder (a file's name without its suffix, so that a file and its header are one) with the
    other units of the folder its files include."""
    units = {}
    folder_path = os.path.join(root, folder)
    for filename in sorted(os.listdir(folder_path)):
        if not filename.endswith(SOURCE_SUFFIXES):
            continue
        unit = os.path.splitext(filename)[0]
        used = units.setdefault(unit, set())
        for include in INCLUDE.findall(read(os.path.join(folder_path, filename))):
            directory, name = os.path.split(include)
            stem = os.path.splitext(name)[0]
            if directory == folder and stem != unit:
                used.add(stem)
    return {unit: {u for u in used if u in units} for unit, used in units.items()}


def include_circles(graph):
    """The groups of units that reach each other through their includes (Tarjan's strongly connected components),
    each sorted, leaving out units that stand alone."""
    index, low, on_stack, stack, circles = {}, {}, set(), [], []

    def visit(unit):
        index[unit] = low[unit] = len(index)
        stack.append(unit)
        on_stack.add(unit)
        for used in sorted(graph[unit]):
            if used not in index:
                visit(used)
                low[unit] = min(low[unit], low[used])
            elif used in on_stack:
                low[unit] = min(low[unit], index[used])
        if low[unit] == index[unit]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == unit:
                    break
            if len(group) > 1:
                circles.append(sorted(group))

    for unit in sorted(graph):
        if unit not in index:
            visit(unit)
    return sorted(circles)


def check_trees(root, folders=TREE_FOLDERS):
    problems = []
    for folder in folders:
        if not os.path.isdir(os.path.join(root, folder)):
            continue
        for circle in include_circles(unit_includes(root, folder)):
            problems.append(f"{folder}: {', '.join(circle)} include each other in a circle")
    return problems


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    problems = check(root)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include or README problem(s)")
        return 1
    print("every include is of a library its own library links")
    return 0


if __name__ == "__main__":
    sys.exit(main())
