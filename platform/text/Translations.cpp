// SPDX-License-Identifier: GPL-3.0-or-later
#include "Translations.h"

#include "UserLocale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>
#include <vector>

namespace {

// Installed by the last choice; removed by the next one before they go.
std::vector<std::unique_ptr<QTranslator>>& installedTranslators() {
    static auto* const translators = new std::vector<std::unique_ptr<QTranslator>>();
    return *translators;
}

void install(std::unique_ptr<QTranslator> translator) {
    QCoreApplication::installTranslator(translator.get());
    installedTranslators().push_back(std::move(translator));
}

} // namespace

namespace Translations {

QString useUserLanguage() {
    for (const auto& translator : installedTranslators()) {
        QCoreApplication::removeTranslator(translator.get());
    }
    installedTranslators().clear();

    for (const std::string& wanted : UserLocale::messageLanguages()) {
        const QString language = QString::fromStdString(wanted.substr(0, wanted.find('_')));
        // The texts in the code are English: an English user gets them as
        // they are, whatever languages follow in the list.
        if (language == QLatin1String("en")) {
            return {};
        }
        // "pt_BR" itself, then "pt": Austrian German reads German.
        for (const QString& name : {QString::fromStdString(wanted), language}) {
            auto own = std::make_unique<QTranslator>();
            if (!own->load(QStringLiteral(":/i18n/tallyglow_%1.qm").arg(name))) {
                continue;
            }
            install(std::move(own));
            // Qt's own texts, where the system has them (Debian's qt6-translations-l10n).
            auto qt = std::make_unique<QTranslator>();
            if (qt->load(QStringLiteral("qtbase_%1").arg(name),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
                install(std::move(qt));
            }
            return name;
        }
    }
    return {};
}

} // namespace Translations
