// SPDX-License-Identifier: GPL-3.0-or-later
#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace quelo {

namespace {

// "de_AT.UTF-8@euro" -> "de_AT"; "C" and "POSIX" name no language.
QString languagePart(const QString &entry)
{
    QString name = entry.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    if (name == QLatin1String("C") || name == QLatin1String("POSIX"))
        return {};
    return name;
}

void addWithBase(QStringList &languages, const QString &name)
{
    if (name.isEmpty())
        return;
    if (!languages.contains(name))
        languages << name;
    const QString base = name.section(QLatin1Char('_'), 0, 0);
    if (base != name && !languages.contains(base))
        languages << base;
}

} // namespace

QStringList wantedLanguages(const QString &language, const QString &lcAll,
                            const QString &lcMessages, const QString &lang)
{
    QString locale = lcAll;
    if (locale.isEmpty())
        locale = lcMessages;
    if (locale.isEmpty())
        locale = lang;
    QStringList languages;
    // LC_ALL=C (or POSIX) is how a script asks for the program's own texts: LANGUAGE then
    // counts for nothing, as with gettext. Unlike gettext, LANGUAGE=de counts under LANG=C or
    // no locale at all (a container's default), as the user who typed it means it.
    const bool ownTextsAsked = !lcAll.isEmpty() && languagePart(lcAll).isEmpty();
    if (!ownTextsAsked)
        for (const QString &entry : language.split(QLatin1Char(':'), Qt::SkipEmptyParts))
            addWithBase(languages, languagePart(entry));
    addWithBase(languages, languagePart(locale));
    return languages;
}

QStringList wantedLanguagesFromEnvironment()
{
    return wantedLanguages(qEnvironmentVariable("LANGUAGE"), qEnvironmentVariable("LC_ALL"),
                           qEnvironmentVariable("LC_MESSAGES"), qEnvironmentVariable("LANG"));
}

QString installTranslations(QCoreApplication &app, const QStringList &languages)
{
    for (const QString &language : languages) {
        if (language.startsWith(QLatin1String("en")))
            return {}; // the program's own language, asked for before any other
        auto *own = new QTranslator(&app);
        if (!own->load(QStringLiteral(":/i18n/quelo-link_") + language)) {
            delete own;
            continue;
        }
        app.installTranslator(own);
        // Qt's own texts (standard buttons, file dialogs), where the system has them.
        auto *qt = new QTranslator(&app);
        if (qt->load(QStringLiteral("qtbase_") + language,
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            app.installTranslator(qt);
        else
            delete qt;
        return language;
    }
    return {};
}

} // namespace quelo
