#include "WindowFrames.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <utility>

namespace orvane::app {

namespace {

bool canPlaceWindows()
{
    return !QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
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

WindowFrames::WindowFrames(QString file) : m_file(std::move(file)) {}

void WindowFrames::restore(QWidget& window, const QString& name) const
{
    const QSettings settings(m_file, QSettings::IniFormat);
    if (canPlaceWindows()) {
        const QByteArray geometry =
            settings.value(name + QStringLiteral("/geometry")).toByteArray();
        if (!geometry.isEmpty())
            window.restoreGeometry(geometry);
        return;
    }
    const QSize size = settings.value(name + QStringLiteral("/size")).toSize();
    if (size.isValid())
        window.resize(size);
}

void WindowFrames::save(const QWidget& window, const QString& name)
{
    QSettings settings(m_file, QSettings::IniFormat);
    settings.setValue(name + QStringLiteral("/geometry"), window.saveGeometry());
    settings.setValue(name + QStringLiteral("/size"), window.size());
}

void WindowFrames::track(QWidget& window, const QString& name)
{
    if (const QScreen* screen = window.screen()) {
        QRect frame(QPoint(), window.size());
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    restore(window, name);
    new FrameSaver(window, *this, name);
}

} // namespace orvane::app
