// SPDX-License-Identifier: GPL-3.0-or-later
// Writes one setting over and over until it is killed: the victim of the settings file's crash
// test. Alternates a short and a long value, so that a torn file would show.
#include "platform/linux/desktop/SettingsFile.h"

#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::cerr << "usage: orvane_settings_writer FILE KEY SHORT LONG\n";
        return 2;
    }
    orvane::platform::SettingsFile store(argv[1]);
    const std::string values[] = {argv[3], argv[4]};
    for (unsigned long i = 0;; ++i) {
        if (const auto error = store.set(argv[2], values[i % 2])) {
            std::cerr << "write failed: " << error.message() << '\n';
            return 1;
        }
    }
}
