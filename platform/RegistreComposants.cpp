#include <pavonis/platform/RegistreComposants.h>

#include <pavonis/files/ConfianceFichier.h>
#include <pavonis/files/EcritureFichier.h>
#include <pavonis/hostapi/Erreur.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLockFile>
#include <QStandardPaths>

namespace pavonis {

namespace {

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

[[noreturn]] void echec(const QString& message)
{
    throw Erreur(Erreur::Code::Plateforme, message.toStdString());
}

const QStringList kGroupes{"TypeLib", "CLSID", "ProgID", "Interface"};

QJsonArray nomsEtat(std::uint32_t etat)
{
    QJsonArray noms;
    const std::pair<std::uint32_t, const char*> bits[] = {
        {etat_controle::kSiteClientDAbord, "SetClientSiteFirst"},
        {etat_controle::kActiverQuandVisible, "ActivateWhenVisible"},
        {etat_controle::kActivationInterne, "InsideOut"},
        {etat_controle::kPasDeLienInterne, "CantLinkInside"},
        {etat_controle::kRecomposerAuRedimensionnement, "RecomposeOnResize"}};
    for (const auto& [bit, nom] : bits)
        if (etat & bit)
            noms.append(QString::fromLatin1(nom));
    return noms;
}

// The key of `objet` equal to `cle` regardless of case, or `cle` itself.
QString cleSansCasse(const QJsonObject& objet, const QString& cle)
{
    for (auto it = objet.begin(); it != objet.end(); ++it)
        if (it.key().compare(cle, Qt::CaseInsensitive) == 0)
            return it.key();
    return cle;
}

// Removes `cle` from the object at `groupe`, and the group once empty.
void retirer(QJsonObject& registre, const QString& groupe, const QString& cle)
{
    QJsonObject g = registre.value(groupe).toObject();
    g.remove(cleSansCasse(g, cle));
    if (g.isEmpty())
        registre.remove(groupe);
    else
        registre.insert(groupe, g);
}

void inserer(QJsonObject& registre, const QString& groupe, const QString& cle, const QJsonObject& valeur)
{
    QJsonObject g = registre.value(groupe).toObject();
    g.remove(cleSansCasse(g, cle));
    g.insert(cle, valeur);
    registre.insert(groupe, g);
}

// What the runtime reads must be of the kind it reads.
void verifierStructure(const QJsonObject& registre, const QString& fichier)
{
    const auto abime = [&](const QString& ou, const QString& attendu) {
        echec(
            QStringLiteral(
                "Le registre des composants %1 est abîmé : « %2 » devrait être %3 ; il n'a pas été modifié.")
                .arg(fichier, ou, attendu));
    };
    for (const QString& groupe : kGroupes) {
        if (!registre.contains(groupe))
            continue;
        if (!registre.value(groupe).isObject())
            abime(groupe, QStringLiteral("un objet"));
        const QJsonObject g = registre.value(groupe).toObject();
        for (auto it = g.begin(); it != g.end(); ++it)
            if (!it.value().isObject())
                abime(groupe + u'/' + it.key(), QStringLiteral("un objet"));
    }
    const auto texte = [&](const QString& groupe, const QString& champ) {
        const QJsonObject g = registre.value(groupe).toObject();
        for (auto it = g.begin(); it != g.end(); ++it) {
            const QJsonValue v = it.value().toObject().value(champ);
            if (!v.isUndefined() && !v.isString())
                abime(groupe + u'/' + it.key() + u'/' + champ, QStringLiteral("un texte"));
        }
    };
    texte(QStringLiteral("ProgID"), QStringLiteral("CLSID"));
    texte(QStringLiteral("CLSID"), QStringLiteral("InprocServer32"));
}

std::filesystem::path cheminSysteme(const QString& chemin)
{
    return QFile::encodeName(chemin).toStdString();
}

QJsonObject lireFichier(const QString& chemin)
{
    QFile fichier(chemin);
    if (!fichier.exists())
        return {};
    // It says which code every program of its users runs.
    fichiers::verifierConfiance(cheminSysteme(chemin), "du registre des composants");
    if (!fichier.open(QIODevice::ReadOnly))
        echec(
            QStringLiteral("Registre des composants %1 illisible (%2).").arg(chemin, fichier.errorString()));
    QJsonParseError erreur;
    const QJsonDocument doc = QJsonDocument::fromJson(fichier.readAll(), &erreur);
    if (erreur.error != QJsonParseError::NoError || !doc.isObject())
        echec(QStringLiteral("Le registre des composants %1 est abîmé (%2) ; il n'a pas été modifié.")
                  .arg(chemin, erreur.error != QJsonParseError::NoError
                                   ? erreur.errorString()
                                   : QStringLiteral("ce n'est pas un objet JSON")));
    const QJsonObject registre = doc.object();
    verifierStructure(registre, chemin);
    return registre;
}

std::optional<RegistreComposants::Classe> classeDans(const QJsonObject& registre, const QString& progId,
                                                     RegistreComposants::Portee portee)
{
    const QJsonObject progIds = registre.value(QStringLiteral("ProgID")).toObject();
    const QString clsid = progIds.value(cleSansCasse(progIds, progId)).toObject().value("CLSID").toString();
    if (clsid.isEmpty())
        return std::nullopt;
    const QJsonObject classes = registre.value(QStringLiteral("CLSID")).toObject();
    const QString fichier =
        classes.value(cleSansCasse(classes, clsid)).toObject().value("InprocServer32").toString();
    if (fichier.isEmpty())
        return std::nullopt;
    return RegistreComposants::Classe{clsid, fichier, portee};
}

} // namespace

QString RegistreComposants::chemin(Portee portee)
{
    if (portee == Portee::Machine) {
        const QString explicite = qEnvironmentVariable("PAVONIS_REGISTRE_MACHINE");
        return explicite.isEmpty() ? QStringLiteral("/etc/pavonis/registre-composants.json") : explicite;
    }
    const QString explicite = qEnvironmentVariable("PAVONIS_REGISTRE");
    if (!explicite.isEmpty())
        return explicite;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/pavonis/registre-composants.json");
}

QJsonObject RegistreComposants::lire(Portee portee)
{
    return lireFichier(chemin(portee));
}

void RegistreComposants::ecrire(const QString& f, const QJsonObject& registre)
{
    // Readable by every user, writable by its owner alone, whatever the umask.
    const QByteArray texte = QJsonDocument(registre).toJson(QJsonDocument::Indented);
    try {
        fichiers::ecrireFichier(cheminSysteme(f),
                                std::string_view(texte.constData(), std::size_t(texte.size())),
                                {.mode = {}, .modeImpose = 0644});
    } catch (const Erreur& e) {
        echec(QStringLiteral("Le registre des composants n'a pas été modifié. %1")
                  .arg(QString::fromUtf8(e.what())));
    }
}

void RegistreComposants::modifier(Portee portee, const std::function<void(QJsonObject&)>& changement)
{
    const QString f = chemin(portee);
    const QString dossier = QFileInfo(f).absolutePath();
    try {
        fichiers::creerDossiers(cheminSysteme(dossier));
    } catch (const Erreur& e) {
        echec(QStringLiteral("Le registre des composants %1 ne peut pas être écrit : %2")
                  .arg(f, QString::fromUtf8(e.what())));
    }
    QLockFile verrou(f + QStringLiteral(".verrou"));
    verrou.setStaleLockTime(30000);
    if (!verrou.tryLock(10000)) {
        if (verrou.error() == QLockFile::PermissionError)
            echec(QStringLiteral(
                      "Le registre des composants %1 ne peut pas être écrit : permission refusée dans %2.")
                      .arg(f, dossier));
        echec(
            QStringLiteral("Le registre des composants %1 est verrouillé par un autre programme (%2.verrou).")
                .arg(f, f));
    }
    const bool existait = QFileInfo::exists(f);
    const QJsonObject avant = lireFichier(f);
    QJsonObject apres = avant;
    changement(apres);
    if (apres == avant && (existait || apres.isEmpty()))
        return;
    ecrire(f, apres);
}

void RegistreComposants::enregistrer(const IdentiteComposant& id, const QString& fichierBibliotheque,
                                     Portee portee)
{
    const QString fichier = QFileInfo(fichierBibliotheque).absoluteFilePath();
    modifier(portee, [&](QJsonObject& registre) {
        QJsonObject typeLibs = registre.value(QStringLiteral("TypeLib")).toObject();
        QJsonObject versions = typeLibs.value(cleSansCasse(typeLibs, q(id.idBibliotheque))).toObject();
        versions.insert(q(id.version), QJsonObject{{"nom", q(id.bibliotheque)}, {"fichier", fichier}});
        inserer(registre, QStringLiteral("TypeLib"), q(id.idBibliotheque), versions);

        inserer(registre, QStringLiteral("CLSID"), q(id.idClasse),
                QJsonObject{{"nom", q(id.progId)},
                            {"classe", q(id.classe)},
                            {"InprocServer32", fichier},
                            {"ThreadingModel", q(id.modeleThreads)},
                            {"ProgID", q(id.progId)},
                            {"TypeLib", q(id.idBibliotheque)},
                            {"Version", q(id.version)},
                            {"Control", true},
                            {"MiscStatus", static_cast<qint64>(id.etatControle)},
                            {"MiscStatusNoms", nomsEtat(id.etatControle)}});
        inserer(registre, QStringLiteral("ProgID"), q(id.progId), QJsonObject{{"CLSID", q(id.idClasse)}});
        inserer(registre, QStringLiteral("Interface"), q(id.idInterfaceDefaut),
                QJsonObject{{"nom", q(id.interfaceDefaut)},
                            {"TypeLib", q(id.idBibliotheque)},
                            {"Version", q(id.version)}});
        inserer(registre, QStringLiteral("Interface"), q(id.idInterfaceEvenements),
                QJsonObject{{"nom", q(id.interfaceEvenements)},
                            {"TypeLib", q(id.idBibliotheque)},
                            {"Version", q(id.version)}});
    });
}

void RegistreComposants::desenregistrer(const IdentiteComposant& id, Portee portee)
{
    if (!QFileInfo::exists(chemin(portee)))
        return;
    modifier(portee, [&](QJsonObject& registre) {
        QJsonObject typeLibs = registre.value(QStringLiteral("TypeLib")).toObject();
        const QString cleTypeLib = cleSansCasse(typeLibs, q(id.idBibliotheque));
        QJsonObject versions = typeLibs.value(cleTypeLib).toObject();
        versions.remove(q(id.version));
        if (versions.isEmpty())
            retirer(registre, QStringLiteral("TypeLib"), q(id.idBibliotheque));
        else if (typeLibs.contains(cleTypeLib))
            inserer(registre, QStringLiteral("TypeLib"), cleTypeLib, versions);
        retirer(registre, QStringLiteral("CLSID"), q(id.idClasse));
        retirer(registre, QStringLiteral("ProgID"), q(id.progId));
        retirer(registre, QStringLiteral("Interface"), q(id.idInterfaceDefaut));
        retirer(registre, QStringLiteral("Interface"), q(id.idInterfaceEvenements));
    });
}

std::optional<RegistreComposants::Classe> RegistreComposants::classe(const QString& progId)
{
    if (auto c = classeDans(lire(Portee::Utilisateur), progId, Portee::Utilisateur))
        return c;
    return classeDans(lire(Portee::Machine), progId, Portee::Machine);
}

} // namespace pavonis
