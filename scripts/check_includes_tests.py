#!/usr/bin/env python3
"""The level check itself: a small tree of two libraries, kept right and then broken on purpose."""

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


class CheckIncludes(unittest.TestCase):
    def make_tree(self, root, uses="base"):
        write(root, "CMakeLists.txt", "project(x)\n")
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


if __name__ == "__main__":
    unittest.main()
