// SPDX-License-Identifier: GPL-3.0-or-later
#include "PreferencesView.h"

#include "KeyMappingView.h"
#include "ToggleSwitch.h"

#include "model/SettingCoding.h"

#include <QEvent>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <array>
#include <cmath>
#include <cstdio>
#include <utility>

namespace orvane::ui {
namespace {

// The slider counts milliseconds: fine enough to feel continuous.
constexpr int millisecondsPerSecond = 1000;

int toSlider(double seconds)
{
    if (!std::isfinite(seconds))
        return static_cast<int>(std::lround(model::defaultLongPressDelay * millisecondsPerSecond));
    const double clamped =
        std::clamp(seconds, PreferencesView::minimumDelay, PreferencesView::maximumDelay);
    return static_cast<int>(std::lround(clamped * millisecondsPerSecond));
}

double toSeconds(int sliderValue)
{
    return static_cast<double>(sliderValue) / millisecondsPerSecond;
}

} // namespace

PreferencesView::PreferencesView(model::ObservablePreferences& preferences,
                                 const ViewServices& services, QWidget* parent)
    : QWidget(parent), m_preferences(preferences), m_services(services)
{
    setObjectName(QStringLiteral("PreferencesView"));

    m_launchAtLogin = new ToggleSwitch;
    m_launchAtLogin->setObjectName(QStringLiteral("launchAtLogin"));
    m_menuBarIcon = new ToggleSwitch;
    m_menuBarIcon->setObjectName(QStringLiteral("showMenuBarIcon"));

    m_delay = new QSlider(Qt::Horizontal);
    m_delay->setObjectName(QStringLiteral("longPressDelay"));
    m_delay->setRange(toSlider(minimumDelay), toSlider(maximumDelay));
    m_delay->setSingleStep(10);
    m_delay->setPageStep(100);
    m_delay->setFixedWidth(250);
    m_delayText = new QLabel;
    m_delayText->setObjectName(QStringLiteral("longPressDelayText"));
    auto* delayRow = new QHBoxLayout;
    delayRow->addWidget(m_delay, 0, Qt::AlignVCenter);
    delayRow->addWidget(m_delayText, 0, Qt::AlignVCenter);
    delayRow->addStretch();

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->addRow(tr("Launch at &login:"), m_launchAtLogin);
    form->addRow(tr("Show menu bar &icon:"), m_menuBarIcon);
    auto* delayLabel = new QLabel(tr("Long press &delay:")); // Alt+D reaches the slider
    delayLabel->setBuddy(m_delay);
    form->addRow(delayLabel, delayRow);

    auto* divider = new QFrame;
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);

    auto* keys = new QLabel(tr("Keys:"));
    QFont title = keys->font();
    title.setPointSizeF(title.pointSizeF() * 1.4);
    keys->setFont(title);

    m_table = new KeyMappingView(preferences, services);

    m_fnNote = new QLabel(
        tr("None of the attached keyboards reports the fn key (most PC keyboards handle it "
           "inside the keyboard), so the Fn + Key column cannot fire here. Use the short or "
           "long press for those actions, or an Apple keyboard."));
    m_fnNote->setObjectName(QStringLiteral("fnNote"));
    m_fnNote->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(12);
    layout->addWidget(divider);
    layout->addSpacing(12);
    layout->addWidget(keys, 0, Qt::AlignLeft);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_fnNote);

    connect(m_launchAtLogin, &QCheckBox::toggled, this, [this](bool on) {
        m_services.launchAtLogin.setEnabled(on);
        showLoginItem(); // what the login items really hold now
    });
    connect(m_menuBarIcon, &QCheckBox::toggled, this,
            [this](bool on) { m_preferences.instance().showMenuBarIcon.set(on); });
    // The text follows a drag as it goes; the value is stored once the handle is let go. Steps
    // from the keyboard or the wheel are stored as they come.
    connect(m_delay, &QSlider::valueChanged, this, [this](int value) {
        m_delayText->setText(delayText(toSeconds(value)));
        if (m_delay->isSliderDown())
            m_isDelayDragged = true;
        else
            m_preferences.instance().longPressDelay.set(toSeconds(value));
    });
    connect(m_delay, &QSlider::sliderReleased, this, [this] {
        if (std::exchange(m_isDelayDragged, false))
            m_preferences.instance().longPressDelay.set(toSeconds(m_delay->value()));
    });

    // A change shows the value that was sent with it; only a value the store could not take is
    // read back, so that the view shows what is stored.
    auto& settings = preferences.instance();
    m_iconChanges = settings.showMenuBarIcon.publisher().subscribe(
        [this](const bool& isShown) { showMenuBarIcon(isShown); });
    m_delayChanges = settings.longPressDelay.publisher().subscribe([this](const double& delay) {
        showDelay(model::SettingCoding<double>::encode(delay)
                      ? delay
                      : m_preferences.instance().longPressDelay.get());
    });
    m_loginChanges = services.launchAtLogin.values().subscribe([this](bool) { showLoginItem(); });
    // The view is made when the preferences open: the keyboards are looked at now, so that the
    // window is sized with the note it shows, and again each time it shows after that.
    lookForFnKey();
    refresh();
}

QString PreferencesView::delayText(double seconds)
{
    // The C library's formatting, so that halves round as "%.1f" does everywhere (1.25 -> 1.2).
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%.1f s", seconds);
    return QString::fromLatin1(text.data());
}

void PreferencesView::refresh()
{
    const auto& settings = m_preferences.instance();
    showLoginItem();
    showMenuBarIcon(settings.showMenuBarIcon.get());
    showDelay(settings.longPressDelay.get());
}

void PreferencesView::lookForFnKey()
{
    m_fnNote->setVisible(m_services.hasFnKey && !m_services.hasFnKey());
}

void PreferencesView::showLoginItem()
{
    const QSignalBlocker blockLogin(m_launchAtLogin);
    m_launchAtLogin->setChecked(m_services.launchAtLogin.isEnabled());
}

void PreferencesView::showMenuBarIcon(bool isShown)
{
    const QSignalBlocker blockIcon(m_menuBarIcon);
    m_menuBarIcon->setChecked(isShown);
}

void PreferencesView::showDelay(double seconds)
{
    // A stored delay outside the slider's range is shown, not rewritten.
    const QSignalBlocker blockDelay(m_delay);
    m_delay->setValue(toSlider(seconds));
    m_delayText->setText(delayText(seconds));
}

// Opening every input node is not free: the keyboards are looked at when the window shows (no
// news of keyboards coming and going reaches the views), not on every change of a setting.
void PreferencesView::showEvent(QShowEvent* event)
{
    refresh();
    if (m_hasShown)
        lookForFnKey();
    m_hasShown = true;
    QWidget::showEvent(event);
}

// The login item may change outside Orvane: read it again whenever the window comes forward.
void PreferencesView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refresh();
    QWidget::changeEvent(event);
}

} // namespace orvane::ui
