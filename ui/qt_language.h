// Qt's own texts (file and print dialogs, the buttons of message boxes) in the user's language.
#pragma once

#include <QLocale>

class QTranslator;

namespace vardel {

// Installs Qt's translations for `locale` (Debian's qt6-translations-l10n) into the application,
// which owns them; nullptr when there are none for it (English needs none).
QTranslator* InstallQtTranslations(const QLocale& locale = QLocale());

}  // namespace vardel
