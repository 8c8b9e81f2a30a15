// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures of key caps and of the interface's symbols: SVG template images in the program's
// resources, drawn in any colour at the screen's pixel density.
#pragma once

#include "model/KeyProps.h"

#include <QColor>
#include <QPixmap>
#include <QString>

#include <optional>

namespace orvane::ui {

// ":/keys/<name>.svg" for a key whose picture is its own (named after its display name) or a
// system image name; nothing for a key without a picture.
std::optional<QString> keyPicturePath(const model::KeyProp& prop);

// ":/symbols/<name>.svg", for example symbolPath("command.square").
QString symbolPath(const char* name);

// The picture's size in points as drawn; empty when the resource is missing or not an SVG.
QSizeF pictureSize(const QString& path);

// The picture as a template: its dark, opaque parts take `color`, its light parts and its
// background stay transparent. Rendered at `devicePixelRatio` so it stays sharp on 2x screens.
// A null pixmap when the resource cannot be read.
QPixmap templatePicture(const QString& path, QSizeF size, const QColor& color,
                        qreal devicePixelRatio);

} // namespace orvane::ui
