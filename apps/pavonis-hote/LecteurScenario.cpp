#include <pavonis/hote/LecteurScenario.h>

#include <pavonis/hostapi/Erreur.h>

#include <QFile>
#include <QStringDecoder>

#include <map>

namespace pavonis {

namespace {

using Genre = ActionScenario::Genre;

[[noreturn]] void refuser(const QString& message)
{
    throw Erreur(Erreur::Code::Saisie, message.toStdString());
}

struct Forme {
    Genre genre;
    enum Arguments { Aucun, Nom, NomEtTexte, Nombre, SensEtNombre } arguments;
};

const std::map<QString, Forme>& formes()
{
    static const std::map<QString, Forme> f{
        {"cliquer", {Genre::Cliquer, Forme::Nom}},   {"double-cliquer", {Genre::DoubleCliquer, Forme::Nom}},
        {"cocher", {Genre::Cocher, Forme::Nom}},     {"decocher", {Genre::Decocher, Forme::Nom}},
        {"effacer", {Genre::Effacer, Forme::Nom}},   {"saisir", {Genre::Saisir, Forme::NomEtTexte}},
        {"quitter", {Genre::Quitter, Forme::Nom}},   {"touche", {Genre::Touche, Forme::NomEtTexte}},
        {"survoler", {Genre::Survoler, Forme::Nom}}, {"defiler", {Genre::Defiler, Forme::Nombre}},
        {"pas", {Genre::Pas, Forme::SensEtNombre}},  {"choisir", {Genre::Choisir, Forme::NomEtTexte}},
        {"fermer", {Genre::Fermer, Forme::Aucun}},
    };
    return f;
}

// A whole decimal number within [min, max].
int nombre(const QString& texte, int min, int max, const QString& quoi)
{
    bool ok = false;
    const int n = texte.toInt(&ok, 10);
    if (!ok || texte.startsWith(u'+') || n < min || n > max)
        refuser(QStringLiteral("%1, de %2 à %3, pas « %4 »").arg(quoi).arg(min).arg(max).arg(texte));
    return n;
}

ActionScenario lireLigne(const QString& ligne)
{
    const QString texte = ligne.trimmed();
    const QString motAction = texte.section(u' ', 0, 0);
    const QString nom = texte.section(u' ', 1, 1, QString::SectionSkipEmpty);
    // What follows the name, spaces inside it kept.
    const qsizetype apresNom = nom.isEmpty() ? -1 : texte.indexOf(nom, motAction.size()) + nom.size();
    const QString reste = apresNom < 0 ? QString() : texte.mid(apresNom).trimmed();

    const auto forme = formes().find(motAction);
    if (forme == formes().end())
        refuser(QStringLiteral("action inconnue « %1 »").arg(motAction));
    ActionScenario a;
    a.genre = forme->second.genre;
    switch (forme->second.arguments) {
    case Forme::Aucun:
        if (!nom.isEmpty())
            refuser(QStringLiteral("« %1 » ne prend pas d'argument").arg(motAction));
        break;
    case Forme::Nom:
    case Forme::NomEtTexte:
        if (nom.isEmpty())
            refuser(QStringLiteral("il manque le nom du contrôle"));
        a.nom = nom;
        a.texte = reste;
        if (forme->second.arguments == Forme::Nom && !reste.isEmpty())
            refuser(QStringLiteral("« %1 » prend un seul nom de contrôle, pas « %2 »").arg(motAction, reste));
        if (a.genre == Genre::Touche && reste.isEmpty())
            refuser(QStringLiteral("il manque la touche"));
        if (a.genre == Genre::Choisir && reste.isEmpty())
            refuser(QStringLiteral("il manque l'entrée à choisir"));
        break;
    case Forme::Nombre:
        if (!reste.isEmpty())
            refuser(QStringLiteral("« %1 » prend une seule valeur").arg(motAction));
        a.nombre =
            nombre(nom, 0, LecteurScenario::kDefilementMax, QStringLiteral("valeur de défilement attendue"));
        break;
    case Forme::SensEtNombre:
        if (nom != QLatin1String("bas") && nom != QLatin1String("haut"))
            refuser(QStringLiteral("« pas » attend bas ou haut"));
        a.nom = nom;
        a.nombre = reste.isEmpty()
                       ? 1
                       : nombre(reste, 1, LecteurScenario::kPasMax, QStringLiteral("nombre de pas attendu"));
        break;
    }
    for (QChar c : a.texte)
        if (c.category() == QChar::Other_Control)
            refuser(QStringLiteral("caractère de contrôle U+%1 dans le texte")
                        .arg(QString::number(c.unicode(), 16).rightJustified(4, u'0').toUpper()));
    return a;
}

} // namespace

QList<ActionScenario> LecteurScenario::lireFichier(const QString& chemin)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        refuser(QStringLiteral("scénario %1 illisible (%2)").arg(chemin, fichier.errorString()));
    // Read one byte past the limit: special files (/dev/zero) have no size.
    const QByteArray contenu = fichier.read(kTailleMax + 1);
    if (contenu.size() > kTailleMax)
        refuser(QStringLiteral("scénario %1 : plus de %2 octets, ce n'est pas un scénario")
                    .arg(chemin)
                    .arg(kTailleMax));
    return lire(contenu, chemin);
}

QList<ActionScenario> LecteurScenario::lire(const QByteArray& contenu, const QString& nom)
{
    if (contenu.contains('\0'))
        refuser(QStringLiteral("scénario %1 : ce n'est pas un fichier texte").arg(nom));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString texte = utf8.decode(contenu);
    if (utf8.hasError())
        refuser(QStringLiteral("scénario %1 : le texte n'est pas en UTF-8").arg(nom));

    QList<ActionScenario> actions;
    const QStringList lignes = texte.split(u'\n');
    for (qsizetype i = 0; i < lignes.size(); ++i) {
        QString ligne = lignes[i];
        if (ligne.endsWith(u'\r'))
            ligne.chop(1);
        const QString t = ligne.trimmed();
        if (t.isEmpty() || t.startsWith(u'#'))
            continue;
        try {
            ActionScenario a = lireLigne(ligne);
            a.ligne = int(i + 1);
            actions.append(std::move(a));
        } catch (const Erreur& e) {
            refuser(QStringLiteral("scénario %1, ligne %2 : %3")
                        .arg(nom)
                        .arg(i + 1)
                        .arg(QString::fromUtf8(e.what())));
        }
    }
    return actions;
}

} // namespace pavonis
