#pragma once

#include <QString>

// Installs the host's own translations and Qt's for a language code such as
// "de". English needs none. Returns false when the host has no catalogue for
// the language; the texts then stay English.
bool installHostTranslations(const QString& language);
