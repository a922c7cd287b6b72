#include <pavonis/files/LectureFichier.h>

#include <pavonis/files/RaisonSysteme.h>
#include <pavonis/hostapi/Erreur.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace pavonis::fichiers {

std::string lireFichier(const std::filesystem::path& source, std::size_t tailleMax)
{
    const bool entree = source == "-";
    const std::string nom = entree ? std::string("l'entrée standard") : "« " + source.string() + " »";
    const int fd = entree ? STDIN_FILENO : ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw Erreur(Erreur::Code::Stockage,
                     "Impossible de lire " + nom + " : " + raisonSysteme(errno) + ".");
    std::string contenu;
    int erreur = 0;
    // A pipe gives its bytes in pieces: read to the end, one byte past the
    // limit at most.
    for (;;) {
        const std::size_t avant = contenu.size();
        const std::size_t morceau = std::min<std::size_t>(64 * 1024, tailleMax + 1 - avant);
        contenu.resize(avant + morceau);
        const ssize_t n = ::read(fd, contenu.data() + avant, morceau);
        if (n < 0 && errno == EINTR) {
            contenu.resize(avant);
            continue;
        }
        contenu.resize(avant + (n > 0 ? static_cast<std::size_t>(n) : 0));
        if (n < 0)
            erreur = errno;
        if (n <= 0 || contenu.size() > tailleMax)
            break;
    }
    if (!entree)
        ::close(fd);
    if (erreur)
        throw Erreur(Erreur::Code::Stockage,
                     "Impossible de lire " + nom + " : " + raisonSysteme(erreur) + ".");
    if (contenu.size() > tailleMax)
        throw Erreur(Erreur::Code::Saisie, (entree ? std::string("L'entrée standard") : nom) + " dépasse " +
                                               std::to_string(tailleMax) + " octets.");
    return contenu;
}

} // namespace pavonis::fichiers
