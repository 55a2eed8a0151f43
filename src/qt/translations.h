// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace quelo {

// The languages the user asked for, most wanted first ("de_DE", "de"): LANGUAGE's list, then
// the first set of LC_ALL, LC_MESSAGES and LANG. "C" and "POSIX" ask for none, and LC_ALL=C
// also silences LANGUAGE. Only the language part counts: "de_AT.UTF-8" asks for "de_AT", then
// "de".
QStringList wantedLanguages(const QString &language, const QString &lcAll,
                            const QString &lcMessages, const QString &lang);
QStringList wantedLanguagesFromEnvironment();

// Installs the program's own translation and Qt's (standard buttons) for the first wanted
// language that the program has, on the running application; returns that language, or an
// empty text when the program speaks English. The texts inside the 800 x 675 client area are
// never marked for translation, so they read the same in every language.
QString installTranslations(QCoreApplication &app, const QStringList &languages);

} // namespace quelo
