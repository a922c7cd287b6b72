#include "AccessibiliteEcran.h"

#include <pavonis/platform/NavigateurAide.h>
#include <pavonis/presentation/DescriptionEcran.h>
#include <pavonis/screen/EcranPavonis.h>

#include <pavonis/engine/GrilleAggir.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

#include <array>

namespace pavonis {

namespace {

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

struct SensAdverbe {
    const char* lettre;
    const char* mot;
};
// In the box order of a row: S, T, C, H.
constexpr std::array<SensAdverbe, 4> kSensAdverbes{{
    {"S", "Spontanément"},
    {"T", "Totalement"},
    {"C", "Correctement"},
    {"H", "Habituellement"},
}};

// A name as it is said: the screen writes capitals without their accent.
QString dit(std::string_view libelle)
{
    const QString s = qs(libelle);
    return s.startsWith(QLatin1String("Elimination")) ? QStringLiteral("É") + s.mid(1) : s;
}

// "de" before a name, elided before a vowel or a mute h: « de Toilette »,
// « d'Élimination », « d'Habillage ».
QString de(const QString& nom)
{
    static const QString kVoyelles = QStringLiteral("AEIOUYHÉÈÊÂÎÔ");
    return !nom.isEmpty() && kVoyelles.contains(nom.front().toUpper()) ? QStringLiteral("d'") + nom
                                                                       : QStringLiteral("de ") + nom;
}

void nommer(QWidget* w, const QString& nom, const QString& description = {})
{
    w->setAccessibleName(nom);
    if (!description.isEmpty())
        w->setAccessibleDescription(description);
}

} // namespace

void decrireEcran(EcranPavonis& ecran)
{
    for (const LigneEvaluation& l : grille::kLignes) {
        const VariableAggir& v = grille::variable(l.variable);
        const QString ligne = l.sousVariableImprimee.empty()
                                  ? dit(v.libelle)
                                  : dit(v.libelle) + QStringLiteral(", ") + qs(l.sousVariableImprimee);
        const QString aide = QStringLiteral("F1 affiche ou masque l'aide de la variable.");
        nommer(ecran.option(l.optionFait), ligne + QStringLiteral(" : Fait"), aide);
        nommer(ecran.option(l.optionFaitPas), ligne + QStringLiteral(" : Ne fait pas"), aide);
        for (std::size_t a = 0; a < kSensAdverbes.size(); ++a) {
            QCheckBox* c = ecran.caseACocher(l.cases[a]);
            const QString sens = QString::fromUtf8(kSensAdverbes[a].lettre) + QStringLiteral(" — ") +
                                 QString::fromUtf8(kSensAdverbes[a].mot);
            nommer(c, ligne + QStringLiteral(" : ") + sens,
                   QStringLiteral("Cochée si la condition n'est pas remplie."));
            c->setToolTip(
                QString::fromUtf8(kSensAdverbes[a].lettre) + QStringLiteral("- ") +
                QString::fromUtf8(kSensAdverbes[a].mot) +
                QStringLiteral("\nLa case est noire (cochée) quand les conditions ne sont pas remplies."));
        }
        if (l.note != v.note)
            nommer(ecran.zone(l.note), QStringLiteral("Modalité ") + de(ligne));
    }
    for (const VariableAggir& v : grille::kVariables)
        nommer(ecran.zone(v.note), QStringLiteral("Modalité de la variable ") + dit(v.libelle));

    nommer(ecran.zone(ecran::kGroupe), QStringLiteral("Groupe iso-ressources"));
    nommer(ecran.zone(ecran::kSousGroupe), QStringLiteral("Sous-groupe"));
    nommer(ecran.zone(ecran::kDateEval), QStringLiteral("A la date du"),
           QStringLiteral("Date de l'évaluation, jour/mois/année"));
    nommer(ecran.zone(ecran::kNomBenef), QStringLiteral("Nom prénom du bénéficiaire"));
    nommer(ecran.zone(ecran::kNomEnqueteur), QStringLiteral("Nom de l'enquêteur"));
    nommer(ecran.navigateur(), QStringLiteral("Aide au remplissage"), QStringLiteral("Échap masque l'aide."));
    nommer(ecran.barre(), QStringLiteral("Défilement de l'écran"));
}

} // namespace pavonis
