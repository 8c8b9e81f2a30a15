#include "PlaceholderContent.h"

#include "AppDelegate.h"

#include <QLabel>

namespace orvane::app {

namespace {

QString onOff(bool isOn)
{
    return isOn ? QStringLiteral("on") : QStringLiteral("off");
}

} // namespace

QWidget* makePlaceholderPreferences(QWidget* parent, model::ObservablePreferences& preferences,
                                    model::LaunchAtLoginObservable& launchAtLogin)
{
    const model::Preferences& settings = preferences.instance();
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("preferencesPlaceholder"));
    label->setWordWrap(true);
    label->setMargin(16);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setText(
        QStringLiteral("<p><b>Launch at login:</b> %1<br><b>Show menu bar icon:</b> %2<br>"
                       "<b>Long-press delay:</b> %3 s</p>"
                       "<p>The editor for these settings and the key mapping is not part of this "
                       "build yet. Meanwhile <code>orvanectl settings set KEY JSON</code> and "
                       "<code>orvanectl login on|off</code> change them; Orvane applies a change "
                       "at once.</p>")
            .arg(onOff(launchAtLogin.isEnabled()), onOff(settings.showMenuBarIcon.get()),
                 QString::fromStdString(shortestDecimal(settings.longPressDelay.get()))));
    return label;
}

QWidget* makePlaceholderGuide(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("guidePlaceholder"));
    label->setWordWrap(true);
    label->setMargin(16);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setText(QStringLiteral(
        "<p><b>Welcome to Orvane.</b></p>"
        "<p>Each key of the top row now does three things: a short press does what is printed "
        "on it, a long press opens one of your favourite applications, and a press with fn sends "
        "the function key.</p>"
        "<p>Orvane lives in the tray; its menu opens the preferences. Without a tray, start "
        "Orvane again to open them.</p>"));
    return label;
}

} // namespace orvane::app
