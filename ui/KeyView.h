// SPDX-License-Identifier: GPL-3.0-or-later
// A key drawn as a small cap: a rounded outline holding the key's picture or name, with the
// name beside it as a caption for keys that have a picture.
#pragma once

#include "model/CustomKey.h"

#include <QWidget>

#include <optional>

namespace orvane::ui {

// The key's name in the user's language: "Brightness Down", in German "Helligkeit verringern".
QString keyName(model::CustomKey key);

class KeyView : public QWidget {
    Q_OBJECT
public:
    static constexpr int capSize = 36;
    static constexpr int padding = 4;

    // Highlighted keys are drawn in the link colour (the target a cell holds), others in the
    // text colour.
    KeyView(model::CustomKey key, bool highlighted, bool showName, QWidget* parent = nullptr);

    model::CustomKey key() const noexcept { return m_key; }
    QColor color() const;
    // The caption is drawn only for a key with a picture, and only when asked for.
    bool showsCaption() const;
    // The picture inside the cap; nothing when the cap shows the name as text.
    std::optional<QString> picturePath() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    model::CustomKey m_key;
    bool m_highlighted;
    bool m_showName;
};

} // namespace orvane::ui
