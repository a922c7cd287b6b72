#include "EtatEcran.h"

#include <pavonis/platform/NavigateurAide.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QScrollBar>

namespace pavonis {

namespace {

QJsonObject decrire(const QWidget& w)
{
    QJsonObject o{{"nom", w.objectName()},
                  {"conteneur", w.parentWidget() && w.parentWidget()->property("twips").isValid()
                                    ? w.parentWidget()->objectName()
                                    : QString()},
                  {"actif", w.isEnabled()},
                  {"visible", !w.isHidden()}};
    const QRect t = w.property("twips").toRect();
    o.insert("gauche", t.x());
    o.insert("haut", t.y());
    o.insert("largeur", t.width());
    o.insert("hauteur", t.height());

    if (auto* n = qobject_cast<const NavigateurAide*>(&w)) {
        o.insert("genre", "navigateur");
        o.insert("adresse", n->LocationURL());
    } else if (auto* c = qobject_cast<const QCheckBox*>(&w)) {
        o.insert("genre", "case");
        o.insert("valeur", c->isChecked() ? 1 : 0);
    } else if (auto* r = qobject_cast<const QRadioButton*>(&w)) {
        o.insert("genre", "option");
        o.insert("valeur", r->isChecked());
    } else if (auto* z = qobject_cast<const QLineEdit*>(&w)) {
        o.insert("genre", "zone_texte");
        o.insert("texte", z->text());
    } else if (auto* l = qobject_cast<const QLabel*>(&w)) {
        o.insert("genre", "etiquette");
        o.insert("texte", l->text());
    } else if (auto* g = qobject_cast<const QGroupBox*>(&w)) {
        o.insert("genre", "cadre");
        o.insert("texte", g->title());
    } else if (auto* b = qobject_cast<const QPushButton*>(&w)) {
        o.insert("genre", "bouton");
        o.insert("texte", b->text());
    } else if (auto* s = qobject_cast<const QScrollBar*>(&w)) {
        o.insert("genre", "barre_defilement");
        o.insert("valeur", s->value());
        o.insert("minimum", s->minimum());
        o.insert("maximum", s->maximum());
    }
    return o;
}

} // namespace

QJsonObject etatEcran(const QWidget& controle)
{
    QJsonArray controles;
    for (const QWidget* w : controle.findChildren<QWidget*>())
        if (w->property("twips").isValid())
            controles.append(decrire(*w));

    QJsonObject volet;
    if (const auto* n = controle.findChild<NavigateurAide*>(QStringLiteral("WB_Aide"))) {
        const QRect t = n->property("twips").toRect();
        volet = {{"visible", !n->isHidden()},
                 {"gauche", t.x()},
                 {"haut", t.y()},
                 {"largeur", t.width()},
                 {"hauteur", t.height()},
                 {"adresse", n->LocationURL()},
                 {"page_introuvable", n->pageIntrouvable()}};
    }
    return {{"W_Sortir", controle.property("W_Sortir").toBool()},
            {"W_Code", controle.property("W_Code").toString()},
            {"W_NomPrenom", controle.property("W_NomPrenom").toString()},
            {"CheminAide", controle.property("CheminAide").toString()},
            {"ValeurDefilement", controle.property("ValeurDefilement").toInt()},
            {"volet_aide", volet},
            {"controles", controles}};
}

} // namespace pavonis
