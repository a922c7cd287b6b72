#include <pavonis/files/EcritureFichier.h>

#include <pavonis/files/RaisonSysteme.h>
#include <pavonis/hostapi/Erreur.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

namespace fs = std::filesystem;

namespace pavonis::fichiers {

namespace {

[[noreturn]] void echec(const fs::path& cible, const std::string& cause, bool existe)
{
    throw Erreur(Erreur::Code::Stockage,
                 "Impossible d'écrire « " + cible.string() + " » : " + cause +
                     (existe ? " ; le fichier d'origine est intact." : " ; rien n'a été écrit."));
}

std::string genre(mode_t mode)
{
    return S_ISDIR(mode)                    ? "c'est un dossier"
           : S_ISCHR(mode) || S_ISBLK(mode) ? "c'est un périphérique"
           : S_ISFIFO(mode)                 ? "c'est un tube"
           : S_ISSOCK(mode)                 ? "c'est une prise réseau"
                                            : "ce n'est pas un fichier ordinaire";
}

// Past the file size limit the kernel raises SIGXFSZ, which ends the
// process: while writing, the signal stays blocked on this thread, so that
// the write fails with EFBIG instead, and one that came is taken back.
class SansSigxfsz {
public:
    SansSigxfsz()
    {
        sigemptyset(&signal_);
        sigaddset(&signal_, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &signal_, &avant_);
    }
    ~SansSigxfsz()
    {
        sigset_t enAttente;
        if (sigpending(&enAttente) == 0 && sigismember(&enAttente, SIGXFSZ) == 1) {
            const timespec zero{};
            sigtimedwait(&signal_, nullptr, &zero);
        }
        pthread_sigmask(SIG_SETMASK, &avant_, nullptr);
    }
    SansSigxfsz(const SansSigxfsz&) = delete;
    SansSigxfsz& operator=(const SansSigxfsz&) = delete;

private:
    sigset_t signal_{}, avant_{};
};

// Every byte, or the error number of the write that failed.
int toutEcrire(int fd, std::string_view contenu)
{
    while (!contenu.empty()) {
        const ssize_t n = ::write(fd, contenu.data(), contenu.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        contenu.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

// A new file of our own beside the target, open for writing.
int creerTemporaire(const fs::path& dossier, const fs::path& nom, fs::path& temporaire)
{
    std::random_device alea;
    for (int essai = 0; essai < 100; ++essai) {
        const unsigned long long n = (static_cast<unsigned long long>(alea()) << 32) ^ alea();
        std::string court = ".";
        court.append(nom.string()).append(".").append(std::to_string(n)).append(".tmp");
        temporaire = dossier / court;
        const int fd = ::open(temporaire.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

Cible verifierCible(const fs::path& cible)
{
    if (cible.empty())
        throw Erreur(Erreur::Code::Stockage, "Aucun nom de fichier n'est donné.");
    Cible c{cible, {}, false};
    if (::stat(cible.c_str(), &c.etat) == 0) {
        c.existe = true;
        if (!S_ISREG(c.etat.st_mode))
            echec(cible, genre(c.etat.st_mode), false);
        // A link is written where it points: the link stays a link.
        std::error_code ec;
        c.reelle = fs::canonical(cible, ec);
        if (ec)
            echec(cible, raisonSysteme(ec.value()), true);
    } else if (errno != ENOENT) {
        echec(cible, raisonSysteme(errno), false);
    } else if (struct stat lien{}; ::lstat(cible.c_str(), &lien) == 0) {
        echec(cible, "c'est un lien symbolique vers un fichier qui n'existe pas", false);
    }
    const fs::path dossier = c.dossier();
    if (struct stat d{}; ::stat(dossier.c_str(), &d) != 0 || !S_ISDIR(d.st_mode))
        echec(cible, "le dossier « " + dossier.string() + " » n'existe pas", false);
    return c;
}

void ecrireFichier(const fs::path& cible, std::string_view contenu, const OptionsEcriture& options)
{
    const Cible c = verifierCible(cible);
    const fs::path& reelle = c.reelle;
    const struct stat& existante = c.etat;
    const bool existe = c.existe;
    const fs::path dossier = c.dossier();

    const SansSigxfsz sansSignal;
    fs::path temporaire;
    const int fd = creerTemporaire(dossier, reelle.filename(), temporaire);
    if (fd < 0)
        echec(cible, raisonSysteme(errno), existe);
    const auto abandonner = [&](int numero) {
        ::close(fd);
        ::unlink(temporaire.c_str());
        echec(cible, raisonSysteme(numero), existe);
    };
    // Its mode and owner before any byte: an existing file keeps its own.
    if (options.modeImpose || existe || options.mode) {
        const mode_t mode = options.modeImpose ? *options.modeImpose
                            : existe           ? existante.st_mode & 07777
                                               : *options.mode;
        if (::fchmod(fd, mode) != 0)
            abandonner(errno);
    }
    if (existe && (existante.st_uid != ::geteuid() || existante.st_gid != ::getegid())) [[maybe_unused]]
        const int ignore = ::fchown(fd, existante.st_uid, existante.st_gid); // root only

    if (const int e = toutEcrire(fd, contenu))
        abandonner(e);
    if (::fsync(fd) != 0)
        abandonner(errno);
    if (::close(fd) != 0) {
        const int e = errno;
        ::unlink(temporaire.c_str());
        echec(cible, raisonSysteme(e), existe);
    }
    if (::rename(temporaire.c_str(), reelle.c_str()) != 0) {
        const int e = errno;
        ::unlink(temporaire.c_str());
        echec(cible, raisonSysteme(e), existe);
    }
    // The rename itself, on disk.
    const int d = ::open(dossier.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (d < 0 || ::fsync(d) != 0) {
        const int e = errno;
        if (d >= 0)
            ::close(d);
        throw Erreur(Erreur::Code::Stockage, "« " + cible.string() +
                                                 " » est écrit, mais son dossier n'a pas pu être "
                                                 "enregistré sur le disque (" +
                                                 raisonSysteme(e) + ").");
    }
    ::close(d);
}

void ecrireDocument(const fs::path& cible, std::string_view contenu)
{
    if (cible != "-") {
        ecrireFichier(cible, contenu);
        return;
    }
    std::fflush(stdout);
    const SansSigxfsz sansSignal;
    if (const int e = toutEcrire(STDOUT_FILENO, contenu))
        throw Erreur(Erreur::Code::Stockage,
                     "Impossible d'écrire sur la sortie standard : " + raisonSysteme(e) + ".");
}

} // namespace pavonis::fichiers
