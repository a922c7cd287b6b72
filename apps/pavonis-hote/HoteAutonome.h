#pragma once

#include <pavonis/control/IUc_Pavonis.h>

#include <QString>

#include <memory>

class QWidget;

namespace pavonis {

class MagasinParametres;

// The stand-alone host: its library classes registered in the component
// runtime, its parameter store, and the control created by programmatic id
// and given the host's objects.
class HoteAutonome {
public:
    // `parametres`: the store to open (created and seeded when missing);
    // empty for the user's default store.
    explicit HoteAutonome(const QString& parametres);
    ~HoteAutonome();

    // Makes sure the runtime finds this program's control library, then
    // creates the control in `fenetre` and hands it the host objects.
    // Raises Erreur when any of it fails.
    IUc_Pavonis* creerControle(QWidget* fenetre);

    const MagasinParametres& magasin() const { return *magasin_; }

private:
    std::shared_ptr<MagasinParametres> magasin_;
};

} // namespace pavonis
