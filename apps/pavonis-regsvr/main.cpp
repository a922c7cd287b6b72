// pavonis-regsvr: registers or unregisters a component library in the
// component registry, as its registration exports say: the user's own
// registry, or with --machine the machine's, for every user.

#include <pavonis/platform/CodesStatut.h>
#include <pavonis/platform/Composants.h>
#include <pavonis/platform/RegistreComposants.h>

#include <pavonis/hostapi/Erreur.h>

#include <QCoreApplication>

#include <iostream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    using pavonis::RegistreComposants;
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.contains(QStringLiteral("--help"))) {
        std::cout << "Usage : pavonis-regsvr [/u] [--machine] BIBLIOTHEQUE\n"
                     "Enregistre la bibliothèque de composants (ou la désenregistre avec /u) dans le\n"
                     "registre des composants de l'utilisateur : "
                  << RegistreComposants::chemin().toStdString()
                  << "\nAvec --machine, dans celui de la machine, pour tous les utilisateurs : "
                  << RegistreComposants::chemin(RegistreComposants::Portee::Machine).toStdString() << "\n";
        return args.isEmpty() ? 2 : 0;
    }
    bool desenregistrer = false;
    auto portee = RegistreComposants::Portee::Utilisateur;
    QStringList fichiers;
    for (const QString& a : args) {
        if (a == QLatin1String("/u") || a == QLatin1String("-u"))
            desenregistrer = true;
        else if (a == QLatin1String("--machine"))
            portee = RegistreComposants::Portee::Machine;
        else if (a.startsWith(u'-') && a.size() > 1) {
            std::cerr << "pavonis-regsvr: option inconnue : " << a.toStdString() << "\n";
            return 2;
        } else
            fichiers << a;
    }
    if (fichiers.size() != 1) {
        std::cerr << "pavonis-regsvr: une bibliothèque, et une seule.\n";
        return 2;
    }
    const QString registre = RegistreComposants::chemin(portee);
    try {
        const std::int32_t s =
            pavonis::Composants::appelerEnregistrement(fichiers.front(), !desenregistrer, portee);
        if (!pavonis::statut::reussi(s)) {
            std::cerr << "pavonis-regsvr: " << (desenregistrer ? "DllUnregisterServer" : "DllRegisterServer")
                      << " a échoué (statut 0x" << std::hex << static_cast<std::uint32_t>(s) << std::dec
                      << ") : " << pavonis::Composants::derniereErreur().toStdString() << "\n";
            return 1;
        }
    } catch (const pavonis::Erreur& e) {
        std::cerr << "pavonis-regsvr: " << e.what() << '\n';
        return 1;
    }
    std::cout << fichiers.front().toStdString() << (desenregistrer ? " désenregistrée" : " enregistrée")
              << " (" << registre.toStdString() << ").\n";
    return 0;
}
