// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFrames.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace orvane::app {

namespace {

// What a window manager's title bar and borders take, at most, around a window's content; the
// frame itself is known only once the window is shown.
constexpr QSize frameAllowance(16, 48);

bool canPlaceWindows()
{
    return !QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

bool fitsOnAScreen(const QRect& frame)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&frame](const QScreen* screen) {
        return screen->availableGeometry().contains(frame);
    });
}

bool fitsOnAScreen(const QSize& size)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&size](const QScreen* screen) {
        const QSize room = WindowFrames::roomFor(screen->availableGeometry());
        return size.width() <= room.width() && size.height() <= room.height();
    });
}

class FrameSaver final : public QObject {
public:
    FrameSaver(QWidget& window, WindowFrames& frames, QString name)
        : QObject(&window), m_frames(frames), m_name(std::move(name))
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == parent() && event->type() == QEvent::Close)
            m_frames.save(*static_cast<QWidget*>(watched), m_name);
        return false;
    }

private:
    WindowFrames& m_frames;
    QString m_name;
};

} // namespace

WindowFrames::WindowFrames(QString file)
    : m_file(std::move(file)), m_quitWatch(std::make_unique<QObject>())
{
    // Quitting deletes the open windows without closing them: their frames are saved first.
    if (QCoreApplication* application = QCoreApplication::instance())
        QObject::connect(application, &QCoreApplication::aboutToQuit, m_quitWatch.get(),
                         [this] { saveOpenWindows(); });
}

WindowFrames::~WindowFrames() = default;

bool WindowFrames::restore(QWidget& window, const QString& name) const
{
    const QSettings settings(m_file, QSettings::IniFormat);
    const QRect before = window.geometry();
    if (canPlaceWindows()) {
        const QByteArray geometry =
            settings.value(name + QStringLiteral("/geometry")).toByteArray();
        if (geometry.isEmpty() || !window.restoreGeometry(geometry))
            return false;
        if (fitsOnAScreen(window.geometry()))
            return true;
    } else {
        const QSize size = settings.value(name + QStringLiteral("/size")).toSize();
        if (!size.isValid())
            return false;
        if (fitsOnAScreen(size)) {
            window.resize(size);
            return true;
        }
    }
    // Left on a screen that is gone or smaller now: the window opens as it does the first time.
    window.setGeometry(before);
    return false;
}

void WindowFrames::save(const QWidget& window, const QString& name)
{
    QSettings settings(m_file, QSettings::IniFormat);
    settings.setValue(name + QStringLiteral("/geometry"), window.saveGeometry());
    settings.setValue(name + QStringLiteral("/size"), window.size());
}

void WindowFrames::saveOpenWindows()
{
    for (const auto& [window, name] : m_tracked)
        if (window != nullptr && window->isVisible())
            save(*window, name);
}

void WindowFrames::track(QWidget& window, const QString& name)
{
    centreOnWorkingScreen(window);
    restore(window, name);
    new FrameSaver(window, *this, name);
    std::erase_if(m_tracked, [](const auto& entry) { return entry.first == nullptr; });
    m_tracked.emplace_back(&window, name);
}

QRect WindowFrames::workingScreenArea()
{
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1280, 720);
}

QSize WindowFrames::roomFor(const QRect& area)
{
    return (area.size() - frameAllowance).expandedTo(QSize(1, 1));
}

void WindowFrames::centreOnWorkingScreen(QWidget& window)
{
    const QRect area = workingScreenArea();
    QRect frame(QPoint(), window.size());
    frame.moveCenter(area.center());
    // A window as large as the room allows keeps its title bar on the screen.
    frame.moveTopLeft(
        QPoint(std::max(frame.left(), area.left()), std::max(frame.top(), area.top())));
    window.move(frame.topLeft());
}

} // namespace orvane::app
