// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiagnosticLines.h"

#include <cstdio>

namespace orvane::ui::diagnostic {

void printLine(std::string_view prefix, std::string_view text)
{
    std::fwrite(prefix.data(), 1, prefix.size(), stdout);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace orvane::ui::diagnostic
