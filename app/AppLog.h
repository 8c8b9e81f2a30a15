// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's and the shell's diagnostics through Qt's logging (standard error, or the journal
// when Qt is set up to write there). Callable from any thread. Debug lines show with
// QT_LOGGING_RULES="orvane.debug=true".
#pragma once

#include "engine/Platform.h"

namespace orvane::app {

class AppLog final : public engine::Log {
public:
    void write(Level level, std::string_view category, std::string_view text) override;
};

} // namespace orvane::app
