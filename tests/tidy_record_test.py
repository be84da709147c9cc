#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# The record of files that passed clang-tidy (scripts/tidy.py) on a tree of
# its own: one source, one header, one check. A recorded verdict may only be
# kept while nothing it depends on has changed; each row changes one thing
# and says whether the file must be read again, and whether it then passes.
#
#   tests/tidy_record_test.py SCRIPT      SCRIPT: the path of scripts/tidy.py

import json
import os
import shlex
import shutil
import subprocess
import sys
import tempfile
import unittest

TIDY_SCRIPT = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else ""

CONFIG = "Checks: '-*,bugprone-integer-division'\nWarningsAsErrors: '*'\n"
CLEAN = "inline double Ratio(int a, int b) { return a + b; }\n"
FINDING = "inline double Ratio(int a, int b) { return a / b; }\n"
SOURCE = '#include "probe.h"\ndouble Use() { return Ratio(1, 2); }\n'


class TidyRecord(unittest.TestCase):
    def setUp(self):
        self.base = tempfile.mkdtemp(prefix="tidy-record-")
        self.addCleanup(shutil.rmtree, self.base)
        self.tree = self.make_tree("first", header=CLEAN)

    def make_tree(self, name, header, config=CONFIG, define="KALIBRIX_PROBE=1"):
        tree = os.path.join(self.base, name)
        os.makedirs(os.path.join(tree, "build"))
        for file, text in ((".clang-tidy", config), ("probe.h", header), ("probe.cpp", SOURCE)):
            self.write(tree, file, text)
        self.write_commands(tree, define)
        return tree

    def write(self, tree, file, text):
        with open(os.path.join(tree, file), "w", encoding="utf-8") as f:
            f.write(text)

    # The build's compile command, with the absolute paths a build in that
    # tree writes.
    def write_commands(self, tree, define, compiler=("/usr/bin/c++",)):
        build = os.path.join(tree, "build")
        command = shlex.join([*compiler, f"-D{define}", f"-I{tree}", "-std=c++20",
                              "-o", "probe.o", "-c", f"{tree}/probe.cpp"])
        self.write(build, "compile_commands.json", json.dumps(
            [{"directory": build, "command": command, "file": f"{tree}/probe.cpp"}]))

    # Runs the script in the tree; gives whether it passed, whether the file
    # was read, and the output.
    def run_tidy(self, tree):
        run = subprocess.run([sys.executable, TIDY_SCRIPT, "build", "record.txt", f"^{tree}/",
                              "probe.cpp"], cwd=tree, capture_output=True, text=True,
                             check=False, timeout=60)
        read = "1 files: 1 read by clang-tidy" in run.stdout
        self.assertTrue(read or "0 read by clang-tidy" in run.stdout, run.stdout + run.stderr)
        return run.returncode == 0, read, run.stdout

    def recorded(self, tree):
        path = os.path.join(tree, "record.txt")
        if not os.path.exists(path):
            return ""
        with open(path, encoding="utf-8") as f:
            return f.read()

    def test_passed_file_is_recorded_and_not_read_again(self):
        self.assertEqual(self.run_tidy(self.tree)[:2], (True, True))
        self.assertRegex(self.recorded(self.tree), r"^[0-9a-f]{64} probe\.cpp\n$")
        self.assertEqual(self.run_tidy(self.tree)[:2], (True, False))

    def test_the_same_tree_at_another_path_is_not_read_again(self):
        self.run_tidy(self.tree)
        moved = os.path.join(self.base, "a fresh clone elsewhere")
        shutil.copytree(self.tree, moved)
        self.write_commands(moved, "KALIBRIX_PROBE=1")
        self.assertEqual(self.run_tidy(moved)[:2], (True, False))

    def test_a_change_is_read_again(self):
        rows = {
            "a finding put into the header": ("probe.h", FINDING, False),
            "a NOLINT taken out of the header": ("probe.h", FINDING, False),
            "another check in the configuration": (
                ".clang-tidy", CONFIG.replace("division", "division,bugprone-unused-raii"), True),
            "a comment added to the source": ("probe.cpp", SOURCE + "// note\n", True),
        }
        for row, (file, text, passes) in rows.items():
            with self.subTest(row):
                header = FINDING.replace("\n", " // NOLINT\n") if "NOLINT" in row else CLEAN
                tree = self.make_tree(row, header=header)
                self.assertEqual(self.run_tidy(tree)[:2], (True, True))
                self.write(tree, file, text)
                passed, read, output = self.run_tidy(tree)
                self.assertEqual((passed, read), (passes, True), output)
                if not passes:
                    self.assertIn("bugprone-integer-division", output)
                    self.assertEqual(self.recorded(tree), "")

    def test_a_launcher_before_the_compiler_is_no_change(self):
        self.run_tidy(self.tree)
        self.write_commands(self.tree, "KALIBRIX_PROBE=1", ("/usr/bin/ccache", "/usr/bin/g++"))
        self.assertEqual(self.run_tidy(self.tree)[:2], (True, False))

    def test_a_changed_define_is_read_again(self):
        self.run_tidy(self.tree)
        self.write_commands(self.tree, "KALIBRIX_PROBE=2")
        self.assertEqual(self.run_tidy(self.tree)[:2], (True, True))


if __name__ == "__main__":
    unittest.main()
