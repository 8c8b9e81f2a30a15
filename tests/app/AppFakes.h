// SPDX-License-Identifier: GPL-3.0-or-later
// Stand-ins for the desktop program's parts, writing what they were asked into one shared journal,
// so that tests can check the order of things across them.
#pragma once

#include "app/AppPorts.h"
#include "app/Diagnostics.h"
#include "model/LaunchAtLogin.h"
#include "support/Fakes.h"

#include <atomic>
#include <string>
#include <vector>

namespace orvane::test {

using Journal = std::vector<std::string>;

class JournalConsole final : public app::Console {
public:
    explicit JournalConsole(Journal& journal) : m_journal(journal) {}
    void line(const std::string& text) override { m_journal.push_back(text); }

private:
    Journal& m_journal;
};

class FakeMonitor final : public app::KeyboardMonitorControl {
public:
    explicit FakeMonitor(Journal& journal) : m_journal(journal) {}
    void setKeyMapping(model::KeyMapping mapping) override
    {
        mappings.push_back(std::move(mapping));
        m_journal.push_back("monitor: setKeyMapping");
    }
    void setLongPressDelay(double seconds) override
    {
        delays.push_back(seconds);
        m_journal.push_back("monitor: setLongPressDelay");
    }
    std::error_code start() override
    {
        m_journal.push_back("monitor: start");
        return startError;
    }

    std::vector<model::KeyMapping> mappings;
    std::vector<double> delays;
    std::error_code startError;

private:
    Journal& m_journal;
};

// Trusted from the `trustedFromCall`-th question on (1: at once; 0: never).
class FakeAccess final : public app::AccessCheck {
public:
    bool isTrusted() override
    {
        ++calls;
        return trustedFromCall > 0 && calls >= trustedFromCall;
    }
    int trustedFromCall = 1;
    int calls = 0;
};

class FakeDialogs final : public app::Dialogs {
public:
    explicit FakeDialogs(Journal& journal) : m_journal(journal) {}
    void alert(const QString& text) override
    {
        m_journal.push_back("alert: " + text.toStdString());
    }
    void error(const QString& title, const QString& text) override
    {
        m_journal.push_back("error: " + title.toStdString() + ": " + text.toStdString());
    }

private:
    Journal& m_journal;
};

class FakeLoginItems final : public model::LoginItems {
public:
    explicit FakeLoginItems(Journal& journal) : m_journal(journal) {}
    bool isEnabled() const override { return enabled; }
    std::error_code setEnabled(bool isEnabled) override
    {
        enabled = isEnabled;
        m_journal.push_back(isEnabled ? "login: on" : "login: off");
        return {};
    }
    bool enabled = false;

private:
    Journal& m_journal;
};

inline bool contains(const Journal& journal, const std::string& entry)
{
    return std::find(journal.begin(), journal.end(), entry) != journal.end();
}

inline long count(const Journal& journal, const std::string& entry)
{
    return std::count(journal.begin(), journal.end(), entry);
}

} // namespace orvane::test
