// A host that keeps the evaluation in the person's file, beside the control's
// own interface: it restores the last evaluation when the screen opens,
// marks the record as changed on every change, and saves it, with its
// results, when the screen closes.
//
//   hote-dossier DOSSIER.json [--modifier]
//
// The control is placed directly (linked), on a host database the example
// builds in memory with the published weights.

#include <pavonis/control/Uc_Pavonis.h>
#include <pavonis/evaluation/FormatEvaluation.h>
#include <pavonis/hostapi/IEntreeParametre.h>
#include <pavonis/hostapi/ISectionParametres.h>

#include <pavonis/platform/Composants.h>

#include <QApplication>
#include <QFile>
#include <QRadioButton>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <map>

namespace {

// The smallest host database the control accepts: weights of the published
// algorithm, an installation directory.
struct EntreeMemoire final : pavonis::IEntreeParametre {
    std::string texte;
    std::vector<std::array<double, 2>> table;
    std::string Texte(std::int16_t, std::int16_t, std::int16_t) override { return texte; }
    double Valeur(std::int16_t l, std::int16_t c) override
    {
        return table.at(std::size_t(l - 1)).at(std::size_t(c - 1));
    }
    void DefinirValeur(const std::shared_ptr<pavonis::IEntreeParametre>& s) override
    {
        *this = dynamic_cast<const EntreeMemoire&>(*s);
    }
};
struct SectionMemoire final : pavonis::ISectionParametres {
    std::map<std::string, std::shared_ptr<EntreeMemoire>> entrees;
    pavonis::ObjetPtr Section(const std::string& cle) override { return entrees.at(cle); }
};
struct BaseMemoire final : pavonis::IBaseDonnees {
    std::map<std::string, std::shared_ptr<SectionMemoire>> sections;
    pavonis::ObjetPtr Section(const std::string& cle) override { return sections.at(cle); }
};

std::shared_ptr<BaseMemoire> basePubliee()
{
    // Weights of the published AGGIR group algorithm (CASF, annexe 2-2),
    // groups A to H, rows Cohérence to Alerter, columns B and C.
    static const double poids[8][10][2] = {
        {{0, 2000},
         {0, 1200},
         {16, 40},
         {16, 40},
         {20, 60},
         {16, 100},
         {120, 800},
         {32, 200},
         {0, 0},
         {0, 0}},
        {{320, 1500},
         {120, 1200},
         {16, 40},
         {16, 40},
         {0, 60},
         {16, 100},
         {120, 800},
         {-40, -80},
         {0, 0},
         {0, 0}},
        {{0, 0}, {0, 0}, {16, 40}, {16, 40}, {20, 60}, {20, 160}, {200, 1000}, {40, 400}, {0, 0}, {0, 0}},
        {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {200, 2000}, {200, 400}, {200, 2000}, {0, 200}, {0, 0}, {0, 0}},
        {{0, 400},
         {0, 400},
         {100, 400},
         {100, 400},
         {100, 400},
         {100, 800},
         {100, 800},
         {0, 200},
         {0, 0},
         {0, 0}},
        {{100, 200},
         {100, 200},
         {100, 500},
         {100, 500},
         {100, 500},
         {100, 500},
         {100, 500},
         {0, 200},
         {0, 0},
         {0, 0}},
        {{0, 150},
         {0, 150},
         {200, 300},
         {200, 300},
         {200, 500},
         {200, 500},
         {200, 400},
         {100, 200},
         {0, 0},
         {0, 0}},
        {{0, 0},
         {0, 0},
         {2000, 3000},
         {2000, 3000},
         {2000, 3000},
         {2000, 3000},
         {2000, 1000},
         {1000, 1000},
         {0, 0},
         {0, 0}},
    };
    auto base = std::make_shared<BaseMemoire>();
    auto aggir = std::make_shared<SectionMemoire>();
    for (int g = 0; g < 8; ++g) {
        auto e = std::make_shared<EntreeMemoire>();
        for (int l = 0; l < 10; ++l)
            e->table.push_back({poids[g][l][0], poids[g][l][1]});
        aggir->entrees[std::string(1, char('A' + g))] = e;
    }
    auto chemin = std::make_shared<SectionMemoire>();
    chemin->entrees["1"] = std::make_shared<EntreeMemoire>();
    chemin->entrees["1"]->texte = "/opt/pavonis/data/";
    base->sections["AGGIRPARAM"] = aggir;
    base->sections["CHEMINFICHIER"] = chemin;
    return base;
}

// Saves the person's file whole or not at all, as every host should: the
// bytes go to a new file beside it, each write and the flush to disk are
// checked, and only then does the new file take the old one's place. A full
// disk or a crash on the way leaves the last saved evaluation as it was.
// Returns why it failed, or an empty text.
std::string enregistrer(const std::string& chemin, const std::string& contenu)
{
    struct stat s {};
    if (::stat(chemin.c_str(), &s) == 0 && !S_ISREG(s.st_mode))
        return "ce n'est pas un fichier ordinaire";
    std::string temporaire = chemin + ".XXXXXX";
    const int fd = ::mkstemp(temporaire.data());
    if (fd < 0)
        return std::strerror(errno);
    const auto echec = [&](int numero) {
        ::close(fd);
        ::unlink(temporaire.c_str());
        return std::string(std::strerror(numero));
    };
    // The person's file keeps its rights; a new one is the user's alone.
    if (::fchmod(fd, s.st_mode ? s.st_mode & 07777 : 0600) != 0)
        return echec(errno);
    for (std::size_t fait = 0; fait < contenu.size();) {
        const ssize_t n = ::write(fd, contenu.data() + fait, contenu.size() - fait);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return echec(n < 0 ? errno : EIO);
        fait += std::size_t(n);
    }
    if (::fsync(fd) != 0)
        return echec(errno);
    if (::close(fd) != 0 || ::rename(temporaire.c_str(), chemin.c_str()) != 0) {
        const int numero = errno;
        ::unlink(temporaire.c_str());
        return std::strerror(numero);
    }
    // The new name itself, on disk.
    const std::string dossier =
        chemin.find('/') == std::string::npos ? "." : chemin.substr(0, chemin.rfind('/') + 1);
    const int d = ::open(dossier.c_str(), O_RDONLY | O_DIRECTORY);
    const bool synchronise = d >= 0 && ::fsync(d) == 0;
    if (d >= 0)
        ::close(d);
    return synchronise ? std::string() : std::strerror(errno);
}

} // namespace

int main(int argc, char** argv)
{
    // Past a file size limit, a write fails instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    if (argc < 2) {
        std::cerr << "usage : hote-dossier DOSSIER.json [--modifier]\n";
        return 2;
    }
    const QString dossier = QString::fromLocal8Bit(argv[1]);
    // The host library's entry class, which the control creates for its
    // working weight table.
    pavonis::Composants::enregistrerClasse(QStringLiteral("Velmor.EntreeParametre"),
                                           [] { return std::make_shared<EntreeMemoire>(); });
    QWidget fenetre;
    auto* controle = new pavonis::Uc_Pavonis(&fenetre);
    controle->TheDatabase(basePubliee());
    controle->Init();

    // The evaluation kept last time, if any.
    if (QFile f(dossier); f.open(QIODevice::ReadOnly)) {
        const QByteArray json = f.readAll();
        try {
            controle->chargerEvaluation(pavonis::FormatEvaluation::lire(json.toStdString()).evaluation);
        } catch (const pavonis::Erreur& e) {
            std::cerr << "Dossier illisible, évaluation neuve : " << e.what() << '\n';
        }
    }

    bool modifie = false;
    QObject::connect(controle, &pavonis::Uc_Pavonis::evaluationModifiee, [&] { modifie = true; });
    if (argc > 2 && QString::fromLocal8Bit(argv[2]) == QLatin1String("--modifier"))
        controle->findChild<QRadioButton*>(QStringLiteral("Opt_AlerterFaitPas"))->click();

    // The screen would be shown here; the example saves right away.
    if (modifie) {
        const std::string raison =
            enregistrer(QFile::encodeName(dossier).toStdString(),
                        pavonis::FormatEvaluation::ecrire(controle->evaluation(), controle->resultats()));
        if (!raison.empty()) {
            std::cerr << "Dossier non enregistré (" << raison << ") ; le précédent est intact.\n";
            return 1;
        }
    }
    std::cout << (modifie ? "Dossier enregistré" : "Dossier inchangé") << " ; GIR "
              << controle->resultats().gir << '\n';
    return 0;
}
