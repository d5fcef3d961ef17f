# SPDX-License-Identifier: GPL-3.0-or-later
# Read by CTest in the sanitizer build before it runs the tests: every test, and every program a
# test starts, reports leaks less the suppressions beside this file, and undefined behaviour with
# its stack.
set(suppressions "suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp")
if(DEFINED ENV{LSAN_OPTIONS})
    set(ENV{LSAN_OPTIONS} "$ENV{LSAN_OPTIONS}:${suppressions}")
else()
    set(ENV{LSAN_OPTIONS} "${suppressions}")
endif()
if(NOT DEFINED ENV{UBSAN_OPTIONS})
    set(ENV{UBSAN_OPTIONS} "print_stacktrace=1")
endif()
