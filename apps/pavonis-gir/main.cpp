// pavonis-gir: scores CSV evaluations with the AGGIR group algorithm.

#include <pavonis/gir/ScoreurCsv.h>
#include <pavonis/gir/ScoreurJsonl.h>

#include <pavonis/engine/PoidsGroupes.h>
#include <pavonis/engine/TableGir.h>
#include <pavonis/engine/TablesGroupes.h>
#include <pavonis/files/EcritureFichier.h>
#include <pavonis/host/BaseDonneesAutonome.h>
#include <pavonis/host/MagasinParametres.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <tuple>

#include <getopt.h>
#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr const char* kAide =
    R"(Usage : pavonis-gir [--parametres FICHIER] [--format csv|jsonl] [--synthese[=FICHIER]] [ENTREE]

Calcule le GIR (1 à 6) et le sous-groupe de chaque évaluation AGGIR d'un
fichier CSV, selon l'algorithme de la grille AGGIR 2008. Lit ENTREE.csv, ou
l'entrée standard si le fichier est absent ou vaut « - », et écrit sur la
sortie standard le même CSV augmenté des colonnes gir et sous_groupe.

Le séparateur (« ; » ou « , ») est reconnu sur la ligne d'en-tête. Le fichier
est en UTF-8. Les autres colonnes sont recopiées telles quelles, dans leur
ordre. Le sous-groupe (A, B ou C) n'est rempli que pour les GIR 5 et 6.

Mode modalités : l'en-tête contient les dix colonnes (dans n'importe quel
ordre) coherence, orientation, toilette, habillage, alimentation,
elimination, transferts, deplacements_interieurs, deplacements_exterieurs,
alerter ; chaque cellule vaut A, B ou C.

  dossier;coherence;orientation;toilette;habillage;alimentation;elimination;transferts;deplacements_interieurs;deplacements_exterieurs;alerter
  D-001;A;A;A;A;A;A;A;A;A;A
  D-002;C;C;C;C;C;C;C;C;C;C
donne :
  dossier;...;alerter;gir;sous_groupe
  D-001;A;A;A;A;A;A;A;A;A;A;6;A
  D-002;C;C;C;C;C;C;C;C;C;C;1;

Mode lignes : l'en-tête contient les 24 lignes d'évaluation, nommées par
leur clé : Transferts, DeplacInter, ToiletteH, ToiletteB, EliminationFecale,
EliminationUrinaire, HabillageH, HabillageM, HabillageB, Cuisine,
AlimentationServir, AlimentationManger, SuiviTraitement, Menage, Alerter,
DeplacExter, Transports, ActivitesTempsLibre, Achats, Gestion,
OrientationTemps, OrientationEspace, CoherenceCommunication,
CoherenceComportement. Chaque cellule vaut F (« Fait ») ou N (« Ne fait
pas ») suivi des adverbes non remplis, dans n'importe quel ordre, parmi
S (spontanément), T (totalement), C (correctement), H (habituellement) :
N, NS, NTH, NSTCH... « F » donne A ; « N » seul ou avec les quatre adverbes
donne C ; avec un à trois adverbes, B. La sortie porte aussi les modalités
des six variables composées : toilette, elimination, habillage,
alimentation, orientation, coherence (avant gir).

  Transferts,DeplacInter,ToiletteH,...,CoherenceComportement
  F,NS,NTH,...,F

Évaluations au format d'échange (--format jsonl, ou un fichier .jsonl) : une
évaluation JSON « pavonis-evaluation » par ligne (voir
docs/evaluation.schema.json). La sortie est un CSV aux colonnes du mode
lignes : evaluateur, beneficiaire, date, les 24 lignes (F, N et les adverbes,
vide pour une ligne sans choix), les six modalités composées, gir et
sous_groupe. Une ligne fautive est signalée avec le chemin JSON de son défaut
et omise ; des résultats écrits dans une ligne qui diffèrent du calcul sont
signalés comme avertissements.

Synthèse (--synthese) : après les lignes calculées, sur la sortie d'erreur
(ou dans FICHIER avec --synthese=FICHIER), le nombre de personnes par GIR,
les lignes non calculées et le GMP (GIR moyen pondéré : somme des points du
GIR de chaque personne — GIR 1 : 1000, 2 : 840, 3 : 660, 4 : 420, 5 : 250,
6 : 70 — divisée par le nombre de personnes évaluées).

Poids : lus dans le magasin de paramètres (section AGGIRPARAM, entrées A à H).
  --parametres FICHIER  magasin SQLite à utiliser (il doit exister) ;
                        par défaut : le magasin de l'utilisateur, créé au
                        premier usage avec les poids publiés.
  --help                affiche cette aide.

Lignes en erreur (lettre inconnue, cellule vide, nombre de colonnes faux) :
signalées sur la sortie d'erreur avec leur numéro de ligne, la colonne et la
valeur, et recopiées avec gir et sous_groupe vides ; les autres lignes sont
calculées.

Code de sortie : 0 si toutes les lignes sont calculées ; 2 si une ligne ou
l'en-tête est en erreur (en-tête : aucune sortie) ou si les options sont
fausses ; 1 si le fichier d'entrée ou les paramètres sont illisibles.
)";

// The population figures of a batch, as an EHPAD's funding sheet uses them.
std::string synthese(const std::array<std::size_t, 7>& parGir, std::size_t nonCalculees)
{
    static constexpr std::array<int, 7> kPoints{0, 1000, 840, 660, 420, 250, 70};
    std::size_t personnes = 0;
    long long points = 0;
    for (std::size_t g = 1; g <= 6; ++g) {
        personnes += parGir[g];
        points += static_cast<long long>(parGir[g]) * kPoints[g];
    }
    std::string s = "Synthèse\nPersonnes évaluées : " + std::to_string(personnes) + "\n";
    for (std::size_t g = 1; g <= 6; ++g)
        s += "GIR " + std::to_string(g) + " : " + std::to_string(parGir[g]) + "\n";
    s += "Lignes non calculées : " + std::to_string(nonCalculees) + "\n";
    if (personnes == 0)
        return s + "GMP (GIR moyen pondéré) : non calculable, aucune personne évaluée\n";
    // Two decimals, French style.
    const long long centiemes =
        (points * 100 + static_cast<long long>(personnes) / 2) / static_cast<long long>(personnes);
    const std::string decimales = std::to_string(100 + centiemes % 100).substr(1);
    return s + "GMP (GIR moyen pondéré) : " + std::to_string(centiemes / 100) + "," + decimales + "\n";
}

int usage(const std::string& message)
{
    std::cerr << "pavonis-gir: " << message << "\nEssayez « pavonis-gir --help ».\n";
    return 2;
}

struct Options {
    std::string parametres, entree = "-", format, fichierSynthese;
    bool synthese = false;
};

// The command line, by the C library's getopt_long; a status to end with,
// or nothing to go on.
std::optional<int> lireOptions(int argc, char** argv, Options& o)
{
    enum { kParametres = 1, kFormat, kSynthese, kOptionAide };
    static const option kOptions[] = {{"parametres", required_argument, nullptr, kParametres},
                                      {"format", required_argument, nullptr, kFormat},
                                      {"synthese", optional_argument, nullptr, kSynthese},
                                      {"help", no_argument, nullptr, kOptionAide},
                                      {nullptr, 0, nullptr, 0}};
    opterr = 0; // messages in French, below
    for (int c; (c = getopt_long(argc, argv, ":h", kOptions, nullptr)) != -1;) {
        const std::string valeur = optarg ? optarg : "";
        switch (c) {
        case 'h':
        case kOptionAide:
            std::fputs(kAide, stdout);
            return 0;
        case kParametres:
            if (valeur.empty())
                return usage("--parametres attend un nom de fichier.");
            o.parametres = valeur;
            break;
        case kFormat:
            if (valeur != "csv" && valeur != "jsonl")
                return usage("--format attend csv ou jsonl, pas « " + valeur + " ».");
            o.format = valeur;
            break;
        case kSynthese:
            o.synthese = true;
            if (optarg && valeur.empty())
                return usage("--synthese= attend un nom de fichier.");
            o.fichierSynthese = valeur;
            break;
        case ':':
            return usage(std::string(argv[optind - 1]) + " attend une valeur.");
        default:
            return usage("option inconnue : " + std::string(argv[optind - 1]));
        }
    }
    if (argc - optind > 1)
        return usage("un seul fichier d'entrée à la fois.");
    if (optind < argc)
        o.entree = argv[optind];
    if (o.format.empty())
        o.format = o.entree.size() > 6 && o.entree.ends_with(".jsonl") ? "jsonl" : "csv";
    return std::nullopt;
}

// The GIR of every combination of modalities, from the store's weights.
std::unique_ptr<pavonis::TableGir> tableDesPoids(const std::string& parametres)
{
    auto magasin = pavonis::MagasinParametres::ouvrirNommeOuParDefaut(parametres);
    magasin->verifierTablesPoids();
    pavonis::BaseDonneesAutonome base(magasin);
    return std::make_unique<pavonis::TableGir>(pavonis::PoidsGroupes::lire(pavonis::lireTablesGroupes(base)));
}

} // namespace

int main(int argc, char** argv)
{
    // Past a file size limit on the output, a write fails and is reported
    // instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    Options o;
    if (const auto fin = lireOptions(argc, argv, o))
        return *fin;

    std::unique_ptr<pavonis::TableGir> table;
    try {
        table = tableDesPoids(o.parametres);
    } catch (const pavonis::Erreur& e) {
        std::cerr << "pavonis-gir: " << e.what() << '\n';
        return 1;
    }
    std::FILE* fichier = o.entree == "-" ? stdin : std::fopen(o.entree.c_str(), "rb");
    if (!fichier) {
        std::cerr << "pavonis-gir: impossible de lire " << o.entree << " : " << std::strerror(errno) << '\n';
        return 1;
    }

    bool echecEcriture = false;
    const auto lire = [&](char* tampon, std::size_t taille) {
        return std::fread(tampon, 1, taille, fichier);
    };
    const auto ecrire = [&](std::string_view texte) {
        if (std::fwrite(texte.data(), 1, texte.size(), stdout) != texte.size())
            echecEcriture = true;
    };
    const auto signaler = [](const std::string& message) { std::cerr << "pavonis-gir: " << message << '\n'; };
    const auto scorer = [&](auto&& scoreur) {
        const int statut = scoreur.traiter(lire, ecrire, signaler);
        return std::tuple{statut, scoreur.parGir(), scoreur.lignesEnErreur()};
    };
    const auto [statut, parGir, nonCalculees] =
        o.format == "jsonl" ? scorer(pavonis::ScoreurJsonl(*table)) : scorer(pavonis::ScoreurCsv(*table));
    const bool echecLecture = std::ferror(fichier) != 0;
    if (fichier != stdin)
        std::fclose(fichier);
    if (std::fflush(stdout) != 0 || echecEcriture) {
        std::cerr << "pavonis-gir: écriture impossible sur la sortie standard.\n";
        return 1;
    }
    if (echecLecture) {
        std::cerr << "pavonis-gir: erreur de lecture de l'entrée.\n";
        return 1;
    }
    if (o.synthese) {
        const std::string texte = synthese(parGir, nonCalculees);
        if (o.fichierSynthese.empty()) {
            std::cerr << texte;
        } else {
            try {
                pavonis::fichiers::ecrireFichier(o.fichierSynthese, texte);
            } catch (const pavonis::Erreur& e) {
                std::cerr << "pavonis-gir: " << e.what() << '\n';
                return 1;
            }
        }
    }
    return statut;
}
