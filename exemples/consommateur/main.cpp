// A minimal host: places the AGGIR control in a window, directly (linked)
// and through the component runtime, and tells what it sees.

#include <pavonis/control/Uc_Pavonis.h>

#include <pavonis/platform/Composants.h>

#include <QApplication>
#include <QLineEdit>

#include <iostream>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget fenetre;
    auto* controle = new pavonis::Uc_Pavonis(&fenetre);
    const auto zones = controle->findChildren<QLineEdit*>();
    std::cout << "Contrôle Uc_Pavonis créé : " << controle->findChildren<QWidget*>().size()
              << " éléments, dont " << zones.size() << " zones de texte." << std::endl;
    controle->W_Code(QStringLiteral("X-1"));

    // The same control by its programmatic id, when the library is registered.
    try {
        pavonis::IUc_Pavonis* autre = pavonis::Composants::creerControle<pavonis::IUc_Pavonis>(
            QStringLiteral("Pavonis.Uc_Pavonis"), &fenetre);
        std::cout << "Créé aussi par son identifiant : W_Sortir = " << autre->W_Sortir() << std::endl;
    } catch (const pavonis::Erreur& e) {
        std::cout << "Non enregistré : " << e.what() << std::endl;
    }
    return controle->W_Code() == QStringLiteral("X-1") && zones.size() == 35 ? 0 : 1;
}
