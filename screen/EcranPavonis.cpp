#include "EcranPavonis.h"

#include "DescriptionEcran.h"
#include "NavigateurAide.h"
#include "Twips.h"

#include <pavonis/Erreur.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace pavonis {

namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

const QColor kOrangeClair(255, 224, 192);

QFont policeResultat()
{
    QFont f;
    f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    f.setPointSize(18);
    f.setWeight(QFont::Normal);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    return f;
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
    // The surface's default font: a small sans serif, as the form was drawn for.
    QFont police = surface.font();
    police.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    police.setPointSize(8);
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
}

QWidget* EcranPavonis::creer(const DescriptionControle& d, QWidget* parent)
{
    switch (d.genre) {
    case GenreControle::Etiquette: {
        auto* l = new QLabel(parent);
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
        auto* c = new QGroupBox(qs(d.legende), parent);
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

template <class T>
T* EcranPavonis::type(std::string_view nom) const
{
    T* t = qobject_cast<T*>(controle(nom));
    if (!t)
        throw Erreur(Erreur::Code::Plateforme, "Le contrôle " + std::string(nom) + " n'est pas du genre attendu.");
    return t;
}

QRadioButton* EcranPavonis::option(std::string_view nom) const { return type<QRadioButton>(nom); }
QCheckBox* EcranPavonis::caseACocher(std::string_view nom) const { return type<QCheckBox>(nom); }
QLineEdit* EcranPavonis::zone(std::string_view nom) const { return type<QLineEdit>(nom); }
QPushButton* EcranPavonis::bouton(std::string_view nom) const { return type<QPushButton>(nom); }
QLabel* EcranPavonis::etiquette(std::string_view nom) const { return type<QLabel>(nom); }
QScrollBar* EcranPavonis::barre() const { return type<QScrollBar>(ecran::kBarreDefilement); }
NavigateurAide* EcranPavonis::navigateur() const { return type<NavigateurAide>(ecran::kNavigateur); }

} // namespace pavonis
