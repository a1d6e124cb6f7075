#include "ui/qt_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace vardel {

QTranslator* InstallQtTranslations(const QLocale& locale) {
    auto* texts = new QTranslator(QCoreApplication::instance());
    if (!texts->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(texts)) {
        delete texts;
        return nullptr;
    }
    return texts;
}

}  // namespace vardel
