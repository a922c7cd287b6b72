#pragma once

#include <atomic>

namespace pavonis {

// What keeps a component library loaded: its live instances and the locks
// taken on its class factory.
class CompteurServeur {
public:
    void ajouterObjet() { ++objets_; }
    void retirerObjet() { --objets_; }
    void verrouiller(bool oui) { oui ? ++verrous_ : --verrous_; }
    bool peutDecharger() const { return objets_ == 0 && verrous_ == 0; }

private:
    std::atomic<int> objets_{0};
    std::atomic<int> verrous_{0};
};

} // namespace pavonis
