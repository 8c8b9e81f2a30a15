#include "PreferencesView.h"

#include "KeyMappingView.h"
#include "ToggleSwitch.h"

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
        refresh(); // shows what the login items really hold now
    });
    connect(m_menuBarIcon, &QCheckBox::toggled, this,
            [this](bool on) { m_preferences.instance().showMenuBarIcon.set(on); });
    connect(m_delay, &QSlider::valueChanged, this, [this](int value) {
        m_preferences.instance().longPressDelay.set(static_cast<double>(value) /
                                                    millisecondsPerSecond);
    });

    m_settingsChanges = preferences.objectDidChange().subscribe([this](const auto&) { refresh(); });
    m_loginChanges = services.launchAtLogin.values().subscribe([this](bool) { refresh(); });
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
    const QSignalBlocker blockLogin(m_launchAtLogin);
    const QSignalBlocker blockIcon(m_menuBarIcon);
    const QSignalBlocker blockDelay(m_delay);
    const auto& settings = m_preferences.instance();
    m_launchAtLogin->setChecked(m_services.launchAtLogin.isEnabled());
    m_menuBarIcon->setChecked(settings.showMenuBarIcon.get());
    // A stored delay outside the slider's range is shown, not rewritten.
    const double delay = settings.longPressDelay.get();
    m_delay->setValue(toSlider(delay));
    m_delayText->setText(delayText(delay));
    m_fnNote->setVisible(m_services.hasFnKey && !m_services.hasFnKey());
}

void PreferencesView::showEvent(QShowEvent* event)
{
    refresh();
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
