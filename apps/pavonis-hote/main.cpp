// pavonis-hote: a host window with the AGGIR evaluation control, on the
// stand-alone host objects; also replays scenarios without a display.

#include "Demonstration.h"

#include <pavonis/host/Installation.h>
#include <pavonis/hostapi/Erreur.h>
#include <pavonis/platform/Ecran.h>
#include <pavonis/programmes/Options.h>

#include <QApplication>

#include <iostream>
#include <optional>

namespace {

constexpr const char* kAide = R"(Usage : pavonis-hote [OPTIONS]

Ouvre une fenêtre hôte avec l'écran d'évaluation AGGIR (composant
Pavonis.Uc_Pavonis), sur le magasin de paramètres autonome. À la fermeture,
indique si l'utilisateur est sorti par « Retour » (W_Sortir).

Options :
  --parametres FICHIER      magasin de paramètres SQLite (par défaut : celui de
                            l'utilisateur, créé au premier lancement)
  --scenario FICHIER        rejoue un scénario sans affichage (offscreen)
  --etat SORTIE.json        écrit l'état de chaque contrôle après le scénario
  --capture SORTIE.png      écrit une capture de la fenêtre après le scénario
  --pdf SORTIE.pdf          écrit la page A4 de l'évaluation en PDF après le
                            scénario
  --charger EVALUATION.json restaure une évaluation (format pavonis-evaluation)
                            sur l'écran au démarrage, après Init
  --evaluation SORTIE.json  écrit l'évaluation (JSON, pavonis-evaluation) après
                            le scénario
  --fhir SORTIE.json        écrit l'évaluation en QuestionnaireResponse FHIR R4
                            après le scénario
  --hauteur-ecran PIXELS    simule un écran de cette hauteur (768 et plus :
                            grande disposition ; moins : petite, avec défilement)
  --mdi                     place la fenêtre hôte dans une sous-fenêtre d'une
                            fenêtre d'application (« Application hôte »)
  -h, --help                affiche cette aide

Sans écran (ni DISPLAY ni WAYLAND_DISPLAY), pavonis-hote rejoue le scénario
d'exemple et écrit pavonis-hote-etat.json et pavonis-hote-capture.png dans le
répertoire courant. Chaque fichier est écrit en entier ou pas du tout.

Le langage des scénarios (une action par ligne : cliquer, saisir, touche,
survoler, defiler...) est décrit dans scenarios.md, installé avec la
documentation de pavonis-outils (/usr/share/doc/pavonis-outils/scenarios.md).

Code de sortie : 0 fait ; 1 paramètres, contrôle ou fichier impossibles ;
2 options fausses, évaluation refusée ou scénario arrêté.
)";

// The command line, by Qt's parser; a status to end with, or nothing to go on.
std::optional<int> lireOptions(int argc, char** argv, pavonis::OptionsDemonstration& o)
{
    QCommandLineParser parseur;
    const auto valeur = [](const char* nom, const char* genre) {
        return QCommandLineOption(QString::fromLatin1(nom), QString(), QString::fromLatin1(genre));
    };
    const QCommandLineOption parametres = valeur("parametres", "FICHIER"),
                             scenario = valeur("scenario", "FICHIER"), etat = valeur("etat", "SORTIE"),
                             capture = valeur("capture", "SORTIE"), pdf = valeur("pdf", "SORTIE"),
                             charger = valeur("charger", "EVALUATION"),
                             evaluation = valeur("evaluation", "SORTIE"), fhir = valeur("fhir", "SORTIE"),
                             hauteur = valeur("hauteur-ecran", "PIXELS"), mdi(QStringLiteral("mdi"));
    parseur.addOptions({parametres, scenario, etat, capture, pdf, charger, evaluation, fhir, hauteur, mdi,
                        pavonis::programmes::optionAide()});
    if (const auto fin = pavonis::programmes::analyser(parseur, argc, argv, kAide))
        return fin;
    const auto erreur = [](const std::string& message) {
        std::cerr << "pavonis-hote: " << message << "\nEssayez « pavonis-hote --help ».\n";
        return 2;
    };
    if (!parseur.positionalArguments().isEmpty())
        return erreur("argument inattendu : " + parseur.positionalArguments().front().toStdString());
    o = {parseur.value(parametres), parseur.value(scenario), parseur.value(etat),
         parseur.value(capture),    parseur.value(pdf),      parseur.value(charger),
         parseur.value(evaluation), parseur.value(fhir)};
    // The standard output says how the user left: no document goes there.
    for (const QString* sortie : {&o.etat, &o.capture, &o.pdf, &o.evaluation, &o.fhir})
        if (*sortie == QLatin1String("-"))
            return erreur(
                "« - » n'est pas un fichier : la sortie standard dit comment l'utilisateur est sorti.");
    o.mdi = parseur.isSet(mdi);
    if (parseur.isSet(hauteur)) {
        bool nombre = false;
        o.hauteurEcran = parseur.value(hauteur).toInt(&nombre);
        if (!nombre || o.hauteurEcran <= 0)
            return erreur("--hauteur-ecran attend un nombre de pixels.");
    }
    return std::nullopt;
}

// Without a display, the demo scenario is replayed and its state and
// capture written here; a replay runs offscreen.
void choisirAffichage(pavonis::OptionsDemonstration& o)
{
    const bool sansEcran = qEnvironmentVariableIsEmpty("DISPLAY") &&
                           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (sansEcran && o.scenario.isEmpty()) {
        o.scenario = QString::fromStdString(
            (pavonis::installation::repertoirePartage() / "exemples" / "scenario-demo.txt").string());
        if (o.etat.isEmpty())
            o.etat = QStringLiteral("pavonis-hote-etat.json");
        if (o.capture.isEmpty())
            o.capture = QStringLiteral("pavonis-hote-capture.png");
        std::cerr << "pavonis-hote: pas d'écran ; rejeu du scénario d'exemple " << o.scenario.toStdString()
                  << " sans affichage.\n";
    }
    if (o.rejeu() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace

int main(int argc, char** argv)
{
    pavonis::programmes::preparerSorties();
    pavonis::OptionsDemonstration options;
    if (const auto fin = lireOptions(argc, argv, options))
        return *fin;
    choisirAffichage(options);
    QApplication app(argc, argv);
    if (options.hauteurEcran > 0)
        pavonis::Ecran::simulerHauteurPixels(options.hauteurEcran);

    std::optional<pavonis::Demonstration> demonstration;
    try {
        demonstration.emplace(options);
    } catch (const pavonis::Erreur& e) {
        std::cerr << "pavonis-hote: " << e.what() << '\n';
        return 1;
    }
    if (!options.charger.isEmpty()) {
        try {
            demonstration->charger(options.charger);
        } catch (const pavonis::Erreur& e) {
            std::cerr << "pavonis-hote: évaluation " << options.charger.toStdString()
                      << " refusée : " << e.what() << '\n';
            return 2;
        }
    }
    int code = 0;
    if (!options.rejeu()) {
        code = demonstration->travailler();
    } else {
        try {
            demonstration->rejouer();
        } catch (const pavonis::Erreur& e) {
            std::cerr << "pavonis-hote: " << e.what() << '\n';
            code = 2;
        }
        const int ecriture = demonstration->ecrireSorties();
        code = code ? code : ecriture;
        demonstration->fermer();
    }
    std::cout << "W_Sortir = " << (demonstration->sortieParRetour() ? "True" : "False") << std::endl;
    return code;
}
