#include "ShellWindows.h"

#include "AboutDialog.h"
#include "Strings.h"
#include "WindowFrames.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

#include <utility>

namespace orvane::app {

namespace {

constexpr QSize contentSize(480, 300);

QWidget* makeWindow(const QString& objectName, const QString& title, QWidget* content)
{
    auto* window =
        new QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                 Qt::WindowMinimizeButtonHint);
    window->setObjectName(objectName);
    window->setWindowTitle(title);
    window->setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    if (content != nullptr) {
        content->setParent(window);
        layout->addWidget(content, 1);
    }
    return window;
}

void fixSize(QWidget& window)
{
    window.setFixedSize(window.sizeHint().expandedTo(contentSize));
}

void centre(QWidget& window)
{
    if (const QScreen* screen = window.screen()) {
        QRect frame(QPoint(), window.size());
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

} // namespace

QWidget* makePreferencesWindow(const ContentFactory& content, WindowFrames& frames,
                               std::function<void()> quit)
{
    QWidget* window = makeWindow(QStringLiteral("preferencesWindow"),
                                 Strings::withAppName(stringKey::windowPreferences), nullptr);
    if (content)
        static_cast<QVBoxLayout*>(window->layout())->addWidget(content(window), 1);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(12, 6, 12, 12);
    row->addStretch(1);
    auto* quitButton = new QPushButton(Strings::withAppName(stringKey::menuQuit), window);
    quitButton->setObjectName(QStringLiteral("quitButton"));
    quitButton->setAutoDefault(false);
    QObject::connect(quitButton, &QPushButton::clicked, window, std::move(quit));
    row->addWidget(quitButton);
    static_cast<QVBoxLayout*>(window->layout())->addLayout(row);
    fixSize(*window);
    frames.track(*window, QStringLiteral("Preferences"));
    return window;
}

QWidget* makeAboutWindow(WindowFrames& frames)
{
    QWidget* window = makeWindow(QStringLiteral("aboutWindow"),
                                 Strings::withAppName(stringKey::windowAbout), new AboutDialog);
    fixSize(*window);
    frames.track(*window, QStringLiteral("About"));
    return window;
}

QWidget* makeGuideWindow(const ContentFactory& content)
{
    QWidget* window = makeWindow(QStringLiteral("guideWindow"),
                                 Strings::withAppName(stringKey::windowGuide), nullptr);
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (content)
        static_cast<QVBoxLayout*>(window->layout())->addWidget(content(window), 1);
    fixSize(*window);
    centre(*window);
    return window;
}

} // namespace orvane::app
