// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutDialog.h"

#include "AppIcons.h"

#include "model/BundleInfo.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane::app {

QString versionLine()
{
    const auto& info = model::mainBundleInfo();
    return QCoreApplication::translate("AboutDialog", "Ver: %1 (%2) ")
        .arg(QString::fromStdString(model::infoString(info, model::infoKey::shortVersion)),
             QString::fromStdString(model::infoString(info, model::infoKey::version)));
}

AboutDialog::AboutDialog(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("aboutDialog"));
    auto* layout = new QVBoxLayout(this);
    layout->setAlignment(Qt::AlignHCenter);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("appIcon"));
    icon->setPixmap(appIcon().pixmap(QSize(96, 96)));
    icon->setFixedSize(96, 96);
    layout->addWidget(icon, 0, Qt::AlignHCenter);

    auto* name = new QLabel(QString::fromStdString(model::appName()), this);
    name->setObjectName(QStringLiteral("appName"));
    QFont titleFont = name->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    name->setFont(titleFont);
    layout->addWidget(name, 0, Qt::AlignHCenter);

    auto* version = new QLabel(versionLine(), this);
    version->setObjectName(QStringLiteral("versionLine"));
    // For a bug report: the version can be selected and copied.
    version->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    version->setCursor(Qt::IBeamCursor);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addSpacing(8);

    auto* copyright = new QLabel(
        QCoreApplication::translate("AboutDialog", "Copyright © 2026 The Orvane developers"), this);
    copyright->setObjectName(QStringLiteral("copyright"));
    copyright->setAlignment(Qt::AlignHCenter);
    QFont small = copyright->font();
    small.setPointSize(10);
    small.setWeight(QFont::Thin);
    copyright->setFont(small);
    layout->addWidget(copyright, 0, Qt::AlignHCenter);

    // There is no update framework on Linux: the package manager updates Orvane. The button is
    // there, but off, and the window says why, for everyone and not only in a tip.
    auto* row = new QHBoxLayout;
    auto* update = new QPushButton(
        QCoreApplication::translate("AboutDialog", "Check for Updates\u2026"), this);
    update->setObjectName(QStringLiteral("checkForUpdates"));
    update->setMinimumWidth(150); // wider where a language needs it
    update->setEnabled(false);
    row->addWidget(update, 0, Qt::AlignVCenter);
    layout->addLayout(row);
    row->setAlignment(Qt::AlignHCenter);
    auto* updates =
        new QLabel(QCoreApplication::translate("AboutDialog",
                                               "Updates come with your system's software updates."),
                   this);
    updates->setObjectName(QStringLiteral("updatesNote"));
    updates->setAlignment(Qt::AlignHCenter);
    updates->setWordWrap(true);
    update->setToolTip(updates->text());
    layout->addWidget(updates, 0, Qt::AlignHCenter);
}

} // namespace orvane::app
