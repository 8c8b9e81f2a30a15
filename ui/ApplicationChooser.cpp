// SPDX-License-Identifier: GPL-3.0-or-later
#include "ApplicationChooser.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orvane::ui {

QIcon applicationIcon(const std::string& icon)
{
    const QString name = QString::fromStdString(icon);
    QIcon fallback = QIcon::fromTheme(QStringLiteral("application-x-executable"));
    if (name.isEmpty())
        return fallback;
    if (QFileInfo(name).isAbsolute())
        return QFileInfo::exists(name) ? QIcon(name) : fallback;
    return QIcon::fromTheme(name, fallback);
}

ApplicationChooser::ApplicationChooser(const model::InstalledApps& apps, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ApplicationChooser"));
    setWindowTitle(tr("Choose an Application"));
    setModal(true);

    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("search"));
    m_search->setPlaceholderText(tr("Search applications"));
    m_search->setClearButtonEnabled(true);

    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("applications"));
    m_list->setIconSize(QSize(32, 32));
    m_list->setUniformItemSizes(true);

    auto installed = apps.installedApps();
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(installed.begin(), installed.end(), [&](const auto& a, const auto& b) {
        return collator.compare(QString::fromStdString(a.name), QString::fromStdString(b.name)) < 0;
    });
    for (const auto& app : installed) {
        auto* item =
            new QListWidgetItem(applicationIcon(app.icon), QString::fromStdString(app.name));
        item->setData(Qt::UserRole, QString::fromStdString(app.path));
        item->setToolTip(QString::fromStdString(app.path));
        m_list->addItem(item);
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel);
    auto* other = buttons->addButton(tr("Other File…"), QDialogButtonBox::ActionRole);
    other->setObjectName(QStringLiteral("otherFile"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_search);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(420, 480);

    connect(m_search, &QLineEdit::textChanged, this, &ApplicationChooser::filter);
    // Arrows in the search field move through the list, so typing and choosing flow together.
    m_search->installEventFilter(this);
    connect(m_search, &QLineEdit::returnPressed, this, [this] { acceptCurrent(); });
    connect(m_list, &QListWidget::itemActivated, this, [this] { acceptCurrent(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { acceptCurrent(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(other, &QPushButton::clicked, this, [this] { chooseFile(); });
}

std::optional<std::string> ApplicationChooser::choose(const model::InstalledApps& apps,
                                                      QWidget* parent)
{
    ApplicationChooser chooser(apps, parent);
    chooser.exec();
    return chooser.chosenPath();
}

void ApplicationChooser::filter(const QString& text)
{
    QListWidgetItem* firstShown = nullptr;
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem* item = m_list->item(i);
        const bool shown = item->text().contains(text, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (shown && firstShown == nullptr)
            firstShown = item;
    }
    if (m_list->currentItem() == nullptr || m_list->currentItem()->isHidden())
        m_list->setCurrentItem(firstShown);
}

bool ApplicationChooser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
            key == Qt::Key_PageDown) {
            QCoreApplication::sendEvent(m_list, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ApplicationChooser::acceptCurrent()
{
    const QListWidgetItem* item = m_list->currentItem();
    if (item == nullptr || item->isHidden())
        return;
    m_chosen = item->data(Qt::UserRole).toString().toStdString();
    accept();
}

void ApplicationChooser::chooseFile()
{
    QFileDialog dialog(this, tr("Choose an Application"), QString::fromLatin1(applicationsFolder));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    m_chosen = dialog.selectedFiles().constFirst().toStdString();
    accept();
}

} // namespace orvane::ui
