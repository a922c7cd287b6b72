// pavonis-regsvr: registers or unregisters a component library in the
// component registry, as its registration exports say: the user's own
// registry, or with --machine the machine's, for every user.

#include <pavonis/hostapi/Erreur.h>
#include <pavonis/platform/CodesStatut.h>
#include <pavonis/platform/Composants.h>
#include <pavonis/platform/RegistreComposants.h>
#include <pavonis/programmes/Options.h>

#include <QCoreApplication>

#include <iostream>

namespace {

constexpr const char* kAide = R"(Usage : pavonis-regsvr [-u | /u] [--machine] BIBLIOTHEQUE

Enregistre une bibliothèque de composants (Orvalis.ocx) dans le registre des
composants de l'utilisateur, ou l'en retire avec -u (ou /u), comme le disent
ses exportations DllRegisterServer et DllUnregisterServer.

  -u, /u      désenregistre la bibliothèque
  --machine   dans le registre de la machine, pour tous les utilisateurs
              (root seul peut l'écrire)
  -h, --help  affiche cette aide

Registres : $PAVONIS_REGISTRE, ou $XDG_CONFIG_HOME/pavonis/registre-composants.json ;
pour la machine, $PAVONIS_REGISTRE_MACHINE, ou /etc/pavonis/registre-composants.json.
Code de sortie : 0 fait ; 1 échec (le message dit pourquoi) ; 2 options fausses.
)";

} // namespace

int main(int argc, char** argv)
{
    using pavonis::RegistreComposants;
    pavonis::programmes::preparerSorties();
    QCommandLineParser options;
    const QCommandLineOption desenregistrer(QStringLiteral("u"), QStringLiteral("désenregistre"));
    const QCommandLineOption machine(QStringLiteral("machine"), QStringLiteral("registre de la machine"));
    options.addOptions({desenregistrer, machine, pavonis::programmes::optionAide()});
    options.addPositionalArgument(QStringLiteral("bibliotheque"), QStringLiteral("la bibliothèque"));
    if (const auto fin = pavonis::programmes::analyser(options, argc, argv, kAide))
        return *fin;
    QCoreApplication app(argc, argv);

    QStringList fichiers = options.positionalArguments();
    const bool retirer = options.isSet(desenregistrer) || fichiers.removeAll(QStringLiteral("/u")) > 0;
    const auto portee = options.isSet(machine) ? RegistreComposants::Portee::Machine
                                               : RegistreComposants::Portee::Utilisateur;
    if (fichiers.size() != 1) {
        std::cerr << "pavonis-regsvr: une bibliothèque, et une seule.\nEssayez « pavonis-regsvr --help ».\n";
        return 2;
    }
    try {
        const std::int32_t s = pavonis::Composants::appelerEnregistrement(fichiers.front(), !retirer, portee);
        if (!pavonis::statut::reussi(s)) {
            std::cerr << "pavonis-regsvr: " << (retirer ? "DllUnregisterServer" : "DllRegisterServer")
                      << " a échoué (statut 0x" << std::hex << static_cast<std::uint32_t>(s) << std::dec
                      << ") : " << pavonis::Composants::derniereErreur().toStdString() << "\n";
            return 1;
        }
    } catch (const pavonis::Erreur& e) {
        std::cerr << "pavonis-regsvr: " << e.what() << '\n';
        return 1;
    }
    std::cout << fichiers.front().toStdString() << (retirer ? " désenregistrée" : " enregistrée") << " ("
              << RegistreComposants::chemin(portee).toStdString() << ").\n";
    return 0;
}
