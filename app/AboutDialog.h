// SPDX-License-Identifier: GPL-3.0-or-later
// The About window's content: icon, name, version and build, copyright, and the update button.
#pragma once

#include <QWidget>

namespace orvane::app {

class AboutDialog final : public QWidget {
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

// "Ver: 1.2 (34) ", with a warning sign for a value the build does not carry.
QString versionLine();

} // namespace orvane::app
