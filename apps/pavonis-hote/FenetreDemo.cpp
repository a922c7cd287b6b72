#include "FenetreDemo.h"

#include <QCloseEvent>

namespace pavonis {

FenetreDemo::FenetreDemo(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Pavonis — hôte de démonstration"));
}

void FenetreDemo::closeEvent(QCloseEvent* event)
{
    emit fermeture(controle_ && controle_->property("W_Sortir").toBool());
    QWidget::closeEvent(event);
}

} // namespace pavonis
