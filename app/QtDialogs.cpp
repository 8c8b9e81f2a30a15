// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtDialogs.h"

#include "AppIcons.h"

#include "model/BundleInfo.h"

#include <QMessageBox>

namespace orvane::app {

void QtDialogs::alert(const QString& text)
{
    QMessageBox box;
    box.setWindowTitle(QString::fromStdString(model::appName()));
    box.setWindowIcon(appIcon());
    box.setText(text);
    box.exec();
}

void QtDialogs::error(const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, title, text);
    box.setWindowIcon(appIcon());
    box.exec();
}

} // namespace orvane::app
