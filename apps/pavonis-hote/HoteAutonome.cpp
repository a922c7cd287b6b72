#include "HoteAutonome.h"

#include <pavonis/host/BaseDonneesAutonome.h>
#include <pavonis/host/ClientAutonome.h>
#include <pavonis/host/DroitsAutonomes.h>
#include <pavonis/host/EntreeParametre.h>
#include <pavonis/host/Installation.h>
#include <pavonis/host/MagasinParametres.h>
#include <pavonis/host/ServiceDateAutonome.h>
#include <pavonis/platform/Composants.h>
#include <pavonis/platform/DateDuJour.h>
#include <pavonis/platform/RegistreComposants.h>

#include <QFileInfo>

#include <filesystem>
#include <iostream>

namespace pavonis {

namespace {

const QString kProgIdControle = QStringLiteral("Pavonis.Uc_Pavonis");

// The control's library beside the program: in the build tree (lib/), or
// installed (the system's library directory).
QString bibliothequeDuProgramme()
{
    const auto programme = installation::repertoireProgramme();
    auto chemin = (programme / ".." / "lib" / "Orvalis.ocx").lexically_normal();
    if (std::error_code e; !std::filesystem::exists(chemin, e))
        chemin = (programme / ".." / PAVONIS_REPERTOIRE_BIBLIOTHEQUES / "Orvalis.ocx").lexically_normal();
    return QString::fromStdString(chemin.string());
}

std::chrono::year_month_day aujourdhui()
{
    const QDate d = DateDuJour::date();
    return std::chrono::year_month_day{std::chrono::year{d.year()},
                                       std::chrono::month{static_cast<unsigned>(d.month())},
                                       std::chrono::day{static_cast<unsigned>(d.day())}};
}

} // namespace

HoteAutonome::HoteAutonome(const QString& parametres)
{
    magasin_ =
        MagasinParametres::ouvrir(parametres.isEmpty() ? MagasinParametres::cheminParDefaut()
                                                       : std::filesystem::path(parametres.toStdString()),
                                  installation::repertoireInstallation());
    Composants::enregistrerClasse(QStringLiteral("Velmor.EntreeParametre"),
                                  [] { return ObjetPtr(EntreeParametre::creer()); });
    Composants::enregistrerClasse(QStringLiteral("Velmor.ServiceDate"),
                                  [] { return std::make_shared<ServiceDateAutonome>(&aujourdhui); });
}

HoteAutonome::~HoteAutonome()
{
    Composants::revoquerClasse(QStringLiteral("Velmor.EntreeParametre"));
    Composants::revoquerClasse(QStringLiteral("Velmor.ServiceDate"));
}

IUc_Pavonis* HoteAutonome::creerControle(QWidget* fenetre)
{
    // Like an installer: the control library beside this program is the one
    // registered.
    const QString bibliotheque = bibliothequeDuProgramme();
    const auto inscrite = RegistreComposants::classe(kProgIdControle);
    if (QFileInfo::exists(bibliotheque) && (!inscrite || QFileInfo(inscrite->fichier).canonicalFilePath() !=
                                                             QFileInfo(bibliotheque).canonicalFilePath())) {
        const std::int32_t s = Composants::appelerEnregistrement(bibliotheque, true);
        if (s != 0)
            throw Erreur(Erreur::Code::Plateforme,
                         "L'enregistrement de " + bibliotheque.toStdString() +
                             " a échoué : " + Composants::derniereErreur().toStdString());
        std::cerr << "pavonis-hote: composant enregistré : " << bibliotheque.toStdString() << " ("
                  << RegistreComposants::chemin().toStdString() << ")\n";
    }

    IUc_Pavonis* controle = Composants::creerControle<IUc_Pavonis>(kProgIdControle, fenetre);
    controle->TheClient(std::make_shared<ClientAutonome>("DEMO-0001", "Bénéficiaire de démonstration"));
    controle->TheDatabase(std::make_shared<BaseDonneesAutonome>(magasin_));
    std::shared_ptr<IDroits> droits = std::make_shared<DroitsAutonomes>();
    controle->DroitsUtilisateur(droits);
    return controle;
}

} // namespace pavonis
