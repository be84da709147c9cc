#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# clang-tidy over the given source files, as many at once as there are
# cores, each with its compile command from BUILD_DIR/compile_commands.json;
# exit status 1 when any file has findings, each such file's report printed
# whole.
#
#   scripts/tidy.py BUILD_DIR RECORD HEADER_FILTER SOURCE...
#
# A file is only read again when its verdict could have changed. RECORD
# (scripts/tidy-passed.txt, kept in git) holds one line "<sha256> <file>" for
# each file that passed, the hash over everything clang-tidy's verdict on it
# depends on:
#  - clang-tidy's version, and the configuration it applies to the file (the
#    project's .clang-tidy, and tests/.clang-tidy for the tests);
#  - the header filter and the file's compile command, flags and defines;
#  - the file as clang preprocesses it with that command, comments kept (they
#    hold the NOLINT markers) and every included file's name and text with
#    it: the project's headers, the generated moc output, Qt's and the
#    standard library's.
# The checkout's own path is replaced by a placeholder first, so a fresh
# clone anywhere hashes as this one does. A file whose hash is on record is
# the same input to the same checks with the same tool, so it is not read
# again; every other file is, and the record is written anew: the files that
# passed now, no others. A file that clang cannot preprocess is always read.

import concurrent.futures
import hashlib
import json
import os
import shlex
import subprocess
import sys

TIDY = "clang-tidy-14"
CLANG = "clang++-14"

# Arguments of the build's command that only name its outputs (the object
# file, ninja's dependency file), each with how many values follow it.
OUTPUT_ARGUMENTS = {"-o": 1, "-c": 0, "-MD": 0, "-MMD": 0, "-MT": 1, "-MF": 1, "-MQ": 1}


def normalized(data: bytes, roots: list[bytes]) -> bytes:
    for root in roots:
        data = data.replace(root, b"@ROOT@")
    return data


def without_outputs(arguments: list[str]) -> list[str]:
    kept, skip = [], 0
    for argument in arguments:
        if skip:
            skip -= 1
        elif argument in OUTPUT_ARGUMENTS:
            skip = OUTPUT_ARGUMENTS[argument]
        else:
            kept.append(argument)
    return kept


class Checker:
    def __init__(self, build_dir: str, header_filter: str):
        self.build_dir = build_dir
        self.header_filter = header_filter
        top = os.getcwd()
        self.roots = sorted({top.encode(), os.path.realpath(top).encode()}, key=len, reverse=True)
        with open(os.path.join(build_dir, "compile_commands.json"), encoding="utf-8") as f:
            self.commands = {os.path.realpath(os.path.join(e["directory"], e["file"])): e
                             for e in json.load(f)}
        version = subprocess.run([TIDY, "--version"], capture_output=True, check=True).stdout
        # Without its "Host CPU" line, which names this machine's processor:
        # the checks do not depend on it.
        version = b"".join(line for line in version.splitlines(True) if b"Host CPU" not in line)
        self.common = hashlib.sha256(version + normalized(header_filter.encode(), self.roots))

    def key(self, source: str) -> str | None:
        entry = self.commands.get(os.path.realpath(source))
        if entry is None:
            return None
        arguments = without_outputs(entry.get("arguments") or shlex.split(entry["command"]))
        # The compiler's own name is left out (clang reads the file here), and
        # so is a launcher before it, such as ccache.
        if os.path.basename(arguments[0]) == "ccache":
            arguments = arguments[1:]
        preprocessed = subprocess.run([CLANG, *arguments[1:], "-E", "-C", "-o", "-"],
                                      cwd=entry["directory"], capture_output=True, check=False)
        if preprocessed.returncode != 0:
            return None
        config = subprocess.run([TIDY, "--dump-config", "-p", self.build_dir, source],
                                capture_output=True, check=True).stdout
        digest = self.common.copy()
        for part in (config, "\0".join(arguments[1:]).encode(), preprocessed.stdout):
            digest.update(b"\0" + normalized(part, self.roots))
        return digest.hexdigest()

    def tidy(self, source: str) -> tuple[bool, str]:
        run = subprocess.run([TIDY, "--quiet", "-p", self.build_dir,
                              f"--header-filter={self.header_filter}", source],
                             capture_output=True, text=True, check=False)
        report = "\n".join(line for line in (run.stdout + run.stderr).splitlines()
                           if not line.endswith((" warning generated.", " warnings generated.")))
        return run.returncode == 0, report


def read_record(path: str) -> dict[str, str]:
    record = {}
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            for line in f:
                digest, _, source = line.strip().partition(" ")
                record[source] = digest
    return record


def main(argv: list[str]) -> int:
    if len(argv) < 4:
        print(f"usage: {argv[0]} BUILD_DIR RECORD HEADER_FILTER SOURCE...", file=sys.stderr)
        return 2
    build_dir, record_path, header_filter, sources = argv[1], argv[2], argv[3], argv[4:]
    checker = Checker(build_dir, header_filter)
    record = read_record(record_path)

    def check(source: str) -> tuple[str | None, bool, bool, str]:
        key = checker.key(source)
        if key is not None and record.get(source) == key:
            return key, True, False, ""
        passed, report = checker.tidy(source)
        return key, passed, True, report

    passed_now, read, failed = {}, 0, 0
    # The sources come largest first, so that the last ones to finish are
    # short and the cores stay busy to the end.
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count()) as pool:
        futures = {pool.submit(check, source): source for source in sources}
        for future in concurrent.futures.as_completed(futures):
            source = futures[future]
            key, passed, was_read, report = future.result()
            read += was_read
            if passed:
                if key is not None:
                    passed_now[source] = key
            else:
                failed += 1
                print(report, flush=True)

    lines = "".join(f"{passed_now[s]} {s}\n" for s in sorted(passed_now))
    old = open(record_path, encoding="utf-8").read() if os.path.exists(record_path) else None
    if lines != old:
        with open(record_path, "w", encoding="utf-8") as f:
            f.write(lines)
    print(f"{len(sources)} files: {read} read by clang-tidy, {len(sources) - read} unchanged "
          f"since they passed ({record_path}); {failed} with findings")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
