# SPDX-License-Identifier: GPL-3.0-or-later
# orvane_warnings: the warning set every Orvane target is built with.
add_library(orvane_warnings INTERFACE)
target_compile_options(orvane_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wnon-virtual-dtor
    -Wold-style-cast -Woverloaded-virtual
    $<$<BOOL:${ORVANE_WARNINGS_AS_ERRORS}>:-Werror>)
