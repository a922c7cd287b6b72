#include "LecteurEcran.h"

#include <pavonis/hostapi/Erreur.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>

namespace pavonis::impression {

namespace {

QString nomQt(std::string_view nom)
{
    return QString::fromUtf8(nom.data(), qsizetype(nom.size()));
}

template <typename W> const W& deGenre(QWidget* w, std::string_view nom, const char* genre)
{
    if (const auto* c = qobject_cast<const W*>(w))
        return *c;
    throw Erreur(Erreur::Code::InterfaceAbsente, QStringLiteral("Le contrôle « %1 » de l'écran n'est pas %2.")
                                                     .arg(nomQt(nom), QString::fromUtf8(genre))
                                                     .toStdString());
}

} // namespace

LecteurEcran::LecteurEcran(const QWidget& controle)
{
    // One pass over the screen instead of a search per control; the first
    // control of a name wins, as a search in creation order would find it.
    const QList<QWidget*> tous = controle.findChildren<QWidget*>();
    controles_.reserve(tous.size());
    for (QWidget* w : tous)
        if (!w->objectName().isEmpty() && !controles_.contains(w->objectName()))
            controles_.insert(w->objectName(), w);
}

QWidget* LecteurEcran::controle(std::string_view nom) const
{
    if (QWidget* w = controles_.value(nomQt(nom)))
        return w;
    throw Erreur(
        Erreur::Code::ObjetAbsent,
        QStringLiteral("Le contrôle « %1 » est introuvable sur l'écran.").arg(nomQt(nom)).toStdString());
}

bool LecteurEcran::optionSelectionnee(std::string_view nom) const
{
    return deGenre<QRadioButton>(controle(nom), nom, "un bouton d'option").isChecked();
}

bool LecteurEcran::caseCochee(std::string_view nom) const
{
    return deGenre<QCheckBox>(controle(nom), nom, "une case à cocher").isChecked();
}

std::string LecteurEcran::texte(std::string_view nom) const
{
    return deGenre<QLineEdit>(controle(nom), nom, "une zone de texte").text().toStdString();
}

} // namespace pavonis::impression
