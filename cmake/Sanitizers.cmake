# SPDX-License-Identifier: GPL-3.0-or-later
# ORVANE_SANITIZE: a comma-separated list such as "address,undefined", applied to every target.
set(ORVANE_SANITIZE "" CACHE STRING "Sanitizers to build with (e.g. address,undefined)")
if(ORVANE_SANITIZE)
    add_compile_options(-fsanitize=${ORVANE_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${ORVANE_SANITIZE})
endif()
