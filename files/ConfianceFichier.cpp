#include <pavonis/files/ConfianceFichier.h>

#include <pavonis/files/RaisonSysteme.h>
#include <pavonis/hostapi/Erreur.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace fs = std::filesystem;

namespace pavonis::fichiers {

namespace {

bool proprietaireAdmis(uid_t proprietaire)
{
    return proprietaire == ::geteuid() || proprietaire == 0;
}

std::string modifiablePar(mode_t mode)
{
    return mode & S_IWOTH ? "tous" : "son groupe";
}

std::string raisonFichier(const struct stat& f)
{
    if (!proprietaireAdmis(f.st_uid))
        return "il appartient à l'utilisateur " + std::to_string(f.st_uid) + ", ni à vous ni à root";
    if (f.st_mode & (S_IWGRP | S_IWOTH))
        return "il est modifiable par " + modifiablePar(f.st_mode);
    return {};
}

// The folder holding a file (or a link) that belongs to `proprietaire`.
std::string raisonDossier(const fs::path& dossier, uid_t proprietaire)
{
    struct stat d {};
    if (::stat(dossier.c_str(), &d) != 0)
        return "son dossier « " + dossier.string() + " » est illisible (" + raisonSysteme(errno) + ")";
    if (!proprietaireAdmis(d.st_uid))
        return "son dossier « " + dossier.string() + " » appartient à l'utilisateur " +
               std::to_string(d.st_uid) + ", ni à vous ni à root";
    // A shared folder with the sticky bit: only the owner may replace the file.
    const bool collant = (d.st_mode & S_ISVTX) && proprietaire == ::geteuid();
    if ((d.st_mode & (S_IWGRP | S_IWOTH)) && !collant)
        return "son dossier « " + dossier.string() + " » est modifiable par " + modifiablePar(d.st_mode);
    return {};
}

fs::path dossierDe(const fs::path& p)
{
    return p.has_parent_path() ? p.parent_path() : fs::path(".");
}

} // namespace

std::string raisonDefiance(const fs::path& chemin)
{
    struct stat l {};
    if (::lstat(chemin.c_str(), &l) != 0)
        return errno == ENOENT ? std::string() : "il est illisible (" + raisonSysteme(errno) + ")";
    const fs::path absolu = fs::absolute(chemin);
    if (!S_ISLNK(l.st_mode)) {
        std::string raison = raisonFichier(l);
        return raison.empty() ? raisonDossier(dossierDe(absolu), l.st_uid) : raison;
    }
    // Whoever may write where the link is may point it elsewhere.
    if (std::string raison = raisonDossier(dossierDe(absolu), l.st_uid); !raison.empty())
        return "c'est un lien symbolique et " + raison;
    std::error_code ec;
    const fs::path cible = fs::canonical(absolu, ec);
    struct stat f {};
    if (ec || ::stat(cible.c_str(), &f) != 0)
        return "c'est un lien symbolique vers un fichier introuvable";
    std::string raison = raisonFichier(f);
    if (raison.empty())
        raison = raisonDossier(dossierDe(cible), f.st_uid);
    return raison.empty() ? raison : "c'est un lien symbolique vers « " + cible.string() + " », et " + raison;
}

void verifierConfiance(const fs::path& chemin, std::string_view quoi)
{
    if (const std::string raison = raisonDefiance(chemin); !raison.empty())
        throw Erreur(Erreur::Code::Confiance,
                     "Refus " + std::string(quoi) + " « " + chemin.string() + " » : " + raison + ".");
}

void creerDossiers(const fs::path& dossier)
{
    std::error_code ec;
    if (dossier.empty() || fs::is_directory(dossier, ec))
        return;
    const fs::path absolu = fs::absolute(dossier);
    creerDossiers(dossierDe(absolu));
    if (::mkdir(absolu.c_str(), 0755) != 0) {
        if (errno == EEXIST)
            return;
        throw Erreur(Erreur::Code::Stockage, "Impossible de créer le dossier « " + dossier.string() +
                                                 " » : " + raisonSysteme(errno) + ".");
    }
    ::chmod(absolu.c_str(), 0755); // whatever the umask took
}

} // namespace pavonis::fichiers
