#include <pavonis/host/DroitsAutonomes.h>

namespace pavonis {

namespace {
class DroitAutonome final : public IDroitEntree {
public:
    explicit DroitAutonome(bool autorise) : autorise_(autorise) {}
    bool Autorise() override { return autorise_; }

private:
    bool autorise_;
};
} // namespace

DroitsAutonomes::DroitsAutonomes() : droits_{{"DOSAIDEAGGIR", true}} {}

ObjetPtr DroitsAutonomes::Droit(const std::string& cle)
{
    const auto it = droits_.find(cle);
    if (it == droits_.end())
        throw Erreur(Erreur::Code::ParametreAbsent, "Droit utilisateur inconnu : \"" + cle + "\".");
    return std::make_shared<DroitAutonome>(it->second);
}

} // namespace pavonis
