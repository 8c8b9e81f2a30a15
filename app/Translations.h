// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogues for the user's language: Qt's own (the texts of its dialogs and buttons) and
// Orvane's (built into the program), installed for as long as this object lives.
#pragma once

#include <QLocale>
#include <QTranslator>

namespace orvane::app {

class Translations {
public:
    explicit Translations(const QLocale& locale);
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    bool hasOrvane() const { return m_hasOrvane; }
    bool hasQt() const { return m_hasQt; }

private:
    QTranslator m_qt;
    QTranslator m_orvane;
    bool m_hasQt = false;
    bool m_hasOrvane = false;
};

} // namespace orvane::app
