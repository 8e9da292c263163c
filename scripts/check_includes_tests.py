#!/usr/bin/env python3
"""The level check itself: a small tree of two libraries and a table of them, kept right and then broken on
purpose."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_includes  # noqa: E402


def write(root, path, text):
    full = os.path.join(root, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "w", encoding="utf-8") as f:
        f.write(text)


TABLE = """# Architecture

| Level | Folder | Library | What it is | Uses |
|---|---|---|---|---|
| {base_level} | `base/` | base | the bottom, `Low` | std |
| 1 | `top/` | top (shared) | the top | {top_uses}, std (its helpers) |
"""


class CheckIncludes(unittest.TestCase):
    # The table's row of top says what its README says unless told otherwise.
    def make_tree(self, root, uses="base", base_level="0", top_uses=None):
        write(root, "CMakeLists.txt", "project(x)\n")
        write(root, "ARCHITECTURE.md", TABLE.format(base_level=base_level, top_uses=top_uses or uses))
        write(root, "base/low.h", "#pragma once\n")
        write(root, "base/low_tests.cpp", '#include "base/low.h"\n#include "top/high.h"\n')
        write(root, "base/low.cpp", '#include "base/low.h"\n')
        write(
            root,
            "top/CMakeLists.txt",
            "add_library(top STATIC high.cpp)\ntarget_link_libraries(top PUBLIC base)\n"
            "pelorin_tests(top high_tests.cpp)\n",
        )
        write(root, "top/README.md", f"# top\nThe top.\nUses: {uses} (its helpers).\n")
        write(root, "top/high.h", '#pragma once\n#include "base/low.h"\n')
        write(root, "top/high.cpp", '#include "top/high.h"\n')
        # Tests of base may use top because base's tests link it.
        write(
            root,
            "base/CMakeLists.txt",
            "add_library(base STATIC low.cpp)\npelorin_tests(base low_tests.cpp)\n"
            "target_link_libraries(base_tests PRIVATE top)\n",
        )
        write(root, "base/README.md", "# base\nThe bottom.\nUses: the standard library.\nTests also use: top.\n")

    def test_a_tree_that_keeps_its_levels_passes(self):
        with tempfile.TemporaryDirectory() as root:
            self.make_tree(root)
            self.assertEqual(check_includes.check(root), [])

    def test_a_planted_include_of_an_unlinked_library_fails(self):
        with tempfile.TemporaryDirectory() as root:
            self.make_tree(root)
            write(root, "base/low.cpp", '#include "base/low.h"\n#include "top/high.h"\n')
            problems = check_includes.check(root)
            self.assertEqual(len(problems), 1)
            self.assertIn('base/low.cpp: includes "top/high.h" of top', problems[0])

    def test_a_readme_that_disagrees_with_the_links_fails(self):
        with tempfile.TemporaryDirectory() as root:
            self.make_tree(root, uses="the standard library")
            problems = check_includes.check(root)
            self.assertEqual(len(problems), 1)
            self.assertIn("top/README.md: 'Uses:' names []", problems[0])

    def test_a_table_that_disagrees_with_the_readmes_or_the_levels_fails(self):
        cases = [
            ("a row's uses", dict(top_uses="the standard library"), "the row of top/ uses [] but its README"),
            ("a level above its user", dict(base_level="2"), "top (level 1) links base of the higher level 2"),
            ("a library apart that is linked", dict(base_level="apart"), "top links base, but one of them stands"),
        ]
        for name, tree, expected in cases:
            with self.subTest(name), tempfile.TemporaryDirectory() as root:
                self.make_tree(root, **tree)
                problems = check_includes.check(root)
                self.assertEqual(len(problems), 1, problems)
                self.assertIn(expected, problems[0])

    def test_a_library_left_out_of_the_table_or_a_row_without_one_fails(self):
        with tempfile.TemporaryDirectory() as root:
            self.make_tree(root)
            write(root, "ARCHITECTURE.md", TABLE.format(base_level="0", top_uses="base").replace("`top/`", "`tip/`"))
            self.assertEqual(
                sorted(check_includes.check(root)),
                [
                    "ARCHITECTURE.md: no row for top/ (top)",
                    "ARCHITECTURE.md: the row of tip/ names a folder that holds no library",
                ],
            )

    def test_files_of_a_tree_folder_that_include_each_other_in_a_circle_fail(self):
        with tempfile.TemporaryDirectory() as root:
            self.make_tree(root)
            # A file and its header are one unit: high.cpp reaching mid.h while mid.cpp reaches high.h is a circle,
            # though no header includes another.
            write(root, "top/mid.h", "#pragma once\n")
            write(root, "top/mid.cpp", '#include "top/mid.h"\n#include "top/high.h"\n')
            write(root, "top/leaf.h", '#pragma once\n#include "base/low.h"\n')
            self.assertEqual(check_includes.check_trees(root, ("top",)), [])
            write(root, "top/high.cpp", '#include "top/high.h"\n#include "top/leaf.h"\n#include "top/mid.h"\n')
            self.assertEqual(
                check_includes.check_trees(root, ("top",)), ["top: high, mid include each other in a circle"]
            )


if __name__ == "__main__":
    unittest.main()
