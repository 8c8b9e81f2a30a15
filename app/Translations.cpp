// SPDX-License-Identifier: GPL-3.0-or-later
#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace orvane::app {

Translations::Translations(const QLocale& locale)
{
    // Each load tries the locale's languages in order (de_AT, then de) and finds nothing for
    // English, the language the texts are written in.
    m_hasQt = m_qt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (m_hasQt)
        QCoreApplication::installTranslator(&m_qt);
    m_hasOrvane = m_orvane.load(locale, QStringLiteral("orvane"), QStringLiteral("_"),
                                QStringLiteral(":/i18n"));
    if (m_hasOrvane)
        QCoreApplication::installTranslator(&m_orvane);
}

Translations::~Translations()
{
    QCoreApplication::removeTranslator(&m_orvane);
    QCoreApplication::removeTranslator(&m_qt);
}

} // namespace orvane::app
