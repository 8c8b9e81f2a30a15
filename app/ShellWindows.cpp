// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellWindows.h"

#include "AboutDialog.h"
#include "Strings.h"
#include "WindowFrames.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWidget>

#include <utility>

namespace orvane::app {

namespace {

constexpr QSize contentSize(480, 300);

// Asks for the whole content (QScrollArea caps its hint at a few dozen lines), so that a window
// opens at its natural size where the screen has room, and scrolls where it has not.
class ContentScroll final : public QScrollArea {
public:
    explicit ContentScroll(QWidget* parent) : QScrollArea(parent)
    {
        setObjectName(QStringLiteral("contentScroll"));
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(true);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }

    QSize sizeHint() const override
    {
        if (widget() == nullptr)
            return QScrollArea::sizeHint();
        const int frame = 2 * frameWidth();
        return widget()->sizeHint() + QSize(frame, frame);
    }
};

void addShortcut(QWidget& window, const QKeySequence& keys, std::function<void()> action)
{
    auto* shortcut = new QShortcut(keys, &window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, &window, std::move(action));
}

// `quit` may be empty: no Ctrl+Q then.
QWidget* makeWindow(const QString& objectName, const QString& title, std::function<void()> quit)
{
    auto* window =
        new QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                 Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    window->setObjectName(objectName);
    window->setWindowTitle(title);
    window->setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* scroll = new ContentScroll(window);
    layout->addWidget(scroll, 1);

    const auto close = [window] { window->close(); };
    addShortcut(*window, QKeySequence(Qt::Key_Escape), close);
    addShortcut(*window, QKeySequence(Qt::CTRL | Qt::Key_W), close);
    if (quit)
        addShortcut(*window, QKeySequence(Qt::CTRL | Qt::Key_Q), std::move(quit));
    return window;
}

void setContent(QWidget& window, QWidget* content)
{
    if (content != nullptr)
        window.findChild<QScrollArea*>(QStringLiteral("contentScroll"), Qt::FindDirectChildrenOnly)
            ->setWidget(content);
}

// Resizable down to the content area every window had, or the screen where that is smaller; the
// first size is what the content asks for, within the screen the user works on.
void fitToScreen(QWidget& window)
{
    const QRect available = WindowFrames::workingScreenArea();
    const QSize room = WindowFrames::roomFor(available);
    window.setMinimumSize(contentSize.boundedTo(room));
    window.resize(window.sizeHint().expandedTo(contentSize).boundedTo(room));
}

} // namespace

QWidget* makePreferencesWindow(const ContentFactory& content, WindowFrames& frames,
                               std::function<void()> quit)
{
    QWidget* window = makeWindow(QStringLiteral("preferencesWindow"),
                                 Strings::withAppName(stringKey::windowPreferences), quit);
    if (content)
        setContent(*window, content(window));
    auto* row = new QHBoxLayout;
    row->setContentsMargins(12, 6, 12, 12);
    row->addStretch(1);
    auto* quitButton = new QPushButton(Strings::withAppName(stringKey::buttonQuit), window);
    quitButton->setObjectName(QStringLiteral("quitButton"));
    quitButton->setAutoDefault(false);
    QObject::connect(quitButton, &QPushButton::clicked, window, std::move(quit));
    row->addWidget(quitButton);
    static_cast<QVBoxLayout*>(window->layout())->addLayout(row);
    fitToScreen(*window);
    frames.track(*window, QStringLiteral("Preferences"));
    return window;
}

QWidget* makeAboutWindow(WindowFrames& frames, std::function<void()> quit)
{
    QWidget* window = makeWindow(QStringLiteral("aboutWindow"),
                                 Strings::withAppName(stringKey::windowAbout), std::move(quit));
    setContent(*window, new AboutDialog);
    fitToScreen(*window);
    frames.track(*window, QStringLiteral("About"));
    return window;
}

QWidget* makeGuideWindow(const ContentFactory& content, std::function<void()> quit)
{
    QWidget* window = makeWindow(QStringLiteral("guideWindow"),
                                 Strings::withAppName(stringKey::windowGuide), std::move(quit));
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (content)
        setContent(*window, content(window));
    fitToScreen(*window);
    WindowFrames::centreOnWorkingScreen(*window);
    return window;
}

} // namespace orvane::app
