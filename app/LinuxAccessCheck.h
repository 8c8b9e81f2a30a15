// "Trusted" on Linux: /dev/uinput opens for writing and a keyboard Orvane would grab is readable,
// decided as `orvanectl doctor` decides it.
#pragma once

#include "AppPorts.h"

#include "platform/linux/input/InputAccess.h"

#include <QFileInfo>

namespace orvane::app {

class LinuxAccessCheck final : public AccessCheck {
public:
    bool isTrusted() override { return platform::surveyInputAccess().canRun(); }
};

// For tests and screenshot runs only (ORVANE_TEST_ACCESS_FILE): access "exists" while the named
// file does; the keyboards are never touched.
class FileAccessCheck final : public AccessCheck {
public:
    explicit FileAccessCheck(QString file) : m_file(std::move(file)) {}
    bool isTrusted() override { return QFileInfo::exists(m_file); }

private:
    QString m_file;
};

} // namespace orvane::app
