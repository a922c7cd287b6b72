#include <pavonis/platform/TraductionQt.h>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace pavonis {

void traduireQt()
{
    static QPointer<QCoreApplication> traduite;
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || traduite == application)
        return;
    traduite = application;
    if (QCoreApplication::translate("QLineEdit", "&Undo") != QLatin1String("&Undo"))
        return;
    auto* traduction = new QTranslator(application);
    if (traduction->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(traduction);
    else
        delete traduction;
}

} // namespace pavonis
