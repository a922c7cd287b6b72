#include <pavonis/files/RaisonSysteme.h>

#include <cerrno>
#include <cstring>

namespace pavonis::fichiers {

std::string raisonSysteme(int numero)
{
    switch (numero) {
    case ENOSPC:
        return "plus de place sur le disque";
    case EDQUOT:
        return "quota de disque dépassé";
    case EFBIG:
        return "fichier plus grand que la taille permise";
    case EACCES:
    case EPERM:
        return "permission refusée";
    case EROFS:
        return "système de fichiers en lecture seule";
    case ENOENT:
        return "fichier ou dossier introuvable";
    case ENOTDIR:
        return "un élément du chemin n'est pas un dossier";
    case EISDIR:
        return "c'est un dossier";
    case EIO:
        return "erreur d'entrée-sortie du disque";
    case ENAMETOOLONG:
        return "nom trop long";
    case ELOOP:
        return "trop de liens symboliques";
    case EMFILE:
    case ENFILE:
        return "trop de fichiers ouverts";
    case EBUSY:
    case ETXTBSY:
        return "fichier occupé";
    case EPIPE:
        return "le lecteur de la sortie est parti";
    default:
        return "erreur système " + std::to_string(numero) + " (" + std::strerror(numero) + ")";
    }
}

} // namespace pavonis::fichiers
