// pavonis-rapport: the A4 page of an evaluation kept as data, without a
// screen or a window, drawn as the print draws it.

#include <pavonis/engine/TablesGroupes.h>
#include <pavonis/evaluation/FormatEvaluation.h>
#include <pavonis/files/EcritureFichier.h>
#include <pavonis/files/LectureFichier.h>
#include <pavonis/host/BaseDonneesAutonome.h>
#include <pavonis/host/MagasinParametres.h>
#include <pavonis/hostapi/Erreur.h>
#include <pavonis/presentation/DonneesEvaluation.h>
#include <pavonis/printing/ImpressionEvaluation.h>
#include <pavonis/programmes/Options.h>

#include <QBuffer>
#include <QGuiApplication>

#include <iostream>
#include <string>

namespace {

constexpr const char* kAide =
    R"(Usage : pavonis-rapport EVALUATION.json -o RAPPORT.pdf [--pdfa] [--parametres FICHIER]

Écrit la page A4 d'une évaluation AGGIR conservée au format d'échange
(JSON « pavonis-evaluation »), sans écran ni fenêtre : le même dessin que
l'impression. L'en-tête porte la date d'impression, comme sur papier.
EVALUATION.json vaut « - » pour l'entrée standard, RAPPORT.pdf « - » pour la
sortie standard. Une évaluation dont une ligne n'a ni « Fait » ni « Ne fait
pas » est refusée.

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
  -h, --help                affiche cette aide

Code de sortie : 0 le PDF est écrit ; 2 options fausses ou évaluation
refusée ; 1 fichier, paramètres ou PDF impossibles.
)";

constexpr std::size_t kTailleMax = 1 << 20;

// Why the program stops, and with which status.
struct Arret {
    int code;
    std::string message;
};

pavonis::FormatEvaluation::Lecture lireEvaluation(const std::string& entree)
{
    pavonis::FormatEvaluation::Lecture lecture;
    try {
        lecture = pavonis::FormatEvaluation::lire(pavonis::fichiers::lireFichier(entree, kTailleMax));
    } catch (const pavonis::Erreur& e) {
        throw Arret{e.code() == pavonis::Erreur::Code::Stockage ? 1 : 2,
                    "évaluation " + entree + " refusée : " + e.what()};
    }
    // A page with rows nobody answered would show a GIR nobody gave.
    if (const auto sansReponse = lecture.evaluation.lignesSansReponse(); !sansReponse.empty())
        throw Arret{2, "évaluation " + entree + " refusée : lignes sans réponse : " +
                           pavonis::Evaluation::nommer(sansReponse) + "."};
    return lecture;
}

pavonis::ResultatsEvaluation calculer(const pavonis::FormatEvaluation::Lecture& lecture,
                                      const std::string& parametres)
{
    try {
        auto magasin = pavonis::MagasinParametres::ouvrirNommeOuParDefaut(parametres);
        magasin->verifierTablesPoids();
        pavonis::BaseDonneesAutonome base(magasin);
        const auto resultats =
            pavonis::ResultatsEvaluation::calculer(lecture.evaluation, pavonis::lireTablesGroupes(base));
        if (lecture.resultats)
            for (const std::string& ecart : pavonis::FormatEvaluation::ecarts(*lecture.resultats, resultats))
                std::cerr << "pavonis-rapport: avertissement : " << ecart << ".\n";
        return resultats;
    } catch (const pavonis::Erreur& e) {
        throw Arret{1, e.what()};
    }
}

void ecrirePage(const pavonis::FormatEvaluation::Lecture& lecture,
                const pavonis::ResultatsEvaluation& resultats, const std::string& sortie, bool archive)
{
    try {
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        pavonis::impression::exporterPdf(
            pavonis::impression::DonneesEvaluation(lecture.evaluation, resultats), pdf,
            archive ? pavonis::impression::FormePdf::Archive : pavonis::impression::FormePdf::Ordinaire);
        pavonis::fichiers::ecrireDocument(
            sortie, std::string_view(pdf.data().constData(), std::size_t(pdf.data().size())));
    } catch (const pavonis::Erreur& e) {
        throw Arret{1, e.what()};
    }
}

} // namespace

int main(int argc, char** argv)
{
    pavonis::programmes::preparerSorties();
    QCommandLineParser options;
    const QCommandLineOption sortie({QStringLiteral("o"), QStringLiteral("sortie")}, QStringLiteral("le PDF"),
                                    QStringLiteral("RAPPORT.pdf"));
    const QCommandLineOption pdfa(QStringLiteral("pdfa"), QStringLiteral("PDF/A-1b"));
    const QCommandLineOption parametres(QStringLiteral("parametres"), QStringLiteral("magasin"),
                                        QStringLiteral("FICHIER"));
    options.addOptions({sortie, pdfa, parametres, pavonis::programmes::optionAide()});
    options.addPositionalArgument(QStringLiteral("evaluation"), QStringLiteral("l'évaluation"));
    if (const auto fin = pavonis::programmes::analyser(options, argc, argv, kAide))
        return *fin;
    const QStringList entrees = options.positionalArguments();
    const auto usage = [](const char* message) {
        std::cerr << "pavonis-rapport: " << message << "\nEssayez « pavonis-rapport --help ».\n";
        return 2;
    };
    if (entrees.size() != 1)
        return usage(entrees.isEmpty() ? "il manque le fichier de l'évaluation."
                                       : "une seule évaluation à la fois.");
    if (options.value(sortie).isEmpty())
        return usage("il manque le fichier PDF à écrire (-o RAPPORT.pdf).");
    if (options.isSet(parametres) && options.value(parametres).isEmpty())
        return usage("--parametres attend un nom de fichier.");

    // Fonts and the PDF writer need a GUI application, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        const auto lecture = lireEvaluation(entrees.front().toStdString());
        ecrirePage(lecture, calculer(lecture, options.value(parametres).toStdString()),
                   options.value(sortie).toStdString(), options.isSet(pdfa));
    } catch (const Arret& a) {
        std::cerr << "pavonis-rapport: " << a.message << '\n';
        return a.code;
    }
    return 0;
}
