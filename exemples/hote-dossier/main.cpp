// A host that keeps the evaluation in the person's file, beside the control's
// own interface: it restores the last evaluation when the screen opens,
// marks the record as changed on every change, and saves it, with its
// results, when the screen closes.
//
//   hote-dossier DOSSIER.json [--modifier]
//
// The control is placed directly (linked), on a host database the example
// builds in memory from the published weights the package installs.

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
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>

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

// The published weights, from the data file the package installs (section,
// entry, row, column, value; one header line), as a host fills its database.
std::shared_ptr<BaseMemoire> basePubliee()
{
    const std::string donnees = PAVONIS_DONNEES;
    std::ifstream fichier(donnees + "/parametres/poids-aggir-2008.tsv");
    if (!fichier)
        throw std::runtime_error("Poids publiés introuvables : " + donnees +
                                 "/parametres/poids-aggir-2008.tsv");
    auto base = std::make_shared<BaseMemoire>();
    auto aggir = std::make_shared<SectionMemoire>();
    std::string ligne;
    std::getline(fichier, ligne);
    while (std::getline(fichier, ligne)) {
        std::istringstream champs(ligne);
        std::string section, entree;
        std::size_t l = 0, c = 0;
        double valeur = 0;
        if (!(champs >> section >> entree >> l >> c >> valeur) || section != "AGGIRPARAM" || l < 1 || c < 1 ||
            c > 2)
            throw std::runtime_error("Ligne de poids illisible : " + ligne);
        auto& e = aggir->entrees[entree];
        if (!e)
            e = std::make_shared<EntreeMemoire>();
        if (e->table.size() < l)
            e->table.resize(l);
        e->table[l - 1][c - 1] = valeur;
    }
    auto chemin = std::make_shared<SectionMemoire>();
    chemin->entrees["1"] = std::make_shared<EntreeMemoire>();
    chemin->entrees["1"]->texte = donnees + "/data/";
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
    std::shared_ptr<BaseMemoire> base;
    try {
        base = basePubliee();
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    QWidget fenetre;
    auto* controle = new pavonis::Uc_Pavonis(&fenetre);
    controle->TheDatabase(base);
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
