// pavonis-regsvr: registers or unregisters a component library in the
// per-user component registry, as its registration exports say.

#include "CodesStatut.h"
#include "Composants.h"
#include "RegistreComposants.h"

#include <pavonis/Erreur.h>

#include <QCoreApplication>

#include <iostream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.contains(QStringLiteral("--help"))) {
        std::cout << "Usage : pavonis-regsvr [/u] BIBLIOTHEQUE\n"
                     "Enregistre la bibliothèque de composants (ou la désenregistre avec /u) dans le\n"
                     "registre des composants de l'utilisateur : "
                  << pavonis::RegistreComposants::chemin().toStdString() << "\n";
        return args.isEmpty() ? 2 : 0;
    }
    const bool desenregistrer = args.front() == QLatin1String("/u") || args.front() == QLatin1String("-u");
    const QStringList fichiers = desenregistrer ? args.mid(1) : args;
    if (fichiers.size() != 1) {
        std::cerr << "pavonis-regsvr: une bibliothèque, et une seule.\n";
        return 2;
    }
    try {
        const std::int32_t s = pavonis::Composants::appelerEnregistrement(fichiers.front(), !desenregistrer);
        if (!pavonis::statut::reussi(s)) {
            std::cerr << "pavonis-regsvr: " << (desenregistrer ? "DllUnregisterServer" : "DllRegisterServer")
                      << " a échoué (statut 0x" << std::hex << static_cast<std::uint32_t>(s) << ").\n";
            return 1;
        }
    } catch (const pavonis::Erreur& e) {
        std::cerr << "pavonis-regsvr: " << e.what() << '\n';
        return 1;
    }
    std::cout << fichiers.front().toStdString() << (desenregistrer ? " désenregistrée" : " enregistrée")
              << " (" << pavonis::RegistreComposants::chemin().toStdString() << ").\n";
    return 0;
}
