#include "FenetreDemo.h"

#include <QCloseEvent>

namespace pavonis {

FenetreDemo::FenetreDemo(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Pavonis — hôte de démonstration"));
}

void FenetreDemo::closeEvent(QCloseEvent* event)
{
    sortie_ = controle_ && controle_->property("W_Sortir").toBool();
    fermee_ = true;
    emit fermeture(sortie_);
    QWidget::closeEvent(event);
}

} // namespace pavonis
