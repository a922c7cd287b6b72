#include <pavonis/screen/EcranPavonis.h>

#include "AccessibiliteEcran.h"
#include "CadreLegende.h"
#include "EnteteColonnes.h"
#include <pavonis/platform/NavigateurAide.h>
#include <pavonis/platform/Twips.h>
#include <pavonis/presentation/DescriptionEcran.h>

#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/hostapi/Erreur.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>

#include <iterator>

namespace pavonis {

namespace {

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

const QColor kOrangeClair(255, 224, 192);

QFont policeResultat()
{
    QFont f;
    f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    f.setPointSize(18);
    f.setWeight(QFont::Normal);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    return f;
}

// Horizontal centre, in window coordinates, of the round or square mark of
// an option or a box: what the eye takes for the column.
double centreIndicateur(const QWidget& bouton)
{
    QStyleOptionButton o;
    o.initFrom(&bouton);
    const bool option = qobject_cast<const QRadioButton*>(&bouton);
    const QRect r = bouton.style()->subElementRect(
        option ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &o, &bouton);
    return bouton.mapTo(bouton.window(), QPoint(0, 0)).x() + r.left() + r.width() / 2.0;
}

} // namespace

EcranPavonis::Position EcranPavonis::position(const QWidget* w) const
{
    const auto it = positions_.constFind(w);
    if (it == positions_.cend())
        throw Erreur(Erreur::Code::Plateforme, "Contrôle hors de l'écran.");
    return *it;
}

void EcranPavonis::placer(QWidget* w, const Position& p)
{
    // The help pane is placed again at every mouse move: keep that cheap.
    const auto actuelle = positions_.constFind(w);
    if (actuelle != positions_.cend() && *actuelle == p)
        return;
    positions_.insert(w, p);
    // Published for hosts and tools that describe the screen in twips.
    w->setProperty(kProprieteTwips, QRect(p.gauche, p.haut, p.largeur, p.hauteur));
    w->setGeometry(Twips::versPixels(p.gauche, p.haut, p.largeur, p.hauteur));
}

EcranPavonis::EcranPavonis(QWidget& surface)
{
    // The surface's default font: Arial's metric twin at 7.5 points (10
    // pixels at 96 dpi), in which every caption fits its label.
    QFont police = surface.font();
    police.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    police.setPointSizeF(7.5);
    surface.setFont(police);

    for (const DescriptionControle& d : ecran::controles()) {
        QWidget* parent = d.conteneur.empty() ? &surface : controles_.value(qs(d.conteneur));
        QWidget* w = creer(d, parent);
        w->setObjectName(qs(d.nom));
        placer(w, {d.gauche, d.haut, d.largeur, d.hauteur});
        controles_.insert(w->objectName(), w);
    }

    // The help pane is drawn above whatever it covers.
    navigateur()->raise();

    QWidget* precedent = nullptr;
    for (std::string_view nom : ecran::ordreTabulation()) {
        QWidget* w = controle(nom);
        if (precedent)
            QWidget::setTabOrder(precedent, w);
        precedent = w;
    }
    decrireEcran(*this);
    alignerEntetes();
}

void EcranPavonis::alignerEntetes()
{
    // Each heading and the row whose controls stand in its columns.
    const std::pair<std::string_view, const LigneEvaluation*> entetes[] = {
        {ecran::kEtiquetteDiscriminantes,
         &grille::kLignes[grille::variable(grille::kOrdreDiscriminantes.front()).premiereLigne]},
        {ecran::kEtiquetteIllustratives,
         &grille::kLignes[grille::variable(grille::kOrdreIllustratives.front()).premiereLigne]},
    };
    for (const auto& [nom, ligne] : entetes) {
        auto* entete = qobject_cast<EnteteColonnes*>(controle(nom));
        if (!entete)
            continue;
        const double gauche = entete->mapTo(entete->window(), QPoint(0, 0)).x();
        const QWidget* colonnes[] = {option(ligne->optionFait),    option(ligne->optionFaitPas),
                                     caseACocher(ligne->cases[0]), caseACocher(ligne->cases[1]),
                                     caseACocher(ligne->cases[2]), caseACocher(ligne->cases[3])};
        QList<EnteteColonnes::Mot> centres;
        for (std::size_t k = 0; k < ecran::kMotsColonnes.size(); ++k)
            centres.append({qs(ecran::kMotsColonnes[k]), centreIndicateur(*colonnes[k]) - gauche});
        entete->centrerMots(centres);
    }
}

QWidget* EcranPavonis::creer(const DescriptionControle& d, QWidget* parent)
{
    switch (d.genre) {
    case GenreControle::Etiquette: {
        const bool entete =
            d.nom == ecran::kEtiquetteDiscriminantes || d.nom == ecran::kEtiquetteIllustratives;
        QLabel* l = entete ? new EnteteColonnes(parent) : new QLabel(parent);
        l->setTextFormat(Qt::PlainText);
        l->setText(qs(d.legende));
        l->setWordWrap(d.retourALaLigne);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (d.fondOrange) {
            l->setAutoFillBackground(true);
            QPalette p = l->palette();
            p.setColor(QPalette::Window, kOrangeClair);
            l->setPalette(p);
        }
        return l;
    }
    case GenreControle::ZoneTexte: {
        auto* z = new QLineEdit(parent);
        z->setReadOnly(d.lectureSeule);
        if (d.longueurMax > 0)
            z->setMaxLength(d.longueurMax);
        if (d.grandePolice)
            z->setFont(policeResultat());
        return z;
    }
    case GenreControle::Cadre: {
        QGroupBox* c = d.legende.empty() ? new QGroupBox(parent) : new CadreLegende(qs(d.legende), parent);
        c->setFocusPolicy(Qt::NoFocus);
        return c;
    }
    case GenreControle::Bouton: {
        auto* b = new QPushButton(qs(d.legende), parent);
        b->setAutoDefault(false);
        return b;
    }
    case GenreControle::Case:
        return new QCheckBox(parent);
    case GenreControle::Option:
        return new QRadioButton(parent);
    case GenreControle::BarreDefilement: {
        auto* b = new QScrollBar(Qt::Vertical, parent);
        b->setRange(0, 32767);
        b->setValue(0);
        b->setSingleStep(1);
        b->setPageStep(1);
        // Dragging the thumb reports positions (sliderMoved) and changes the
        // value once, at the release.
        b->setTracking(false);
        b->setFocusPolicy(Qt::StrongFocus);
        return b;
    }
    case GenreControle::Navigateur: {
        auto* n = new NavigateurAide(parent);
        n->hide();
        return n;
    }
    }
    throw Erreur(Erreur::Code::Plateforme, "genre de contrôle inconnu");
}

QWidget* EcranPavonis::controle(std::string_view nom) const
{
    QWidget* w = controles_.value(qs(nom));
    if (!w)
        throw Erreur(Erreur::Code::Plateforme, "Contrôle inconnu : " + std::string(nom) + ".");
    return w;
}

template <class T> T* EcranPavonis::type(std::string_view nom) const
{
    T* t = qobject_cast<T*>(controle(nom));
    if (!t)
        throw Erreur(Erreur::Code::Plateforme,
                     "Le contrôle " + std::string(nom) + " n'est pas du genre attendu.");
    return t;
}

QRadioButton* EcranPavonis::option(std::string_view nom) const
{
    return type<QRadioButton>(nom);
}
QCheckBox* EcranPavonis::caseACocher(std::string_view nom) const
{
    return type<QCheckBox>(nom);
}
QLineEdit* EcranPavonis::zone(std::string_view nom) const
{
    return type<QLineEdit>(nom);
}
QPushButton* EcranPavonis::bouton(std::string_view nom) const
{
    return type<QPushButton>(nom);
}
QLabel* EcranPavonis::etiquette(std::string_view nom) const
{
    return type<QLabel>(nom);
}
QScrollBar* EcranPavonis::barre() const
{
    return type<QScrollBar>(ecran::kBarreDefilement);
}
NavigateurAide* EcranPavonis::navigateur() const
{
    return type<NavigateurAide>(ecran::kNavigateur);
}

} // namespace pavonis
