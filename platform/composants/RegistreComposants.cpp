#include "RegistreComposants.h"

#include <pavonis/Erreur.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>

namespace pavonis {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

[[noreturn]] void echec(const QString& message)
{
    throw Erreur(Erreur::Code::Plateforme, message.toStdString());
}

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

// Removes `cle` from the object at `groupe`, and the group once empty.
void retirer(QJsonObject& registre, const QString& groupe, const QString& cle)
{
    QJsonObject g = registre.value(groupe).toObject();
    g.remove(cle);
    if (g.isEmpty())
        registre.remove(groupe);
    else
        registre.insert(groupe, g);
}

void inserer(QJsonObject& registre, const QString& groupe, const QString& cle, const QJsonObject& valeur)
{
    QJsonObject g = registre.value(groupe).toObject();
    g.insert(cle, valeur);
    registre.insert(groupe, g);
}

} // namespace

QString RegistreComposants::chemin()
{
    const QString explicite = qEnvironmentVariable("PAVONIS_REGISTRE");
    if (!explicite.isEmpty())
        return explicite;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/pavonis/registre-composants.json");
}

QJsonObject RegistreComposants::lire()
{
    QFile fichier(chemin());
    if (!fichier.exists())
        return {};
    if (!fichier.open(QIODevice::ReadOnly))
        echec(QStringLiteral("Registre des composants %1 illisible (%2).").arg(fichier.fileName(), fichier.errorString()));
    QJsonParseError erreur;
    const QJsonDocument doc = QJsonDocument::fromJson(fichier.readAll(), &erreur);
    if (erreur.error != QJsonParseError::NoError || !doc.isObject())
        echec(QStringLiteral("Le registre des composants %1 est abîmé (%2) ; il n'a pas été modifié.")
                  .arg(fichier.fileName(), erreur.errorString()));
    return doc.object();
}

void RegistreComposants::ecrire(const QJsonObject& registre)
{
    const QString f = chemin();
    QDir().mkpath(QFileInfo(f).absolutePath());
    QSaveFile fichier(f);
    if (!fichier.open(QIODevice::WriteOnly) ||
        fichier.write(QJsonDocument(registre).toJson(QJsonDocument::Indented)) < 0 || !fichier.commit())
        echec(QStringLiteral("Impossible d'écrire le registre des composants %1 (%2).").arg(f, fichier.errorString()));
}

void RegistreComposants::enregistrer(const IdentiteComposant& id, const QString& fichierBibliotheque)
{
    const QString fichier = QFileInfo(fichierBibliotheque).absoluteFilePath();
    QJsonObject registre = lire();

    QJsonObject versions = registre.value(QStringLiteral("TypeLib")).toObject().value(q(id.idBibliotheque)).toObject();
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
            QJsonObject{{"nom", q(id.interfaceDefaut)}, {"TypeLib", q(id.idBibliotheque)}, {"Version", q(id.version)}});
    inserer(registre, QStringLiteral("Interface"), q(id.idInterfaceEvenements),
            QJsonObject{{"nom", q(id.interfaceEvenements)},
                        {"TypeLib", q(id.idBibliotheque)},
                        {"Version", q(id.version)}});
    ecrire(registre);
}

void RegistreComposants::desenregistrer(const IdentiteComposant& id)
{
    QJsonObject registre = lire();
    QJsonObject versions = registre.value(QStringLiteral("TypeLib")).toObject().value(q(id.idBibliotheque)).toObject();
    versions.remove(q(id.version));
    if (versions.isEmpty())
        retirer(registre, QStringLiteral("TypeLib"), q(id.idBibliotheque));
    else
        inserer(registre, QStringLiteral("TypeLib"), q(id.idBibliotheque), versions);
    retirer(registre, QStringLiteral("CLSID"), q(id.idClasse));
    retirer(registre, QStringLiteral("ProgID"), q(id.progId));
    retirer(registre, QStringLiteral("Interface"), q(id.idInterfaceDefaut));
    retirer(registre, QStringLiteral("Interface"), q(id.idInterfaceEvenements));
    ecrire(registre);
}

std::optional<RegistreComposants::Classe> RegistreComposants::classe(const QString& progId)
{
    const QJsonObject registre = lire();
    const QString clsid =
        registre.value(QStringLiteral("ProgID")).toObject().value(progId).toObject().value("CLSID").toString();
    if (clsid.isEmpty())
        return std::nullopt;
    const QString fichier =
        registre.value(QStringLiteral("CLSID")).toObject().value(clsid).toObject().value("InprocServer32").toString();
    if (fichier.isEmpty())
        return std::nullopt;
    return Classe{clsid, fichier};
}

} // namespace pavonis
