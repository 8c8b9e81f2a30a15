# SPDX-License-Identifier: GPL-3.0-or-later
# Where the installed programs live, in one place: the desktop program's application id and path,
# which the autostart entry writes into its Exec; read in one place, platform::LinuxSystem.
add_library(orvane_install_paths INTERFACE)
target_compile_definitions(orvane_install_paths INTERFACE
    ORVANE_APP_ID="orvane"
    ORVANE_EXECUTABLE="${CMAKE_INSTALL_FULL_BINDIR}/orvane")
