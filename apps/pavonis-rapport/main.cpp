// pavonis-rapport: the A4 page of an evaluation kept as data, without a
// screen or a window, drawn as the print draws it.

#include <pavonis/engine/TablesGroupes.h>
#include <pavonis/host/BaseDonneesAutonome.h>
#include <pavonis/host/Installation.h>
#include <pavonis/host/MagasinParametres.h>
#include <pavonis/presentation/DonneesEvaluation.h>
#include <pavonis/printing/ImpressionEvaluation.h>

#include <pavonis/evaluation/FormatEvaluation.h>
#include <pavonis/files/EcritureFichier.h>
#include <pavonis/files/LectureFichier.h>
#include <pavonis/hostapi/Erreur.h>

#include <QBuffer>
#include <QGuiApplication>

#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

namespace {

constexpr const char* kAide =
    R"(Usage : pavonis-rapport EVALUATION.json -o RAPPORT.pdf [--pdfa] [--parametres FICHIER]

Écrit la page A4 d'une évaluation AGGIR conservée au format d'échange
(JSON « pavonis-evaluation », voir docs/evaluation.schema.json), sans écran
ni fenêtre : le même dessin que l'impression. L'en-tête porte la date
d'impression, comme sur papier. EVALUATION.json vaut « - » pour l'entrée
standard, RAPPORT.pdf « - » pour la sortie standard. Une évaluation dont une
ligne n'a ni « Fait » ni « Ne fait pas » est refusée.

Les modalités, le GIR et le sous-groupe sont recalculés avec les poids du
magasin de paramètres ; des résultats écrits dans le fichier qui diffèrent
du calcul sont signalés, et le calcul l'emporte.

  -o, --sortie RAPPORT.pdf  le fichier PDF à écrire (obligatoire)
  --pdfa                    PDF/A-1b, pour l'archivage : polices incorporées,
                            titre, auteur (l'évaluateur) et sujet (le
                            bénéficiaire) dans les métadonnées XMP
  --parametres FICHIER      magasin de paramètres SQLite (il doit exister) ;
                            par défaut celui de l'utilisateur, créé au premier
                            usage avec les poids publiés
  --help                    affiche cette aide

Code de sortie : 0 le PDF est écrit ; 2 options fausses ou évaluation
refusée ; 1 fichier, paramètres ou PDF impossibles.
)";

constexpr std::size_t kTailleMax = 1 << 20;

int usage(const std::string& message)
{
    std::cerr << "pavonis-rapport: " << message << "\nEssayez « pavonis-rapport --help ».\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string entree, sortie, parametres;
    bool archive = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        const auto valeur = [&](std::string& cible) {
            if (i + 1 >= argc)
                return false;
            cible = argv[++i];
            return !cible.empty();
        };
        if (a == "--help" || a == "-h") {
            std::fputs(kAide, stdout);
            return 0;
        }
        if (a == "-o" || a == "--sortie") {
            if (!valeur(sortie))
                return usage(std::string(a) + " attend un nom de fichier.");
        } else if (a == "--parametres") {
            if (!valeur(parametres))
                return usage("--parametres attend un nom de fichier.");
        } else if (a == "--pdfa") {
            archive = true;
        } else if (a.size() > 1 && a.front() == '-') {
            return usage("option inconnue : " + std::string(a));
        } else if (!entree.empty()) {
            return usage("une seule évaluation à la fois.");
        } else {
            entree = std::string(a);
        }
    }
    if (entree.empty())
        return usage("il manque le fichier de l'évaluation.");
    if (sortie.empty())
        return usage("il manque le fichier PDF à écrire (-o RAPPORT.pdf).");

    // Fonts and the PDF writer need a GUI application, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    pavonis::FormatEvaluation::Lecture lecture;
    try {
        lecture = pavonis::FormatEvaluation::lire(pavonis::fichiers::lireFichier(entree, kTailleMax));
    } catch (const pavonis::Erreur& e) {
        std::cerr << "pavonis-rapport: évaluation " << entree << " refusée : " << e.what() << '\n';
        return e.code() == pavonis::Erreur::Code::Stockage ? 1 : 2;
    }
    // A page with rows nobody answered would show a GIR nobody gave.
    if (const auto sansReponse = lecture.evaluation.lignesSansReponse(); !sansReponse.empty()) {
        std::cerr << "pavonis-rapport: évaluation " << entree
                  << " refusée : lignes sans réponse : " << pavonis::Evaluation::nommer(sansReponse) << ".\n";
        return 2;
    }

    pavonis::ResultatsEvaluation resultats;
    try {
        auto magasin =
            parametres.empty()
                ? pavonis::MagasinParametres::ouvrir(pavonis::MagasinParametres::cheminParDefaut(),
                                                     pavonis::installation::repertoireInstallation())
                : pavonis::MagasinParametres::ouvrirExistant(parametres);
        magasin->verifierTablesPoids();
        pavonis::BaseDonneesAutonome base(magasin);
        resultats =
            pavonis::ResultatsEvaluation::calculer(lecture.evaluation, pavonis::lireTablesGroupes(base));
    } catch (const pavonis::Erreur& e) {
        std::cerr << "pavonis-rapport: " << e.what() << '\n';
        return 1;
    }
    if (lecture.resultats)
        for (const std::string& ecart : pavonis::FormatEvaluation::ecarts(*lecture.resultats, resultats))
            std::cerr << "pavonis-rapport: avertissement : " << ecart << ".\n";

    try {
        const pavonis::impression::DonneesEvaluation donnees(lecture.evaluation, resultats);
        const auto forme =
            archive ? pavonis::impression::FormePdf::Archive : pavonis::impression::FormePdf::Ordinaire;
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        pavonis::impression::exporterPdf(donnees, pdf, forme);
        pavonis::fichiers::ecrireDocument(
            sortie, std::string_view(pdf.data().constData(), std::size_t(pdf.data().size())));
    } catch (const pavonis::Erreur& e) {
        std::cerr << "pavonis-rapport: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
