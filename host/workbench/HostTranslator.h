#pragma once

#include <QString>
#include <QStringList>

// The languages the user interface comes in, as codes such as "de".
QStringList hostLanguages();
// A language's name in that language, as a language menu offers it.
QString languageName(const QString& language);

// Installs the host's own translations and Qt's for a language code such as
// "de". English needs none. Returns false when the host has no catalogue for
// the language; the texts then stay English.
bool installHostTranslations(const QString& language);

// Installs the catalogues that loaded libraries (the sensor plug-in and the
// widget library it brings along) carry for the language, under
// ":/translations/<name>_<language>.qm". Call it once the plug-in is loaded;
// returns how many were installed.
int installLibraryTranslations(const QString& language);

// Replaces every catalogue the two functions above installed by those of
// another language, while the program runs; each window re-captions itself
// on the language change event that follows. False when the host has no
// catalogue for the language: the texts are then English.
bool switchTranslations(const QString& language);
