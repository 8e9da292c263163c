#!/usr/bin/env python3
"""The generator of the id names: what it writes for a good table, and which faults of a table stop the build."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import resource_ids  # noqa: E402


def run_quietly(arguments):
    """The generator's exit code and what it said on stderr."""
    stderr = sys.stderr
    with tempfile.TemporaryFile("w+") as captured:
        sys.stderr = captured
        try:
            code = resource_ids.main(arguments)
        finally:
            sys.stderr = stderr
        captured.seek(0)
        return code, captured.read()


def write(path, text):
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


class ResourceIds(unittest.TestCase):
    def run_generator(self, kind, table, templates=()):
        """The exit code, the header written (None when none was) and the message."""
        with tempfile.TemporaryDirectory() as folder:
            source = os.path.join(folder, "table.xml")
            header = os.path.join(folder, "out", "names.h")
            write(source, table)
            paths = []
            for i, template in enumerate(templates):
                paths.append(os.path.join(folder, f"t{i}.xrc"))
                write(paths[-1], '<resource xmlns="http://www.wxwidgets.org/wxxrc">' + template + "</resource>")
            code, message = run_quietly([kind, source, header] + paths)
            text = open(header, encoding="utf-8").read() if os.path.exists(header) else None
            return code, text, message

    def test_named_strings_become_constants_and_unnamed_ones_are_left_out(self):
        code, text, _ = self.run_generator(
            "strings",
            '<strings><string id="3051" name="IDS_ONE_SITE_OPEN">x</string><string id="7">y</string>'
            '<string id="2000" name="IDS_JANUARY"/></strings>',
        )
        self.assertEqual(code, 0)
        self.assertIn("inline constexpr unsigned IDS_ONE_SITE_OPEN = 3051;\n", text)
        self.assertIn("inline constexpr unsigned IDS_JANUARY = 2000;\n", text)
        self.assertNotIn("= 7;", text)

    def test_commands_go_to_wx_by_their_number_and_into_the_templates_table(self):
        code, text, _ = self.run_generator(
            "commands", '<commands><command id="57600" name="ID_FILE_NEW"/><command id="18000"/></commands>'
        )
        self.assertEqual(code, 0)
        self.assertIn("    ID_FILE_NEW = WxCommandId(57600),\n", text)
        self.assertIn('    {"ID_FILE_NEW", ID_FILE_NEW},\n', text)
        self.assertNotIn("18000", text)

    def test_faults_of_a_table_stop_the_build_and_write_nothing(self):
        cases = [
            ("strings", '<strings><string id="1" name="IDS_one">x</string></strings>', "not an identifier"),
            ("strings", '<strings><string id="1" name="IDS_A-B">x</string></strings>', "not an identifier"),
            ("strings", '<strings><string id="1" name="1ST">x</string></strings>', "not an identifier"),
            ("strings", '<strings><string id="1" name="IDS_">x</string></strings>', "not an identifier"),
            ("strings", '<strings><string id="1" name="ID_FILE_NEW">x</string></strings>', "not an identifier"),
            ("commands", '<commands><command id="1" name="IDS_X"/></commands>', "not an identifier"),
            (
                "strings",
                '<strings><string id="1" name="IDS_X">a</string><string id="2" name="IDS_X">b</string></strings>',
                "given to 1 and 2",
            ),
            ("commands", '<commands><command id="5" name="ID_A"/><command id="5" name="ID_B"/></commands>', "twice"),
            ("strings", '<strings><string id="x" name="IDS_X">a</string></strings>', "not a number"),
            ("strings", "<strings><string", "table.xml"),
        ]
        for kind, table, reason in cases:
            with self.subTest(table=table):
                code, text, message = self.run_generator(kind, table)
                self.assertEqual(code, 1)
                self.assertIsNone(text)
                self.assertIn(reason, message)

    def test_a_menu_item_or_tool_of_a_template_must_name_a_command(self):
        table = '<commands><command id="57600" name="ID_FILE_NEW"/></commands>'
        cases = [
            ('<object class="wxMenuItem" name="ID_FILE_NEW"/><object class="separator"/>', 0, ""),
            ('<object class="wxToolBar" name="261"><object class="tool" name="ID_FILE_NEW"/></object>', 0, ""),
            ('<object class="wxMenu" name="160"><object class="wxMenuItem" name="24832"/></object>', 1, '"24832"'),
            ('<object class="tool" name="ID_FILE_OPEN"/>', 1, '"ID_FILE_OPEN" names no command'),
            ('<object class="wxMenuItem"/>', 1, '"None"'),
        ]
        for body, expected, reason in cases:
            with self.subTest(body=body):
                code, text, message = self.run_generator("commands", table, [body])
                self.assertEqual(code, expected, message)
                self.assertEqual(text is None, expected != 0)
                self.assertIn(reason, message)

    def test_an_unchanged_header_is_not_written_again(self):
        with tempfile.TemporaryDirectory() as folder:
            source = os.path.join(folder, "strings.xml")
            header = os.path.join(folder, "string_ids.h")
            write(source, '<strings><string id="1" name="IDS_ONE">x</string></strings>')
            self.assertEqual(resource_ids.main(["strings", source, header]), 0)
            os.utime(header, ns=(1, 1))
            self.assertEqual(resource_ids.main(["strings", source, header]), 0)
            self.assertEqual(os.stat(header).st_mtime_ns, 1)


if __name__ == "__main__":
    unittest.main()
