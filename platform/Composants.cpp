#include <pavonis/platform/Composants.h>

#include <pavonis/platform/CodesStatut.h>
#include <pavonis/platform/RegistreComposants.h>

#include <pavonis/files/ConfianceFichier.h>
#include <pavonis/hostapi/Erreur.h>

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLibrary>

#include <map>
#include <memory>

namespace pavonis {

namespace {

using FonctionEnregistrement = std::int32_t (*)();
using FonctionObjetClasse = std::int32_t (*)(const char*, const char*, void**);

[[noreturn]] void echec(const QString& message)
{
    throw Erreur(Erreur::Code::Plateforme, message.toStdString());
}

QString hex(std::int32_t s)
{
    return QStringLiteral("0x%1").arg(static_cast<quint32>(s), 8, 16, QLatin1Char('0'));
}

// Libraries stay loaded for the life of the process, as a component platform
// keeps a library while anything may still use it.
QLibrary& bibliotheque(const QString& fichier)
{
    static std::map<QString, std::unique_ptr<QLibrary>> chargees;
    const QString absolu = QFileInfo(fichier).absoluteFilePath();
    auto& lib = chargees[absolu];
    if (!lib) {
        lib = std::make_unique<QLibrary>(absolu);
        lib->setLoadHints(QLibrary::ResolveAllSymbolsHint);
    }
    if (!lib->isLoaded() && !lib->load()) {
        const QString raison = lib->errorString();
        chargees.erase(absolu);
        echec(QStringLiteral("Impossible de charger la bibliothèque de composants %1 (%2).")
                  .arg(absolu, raison));
    }
    return *lib;
}

template <class F> F exportation(QLibrary& lib, const char* nom)
{
    auto f = reinterpret_cast<F>(lib.resolve(nom));
    if (!f)
        echec(QStringLiteral("La bibliothèque %1 n'exporte pas %2.").arg(lib.fileName(), QLatin1String(nom)));
    return f;
}

// Where the registration exports of this thread write, and why they failed.
thread_local RegistreComposants::Portee porteeCourante = RegistreComposants::Portee::Utilisateur;
thread_local QString erreurEnregistrement;

std::map<QString, Fabrique>& classesLocales()
{
    static std::map<QString, Fabrique> classes;
    return classes;
}

} // namespace

std::int32_t Composants::enregistrerServeur(const IdentiteComposant& identite, const QString& fichier)
{
    erreurEnregistrement.clear();
    try {
        RegistreComposants::enregistrer(identite, fichier, porteeCourante);
        return statut::kOk;
    } catch (const Erreur& e) {
        erreurEnregistrement = QString::fromUtf8(e.what());
        return statut::kEnregistrementClasse;
    }
}

std::int32_t Composants::desenregistrerServeur(const IdentiteComposant& identite)
{
    erreurEnregistrement.clear();
    try {
        RegistreComposants::desenregistrer(identite, porteeCourante);
        return statut::kOk;
    } catch (const Erreur& e) {
        erreurEnregistrement = QString::fromUtf8(e.what());
        return statut::kEnregistrementClasse;
    }
}

QString Composants::derniereErreur()
{
    return erreurEnregistrement;
}

std::int32_t Composants::objetClasse(const IdentiteComposant& identite, IFabriqueClasse& fabrique,
                                     const char* idClasse, const char* iid, void** objet)
{
    if (!objet)
        return statut::kPointeurNul;
    *objet = nullptr;
    if (!idClasse ||
        QString::fromStdString(identite.idClasse).compare(QLatin1String(idClasse), Qt::CaseInsensitive) != 0)
        return statut::kClasseIndisponible;
    if (!iid || std::string_view(iid) != IFabriqueClasse::kIid)
        return statut::kPasDInterface;
    *objet = &fabrique;
    return statut::kOk;
}

std::int32_t Composants::appelerEnregistrement(const QString& fichier, bool enregistrer,
                                               RegistreComposants::Portee portee)
{
    QLibrary& lib = bibliotheque(fichier);
    const auto exporte =
        exportation<FonctionEnregistrement>(lib, enregistrer ? "DllRegisterServer" : "DllUnregisterServer");
    erreurEnregistrement = QStringLiteral("la bibliothèque n'a pas donné la raison de l'échec");
    porteeCourante = portee;
    const std::int32_t s = exporte();
    porteeCourante = RegistreComposants::Portee::Utilisateur;
    if (statut::reussi(s))
        erreurEnregistrement.clear();
    return s;
}

std::int32_t Composants::peutDecharger(const QString& fichier)
{
    return exportation<FonctionEnregistrement>(bibliotheque(fichier), "DllCanUnloadNow")();
}

void* Composants::creerControle(const QString& progId, const char* iid, QWidget* conteneur)
{
    const auto classe = RegistreComposants::classe(progId);
    if (!classe)
        echec(QStringLiteral("Le composant « %1 » n'est pas enregistré (registre %2).")
                  .arg(progId, RegistreComposants::chemin()));
    // The library a registry names runs in this process: trusted as the
    // registry is, and never looked for from the current folder.
    if (!QFileInfo(classe->fichier).isAbsolute())
        echec(QStringLiteral("Le registre %1 nomme la bibliothèque « %2 » par un chemin relatif : refusée.")
                  .arg(RegistreComposants::chemin(classe->portee), classe->fichier));
    fichiers::verifierConfiance(QFile::encodeName(classe->fichier).toStdString(),
                                "de la bibliothèque de composants");
    QLibrary& lib = bibliotheque(classe->fichier);
    const auto objetClasse = exportation<FonctionObjetClasse>(lib, "DllGetClassObject");

    void* pointeur = nullptr;
    const QByteArray clsid = classe->idClasse.toLatin1();
    std::int32_t s = objetClasse(clsid.constData(), IFabriqueClasse::kIid, &pointeur);
    if (!statut::reussi(s) || !pointeur)
        echec(QStringLiteral("La bibliothèque %1 ne fournit pas la classe %2 (statut %3).")
                  .arg(classe->fichier, classe->idClasse, hex(s)));
    auto* fabrique = static_cast<IFabriqueClasse*>(pointeur);
    void* instance = nullptr;
    s = fabrique->CreateInstance(conteneur, iid, &instance);
    if (!statut::reussi(s) || !instance)
        echec(QStringLiteral("Création du composant « %1 » impossible (statut %2).").arg(progId, hex(s)));
    return instance;
}

void Composants::enregistrerClasse(const QString& progId, Fabrique fabrique)
{
    classesLocales()[progId] = std::move(fabrique);
}

void Composants::revoquerClasse(const QString& progId)
{
    classesLocales().erase(progId);
}

ObjetPtr Composants::creerObjet(const QString& progId)
{
    const auto it = classesLocales().find(progId);
    if (it == classesLocales().end() || !it->second)
        echec(QStringLiteral("La classe « %1 » n'est pas enregistrée.").arg(progId));
    ObjetPtr objet = it->second();
    if (!objet)
        echec(QStringLiteral("La classe « %1 » n'a pas créé d'objet.").arg(progId));
    return objet;
}

} // namespace pavonis
