#pragma once

#include <QString>

// Installs the host's own translations and Qt's for a language code such as
// "de". English needs none. Returns false when the host has no catalogue for
// the language; the texts then stay English.
bool installHostTranslations(const QString& language);

// Installs the catalogues that loaded libraries (the sensor plug-in and the
// widget library it brings along) carry for the language, under
// ":/translations/<name>_<language>.qm". Call it once the plug-in is loaded;
// returns how many were installed.
int installLibraryTranslations(const QString& language);
