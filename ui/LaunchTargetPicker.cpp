// SPDX-License-Identifier: GPL-3.0-or-later
#include "LaunchTargetPicker.h"

#include "AddShortcutView.h"
#include "ApplicationChooser.h"
#include "DiagnosticLines.h"
#include "KeyPictures.h"
#include "KeyView.h"
#include "PickerPopup.h"
#include "ShortcutText.h"
#include "SymbolView.h"

#include "model/KeyProps.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QVBoxLayout>

#include <filesystem>
#include <type_traits>

namespace orvane::ui {

const model::LaunchTarget LaunchTargetPicker::appPlaceholder = model::AppTarget{"APP_PLACEHOLDER"};
const model::LaunchTarget LaunchTargetPicker::shortcutPlaceholder =
    model::ShortcutTarget{model::Shortcut{{0}, 0}, ""};

namespace {
// Texts beside a 36-point picture within the table's 200-point columns.
constexpr int textWidth = 140;
QString elided(const QString& text, const QFontMetrics& metrics)
{
    return metrics.elidedText(text, Qt::ElideRight, textWidth);
}
} // namespace

LaunchTargetPicker::LaunchTargetPicker(TargetBinding target, const ViewServices& services,
                                       QWidget* parent)
    : QFrame(parent), m_target(std::move(target)), m_services(services),
      m_appChooser([this](QWidget* owner) {
          return ApplicationChooser::choose(m_services.installedApps, owner);
      })
{
    setObjectName(QStringLiteral("LaunchTargetPicker"));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::OpenHandCursor);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    refresh();
}

LaunchTargetPicker::~LaunchTargetPicker()
{
    delete m_popup.data();
}

void LaunchTargetPicker::refresh()
{
    showTarget(m_target.get());
}

void LaunchTargetPicker::showTarget(const model::LaunchTarget& target)
{
    if (m_shown && *m_shown == target)
        return;
    m_shown = target;
    rebuildLabel(target);
}

void LaunchTargetPicker::rebuildLabel(const model::LaunchTarget& target)
{
    auto* layout = static_cast<QHBoxLayout*>(this->layout());
    delete m_label;
    m_label = std::visit(
        [&](const auto& value) -> QWidget* {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, model::KeyTarget>) {
                m_shownText = QStringLiteral("key:") +
                              QString::fromUtf8(std::string(model::caseName(value.key)).c_str());
                m_spokenText = keyName(value.key);
                return new KeyView(value.key, true, true);
            } else if constexpr (std::is_same_v<T, model::AppTarget>) {
                const auto app = m_services.installedApps.describe(value.path);
                const QString name =
                    app && !app->name.empty()
                        ? QString::fromStdString(app->name)
                        : QString::fromStdString(std::filesystem::path(value.path).filename());
                m_shownText = QStringLiteral("app:") + name;
                m_spokenText = tr("Open %1", "an application").arg(name);
                auto* box = new QWidget;
                auto* row = new QHBoxLayout(box);
                row->setContentsMargins(4, 4, 4, 4);
                auto* icon = new QLabel;
                icon->setFixedSize(36, 36);
                icon->setAlignment(Qt::AlignCenter);
                icon->setPixmap(applicationIcon(app ? app->icon : std::string())
                                    .pixmap(QSize(32, 32), devicePixelRatioF()));
                auto* text = new QLabel(elided(name, fontMetrics()));
                text->setToolTip(QString::fromStdString(value.path));
                row->addWidget(icon);
                row->addWidget(text);
                return box;
            } else {
                const QString keys = shortcutText(value.shortcut, m_services.keyboardLayout);
                m_shownText = QStringLiteral("shortcut:") + keys;
                m_spokenText = value.description.empty()
                                   ? tr("Shortcut %1").arg(keys)
                                   : tr("Shortcut %1, %2", "keys, description")
                                         .arg(keys, QString::fromStdString(value.description));
                auto* box = new QWidget;
                auto* row = new QHBoxLayout(box);
                row->setContentsMargins(4, 4, 4, 4);
                row->addWidget(makeSymbol("command.square", 32));
                auto* texts = new QVBoxLayout;
                texts->setSpacing(0);
                auto* combination = new QLabel(keys);
                QFont bold = combination->font();
                bold.setBold(true);
                combination->setFont(bold);
                texts->addWidget(combination);
                const QString description = QString::fromStdString(value.description);
                auto* described = new QLabel(elided(description, fontMetrics()));
                described->setToolTip(description);
                texts->addWidget(described);
                row->addLayout(texts);
                return box;
            }
        },
        target);
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
    layout->insertWidget(0, m_label);
    setAccessibleName(m_spokenText); // what a screen reader says: "F5", "Open Files"
}

void LaunchTargetPicker::write(const model::LaunchTarget& target)
{
    m_target.set(target);
    refresh();
}

void LaunchTargetPicker::openPopup()
{
    if (m_popup && m_popup->isVisible())
        return;
    // A popup closed by a click outside it or by Escape is only hidden: start afresh.
    if (m_popup)
        m_popup->deleteLater();
    m_popup = new PickerPopup(*this);
    // The popup opens beside the cell's label, on its trailing side, and stays on the screen.
    const QRect label = m_label != nullptr ? m_label->geometry() : rect();
    QPoint at = mapToGlobal(QPoint(label.right() + 4, label.top() - 12));
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(std::clamp(at.x(), area.left(),
                           std::max(area.left(), area.right() - m_popup->width())));
        at.setY(std::clamp(at.y(), area.top(),
                           std::max(area.top(), area.bottom() - m_popup->height())));
    }
    m_popup->move(at);
    m_popup->show();
    // The keyboard starts where the highlight stayed, else on the key the cell holds.
    PickerRow* start = m_popup->rows().front();
    for (PickerRow* row : m_popup->rows())
        if (m_hoverKey ? row->value() == *m_hoverKey : row->value() == *m_shown)
            start = row;
    start->setFocus(Qt::PopupFocusReason);
}

void LaunchTargetPicker::closePopup()
{
    if (m_popup) {
        m_popup->close();
        m_popup->deleteLater();
        m_popup = nullptr;
    }
    setFocus(Qt::PopupFocusReason);
}

void LaunchTargetPicker::setHoverKey(const model::LaunchTarget& row)
{
    if (m_hoverKey && *m_hoverKey == row)
        return;
    m_hoverKey = row;
    if (m_popup)
        m_popup->update();
    for (PickerRow* each : m_popup ? m_popup->rows() : std::vector<PickerRow*>{})
        each->update();
}

void LaunchTargetPicker::chooseKey(model::CustomKey key)
{
    diagnostic::printLine(diagnostic::select, model::caseName(key));
    write(model::KeyTarget{key});
    closePopup();
}

void LaunchTargetPicker::chooseApp()
{
    // The popup steps aside while the chooser runs modally; it is closed either way.
    if (m_popup)
        m_popup->hide();
    if (const auto path = m_appChooser(window())) {
        diagnostic::printLine(diagnostic::app, *path);
        write(model::AppTarget{*path});
    }
    closePopup();
}

void LaunchTargetPicker::openShortcutEditor()
{
    if (m_popup)
        m_popup->showSheet();
}

AddShortcutView* LaunchTargetPicker::shortcutEditor() const
{
    return m_popup ? m_popup->sheet() : nullptr;
}

void LaunchTargetPicker::mouseReleaseEvent(QMouseEvent* event)
{
    if (rect().contains(event->position().toPoint()))
        openPopup();
}

void LaunchTargetPicker::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        openPopup();
        return;
    default:
        QFrame::keyPressEvent(event);
    }
}

void LaunchTargetPicker::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 6, 6);
}

} // namespace orvane::ui
