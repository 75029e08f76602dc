#include "app/qt_translations.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace kx {

bool installQtTranslations(QCoreApplication& app, const QString& programDir) {
    const QString folders[] = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                               programDir + "/translations"};
    for (const QString& folder : folders) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QStringLiteral("qtbase_zh_CN"), folder) &&
            QCoreApplication::installTranslator(translator))
            return true;
        delete translator;
    }
    return false;
}

}  // namespace kx
