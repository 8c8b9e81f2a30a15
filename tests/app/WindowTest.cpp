// SPDX-License-Identifier: GPL-3.0-or-later
// The shell's windows with their real content on two screens (tests/app/screens.json): a
// 1280x720 one and 1280x800 at twice the scale, 640x400 logical. Size, scrolling, placement,
// frames kept across quitting, the keyboard, and the user's language.
#include "support/Subprocess.h"
#include "ui/UiWorld.h"

#include "app/ShellWindows.h"
#include "app/Strings.h"
#include "app/Translations.h"
#include "app/WindowFrames.h"
#include "ui/GuideView.h"
#include "ui/KeyMappingView.h"
#include "ui/PreferencesView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace orvane::test {
namespace {

QScreen* screenNamed(const QString& name)
{
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == name)
            return screen;
    return nullptr;
}

void pointAt(QScreen* screen)
{
    QCursor::setPos(screen->geometry().center());
}

struct Windows {
    Windows() { world.hasFn = false; } // the fn note shows

    std::unique_ptr<QWidget> preferences()
    {
        return std::unique_ptr<QWidget>(app::makePreferencesWindow(
            [this](QWidget* parent) {
                return new ui::PreferencesView(world.preferences, world.services, parent);
            },
            frames, [this] { ++quits; }));
    }

    std::unique_ptr<QWidget> guide()
    {
        QWidget* window = app::makeGuideWindow(
            [this](QWidget* parent) {
                return new ui::GuideView(world.preferences, world.services, parent);
            },
            [this] { ++quits; });
        window->setAttribute(Qt::WA_DeleteOnClose, false); // the test owns it
        return std::unique_ptr<QWidget>(window);
    }

    TempDir folder;
    UiWorld world;
    app::WindowFrames frames{QString::fromStdString((folder.path() / "windows.ini").string())};
    int quits = 0;
};

// Whether `widget` can be seen inside the window: its whole height, and some of its width (a
// wrapped note as wide as the table scrolls sideways with it), within every viewport above it.
bool isShown(const QWidget* widget)
{
    if (!widget->isVisible())
        return false;
    const QRect own(widget->mapTo(widget->window(), QPoint()), widget->size());
    for (const QWidget* ancestor = widget->parentWidget(); ancestor != nullptr;
         ancestor = ancestor->parentWidget()) {
        const QRect area(ancestor->mapTo(widget->window(), QPoint()), ancestor->size());
        if (own.top() < area.top() || own.bottom() > area.bottom() || !area.intersects(own))
            return false;
    }
    return true;
}

TEST(ShellWindows, OpenOnThePointersScreenFitItAndScrollRatherThanClip)
{
    struct Row {
        const char* screen;
        const char* window;
        bool scrollsAtFirst; // the content is taller than the room at the opening size
    };
    const std::vector<Row> rows{
        {"laptop", "preferences", false},
        {"laptop", "guide", false},
        {"scaled", "preferences", true},
        {"scaled", "guide", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.screen) + " " + row.window);
        QScreen* screen = screenNamed(QString::fromLatin1(row.screen));
        ASSERT_NE(screen, nullptr) << "the test's screens are missing (QT_QPA_PLATFORM)";
        pointAt(screen);
        Windows windows;
        const bool isGuide = std::string_view(row.window) == "guide";
        const std::unique_ptr<QWidget> window = isGuide ? windows.guide() : windows.preferences();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        const QRect area = screen->availableGeometry();
        EXPECT_EQ(window->screen(), screen);
        EXPECT_TRUE(area.contains(window->frameGeometry()))
            << window->frameGeometry().width() << "x" << window->frameGeometry().height();
        EXPECT_EQ(window->minimumSize(),
                  QSize(480, 300).boundedTo(app::WindowFrames::roomFor(area)));
        EXPECT_LT(window->minimumWidth(), window->maximumWidth()) << "resizable";

        auto* scroll = window->findChild<QScrollArea*>(QStringLiteral("contentScroll"));
        ASSERT_NE(scroll, nullptr);
        EXPECT_EQ(scroll->verticalScrollBar()->maximum() > 0, row.scrollsAtFirst);
        if (!row.scrollsAtFirst) {
            EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0);
        }

        // At the smallest size the buttons below the content stay, and the rest scrolls into
        // view: nothing is cut off for good.
        window->resize(window->minimumSize());
        QTest::qWait(20);
        EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
        std::vector<QWidget*> reachable;
        if (isGuide) {
            auto* guide = window->findChild<ui::GuideView*>();
            reachable = {guide->finishButton(), guide->table()};
        } else {
            auto* quit = window->findChild<QPushButton*>(QStringLiteral("quitButton"));
            ASSERT_NE(quit, nullptr);
            EXPECT_TRUE(isShown(quit)) << "the Quit row never scrolls away";
            auto* view = window->findChild<ui::PreferencesView*>();
            reachable = {view->fnNote(), view->table()};
        }
        for (QWidget* widget : reachable) {
            SCOPED_TRACE(widget->objectName().toStdString());
            scroll->ensureWidgetVisible(widget, 0, 0);
            if (widget->height() <= scroll->viewport()->height()) {
                EXPECT_TRUE(isShown(widget));
            }
        }
    }
}

TEST(WindowFrames, ASavedFrameComesBackOnlyWhereItStillFits)
{
    struct Row {
        const char* name;
        QRect left; // the frame the window was left with
        bool comesBack;
    };
    const std::vector<Row> rows{
        {"inside the large screen", QRect(40, 60, 700, 500), true},
        {"inside the scaled screen", QRect(1300, 40, 500, 320), true},
        {"larger than any screen", QRect(1300, 40, 1400, 900), false},
    };
    QScreen* laptop = screenNamed(QStringLiteral("laptop"));
    ASSERT_NE(laptop, nullptr);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        pointAt(laptop);
        Windows windows;
        {
            const std::unique_ptr<QWidget> first = windows.preferences();
            first->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(first.get()));
            first->setMinimumSize(0, 0);
            first->setGeometry(row.left);
            QTest::qWait(20);
            first->close();
        }
        const std::unique_ptr<QWidget> again = windows.preferences();
        again->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(again.get()));
        if (row.comesBack) {
            EXPECT_EQ(again->geometry(), row.left);
        } else {
            const QList<QScreen*> screens = QGuiApplication::screens();
            EXPECT_TRUE(std::any_of(screens.begin(), screens.end(), [&again](QScreen* screen) {
                return screen->availableGeometry().contains(again->frameGeometry());
            })) << "on a screen, whole";
            EXPECT_NE(again->size(), row.left.size());
        }
    }
}

TEST(WindowFrames, WindowsOpenWhenOrvaneQuitsKeepTheirFrames)
{
    pointAt(screenNamed(QStringLiteral("laptop")));
    Windows windows;
    const QRect left(30, 50, 720, 520);
    {
        const std::unique_ptr<QWidget> open = windows.preferences();
        open->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(open.get()));
        open->setGeometry(left);
        QTest::qWait(20);
        // What the end of the event loop announces; then the windows are deleted unclosed.
        ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit"));
    }
    const std::unique_ptr<QWidget> next = windows.preferences();
    next->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(next.get()));
    EXPECT_EQ(next->geometry(), left);
}

TEST(ShellWindows, EscapeAndCtrlWCloseCtrlQQuits)
{
    struct Row {
        const char* window;
        QKeySequence keys;
        bool closes;
        int quits;
    };
    const std::vector<Row> rows{
        {"preferences", QKeySequence(Qt::Key_Escape), true, 0},
        {"preferences", QKeySequence(Qt::CTRL | Qt::Key_W), true, 0},
        {"preferences", QKeySequence(Qt::CTRL | Qt::Key_Q), false, 1},
        {"about", QKeySequence(Qt::Key_Escape), true, 0},
        {"about", QKeySequence(Qt::CTRL | Qt::Key_W), true, 0},
        {"about", QKeySequence(Qt::CTRL | Qt::Key_Q), false, 1},
        {"guide", QKeySequence(Qt::Key_Escape), true, 0},
        {"guide", QKeySequence(Qt::CTRL | Qt::Key_W), true, 0},
        {"guide", QKeySequence(Qt::CTRL | Qt::Key_Q), false, 1},
    };
    pointAt(screenNamed(QStringLiteral("laptop")));
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.window) + " " + row.keys.toString().toStdString());
        Windows windows;
        const std::string_view name(row.window);
        std::unique_ptr<QWidget> window;
        if (name == "guide")
            window = windows.guide();
        else if (name == "about")
            window.reset(app::makeAboutWindow(windows.frames, [&windows] { ++windows.quits; }));
        else
            window = windows.preferences();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        // From wherever the focus is inside the window.
        QWidget* target =
            QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : window.get();
        QTest::keySequence(target, row.keys);
        EXPECT_EQ(!window->isVisible(), row.closes);
        EXPECT_EQ(windows.quits, row.quits);
    }
}

// Every label and button that does not wrap is at least as wide as its text needs.
void expectNothingClipped(const QWidget& window)
{
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        const auto* label = qobject_cast<const QLabel*>(widget);
        const bool isText = (label != nullptr && !label->wordWrap() && !label->text().isEmpty()) ||
                            qobject_cast<const QAbstractButton*>(widget) != nullptr;
        if (!isText || !widget->isVisibleTo(&window))
            continue;
        const QString text =
            label != nullptr ? label->text() : qobject_cast<const QAbstractButton*>(widget)->text();
        EXPECT_GE(widget->width(), widget->sizeHint().width()) << text.toStdString();
    }
}

TEST(Translations, TheUsersLanguageWithQtsOwnTexts)
{
    struct Row {
        QLocale locale;
        bool isTranslated;
        QString preferencesTitle;
        QString quit;
        QString guideTitle;
        QString finish;
        QString qtCancel; // from Qt's own catalogue
    };
    const std::vector<Row> rows{
        {QLocale(QLocale::German, QLocale::Germany), true, QStringLiteral("Orvane-Einstellungen"),
         QStringLiteral("Orvane &beenden"), QStringLiteral("Orvane-Einf\u00fchrung"),
         QStringLiteral("&Fertig"), QStringLiteral("Abbrechen")},
        {QLocale(QLocale::German, QLocale::Austria), true, QStringLiteral("Orvane-Einstellungen"),
         QStringLiteral("Orvane &beenden"), QStringLiteral("Orvane-Einf\u00fchrung"),
         QStringLiteral("&Fertig"), QStringLiteral("Abbrechen")},
        {QLocale(QLocale::English, QLocale::UnitedStates), false,
         QStringLiteral("Orvane Preferences"), QStringLiteral("&Quit Orvane"),
         QStringLiteral("Orvane Guide"), QStringLiteral("&Finish"), QStringLiteral("Cancel")},
    };
    pointAt(screenNamed(QStringLiteral("laptop")));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.locale.name().toStdString());
        {
            const app::Translations translations(row.locale);
            EXPECT_EQ(translations.hasOrvane(), row.isTranslated);
            if (row.isTranslated) {
                EXPECT_TRUE(translations.hasQt())
                    << "Qt's catalogues (qt6-translations-l10n) are missing";
            }
            Windows windows;
            const std::unique_ptr<QWidget> preferences = windows.preferences();
            preferences->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(preferences.get()));
            EXPECT_EQ(preferences->windowTitle(), row.preferencesTitle);
            EXPECT_EQ(preferences->findChild<QPushButton*>(QStringLiteral("quitButton"))->text(),
                      row.quit);
            expectNothingClipped(*preferences);
            const std::unique_ptr<QWidget> guide = windows.guide();
            guide->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(guide.get()));
            EXPECT_EQ(guide->windowTitle(), row.guideTitle);
            EXPECT_EQ(guide->findChild<ui::GuideView*>()->finishButton()->text(), row.finish);
            expectNothingClipped(*guide);
            const std::unique_ptr<QWidget> about(app::makeAboutWindow(windows.frames, [] {}));
            about->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(about.get()));
            expectNothingClipped(*about);
            QDialogButtonBox box(QDialogButtonBox::Cancel);
            EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), row.qtCancel);
        }
        // Removed with the object: English again.
        EXPECT_EQ(app::Strings::withAppName(app::stringKey::windowPreferences),
                  QStringLiteral("Orvane Preferences"));
    }
}

} // namespace
} // namespace orvane::test
