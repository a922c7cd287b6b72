#include <pavonis/printing/Printers.h>

#include <pavonis/printing/ServeurCups.h>

#include <pavonis/hostapi/Erreur.h>

#include <QPrinterInfo>

namespace pavonis::impression {

Printers::Printers()
{
    const QStringList noms = QPrinterInfo::availablePrinterNames();
    const QHash<QString, QString> uris = ServeurCups::urisPeripheriques();
    imprimantes_.reserve(noms.size());
    for (const QString& nom : noms)
        imprimantes_.append({nom, uris.value(nom.section(u'/', 0, 0))});
}

Printers::Printers(QList<ImprimanteInstallee> imprimantes) : imprimantes_(std::move(imprimantes)) {}

const ImprimanteInstallee& Printers::item(int position) const
{
    if (position < 0 || position >= Count())
        throw Erreur(Erreur::Code::Plateforme,
                     QStringLiteral("Aucune imprimante à la position %1 (il y en a %2).")
                         .arg(position)
                         .arg(Count())
                         .toStdString());
    return imprimantes_[position];
}

QString Printers::nomParDefaut()
{
    return QPrinterInfo::defaultPrinterName();
}

} // namespace pavonis::impression
