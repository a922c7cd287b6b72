#include "FiltreSaisieDate.h"

#include <QLineEdit>

namespace pavonis {

FiltreSaisieDate::FiltreSaisieDate(QLineEdit& zone) : QValidator(&zone), zone_(zone), precedent_(zone.text())
{
    connect(&zone, &QLineEdit::textChanged, this, [this](const QString& t) { precedent_ = t; });
    zone.setValidator(this);
}

void FiltreSaisieDate::ecrire(const QString& texte)
{
    actif_ = false;
    zone_.setText(texte);
    actif_ = true;
}

QString FiltreSaisieDate::filtrer(QStringView insere)
{
    QString r;
    r.reserve(insere.size());
    for (char32_t c : insere.toUcs4())
        r += (c >= U'0' && c <= U'9') || c == U'/' ? QChar(char16_t(c)) : QChar(u'/');
    return r;
}

QValidator::State FiltreSaisieDate::validate(QString& texte, int& position) const
{
    if (!actif_ || texte == precedent_)
        return Acceptable;
    // What changed is what lies between the common start and the common end.
    const qsizetype n = qMin(texte.size(), precedent_.size());
    qsizetype debut = 0;
    while (debut < n && texte[debut] == precedent_[debut])
        ++debut;
    qsizetype fin = 0;
    while (fin < n - debut && texte[texte.size() - 1 - fin] == precedent_[precedent_.size() - 1 - fin])
        ++fin;
    // Never split a surrogate pair.
    if (debut > 0 && texte[debut - 1].isHighSurrogate())
        --debut;
    if (fin > 0 && texte[texte.size() - fin].isLowSurrogate())
        --fin;
    const QStringView insere = QStringView(texte).mid(debut, texte.size() - debut - fin);
    const QString filtre = filtrer(insere);
    if (filtre != insere) {
        if (position >= debut + insere.size())
            position += int(filtre.size() - insere.size());
        else if (position > debut)
            position = int(debut + filtre.size());
        texte = texte.left(debut) + filtre + texte.right(fin);
    }
    return Acceptable;
}

} // namespace pavonis
