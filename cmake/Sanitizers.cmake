# SPDX-License-Identifier: GPL-3.0-or-later
# Sanitizer instrumentation, applied to every target of the build (library,
# program, tests, benchmark) so that no code runs uninstrumented.
#
# KALIBRIX_SANITIZE: AddressSanitizer (with LeakSanitizer) and
# UndefinedBehaviorSanitizer. "undefined" alone leaves out the two
# floating-point checks, so they are named: the strict arithmetic must never
# execute a division by zero, and no double may be converted to an integer
# type that cannot hold it. Every report is fatal (-fno-sanitize-recover).
# libstdc++'s assertions add bounds checks to std::array and friends.
# Line tables are all the debug information a report's stack trace needs
# (file and line of each frame); full -g makes the Qt-heavy sources compile
# and link far slower.
#
# KALIBRIX_FUZZ: the same, plus libFuzzer's coverage instrumentation
# (clang only); the fuzz targets of tests/fuzz link the fuzzer itself.

if(KALIBRIX_SANITIZE OR KALIBRIX_FUZZ)
  set(KALIBRIX_SANITIZER_FLAGS
    -fsanitize=address,undefined,float-divide-by-zero,float-cast-overflow
    -fno-sanitize-recover=all
  )
  add_compile_options(${KALIBRIX_SANITIZER_FLAGS} -fno-omit-frame-pointer -gline-tables-only)
  add_compile_definitions(_GLIBCXX_ASSERTIONS)
  add_link_options(${KALIBRIX_SANITIZER_FLAGS})
endif()

# The suite under the sanitizers at -O1, as AddressSanitizer's authors
# advise: the checks are put in before any optimisation and all stay, and
# the instrumented suite runs several times faster than at -O0.
if(KALIBRIX_SANITIZE)
  add_compile_options(-O1)
endif()

if(KALIBRIX_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "KALIBRIX_FUZZ needs clang (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++-14")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
