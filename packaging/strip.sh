#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The package's strip, as Debian strips an executable (dh_strip): the debug
# symbols, and the compiler's version strings (.comment, .note) that nothing
# reads at run time.
exec strip --remove-section=.comment --remove-section=.note "$@"
