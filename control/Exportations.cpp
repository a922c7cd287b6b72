// The library's registration and class-factory entry points. Each hands
// over to the component runtime with the library's own identity.

#include "IdentitePavonis.h"

#include <pavonis/platform/CodesStatut.h>
#include <pavonis/platform/Composants.h>

#include <pavonis/control/Uc_Pavonis.h>
#include <pavonis/hostapi/Visibilite.h>

#include <QFileInfo>

#include <cstring>

#include <dlfcn.h>

namespace pavonis {
namespace {

QString fichierDeLaBibliotheque()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&fichierDeLaBibliotheque), &info) && info.dli_fname)
        return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
    return {};
}

class FabriquePavonis final : public IFabriqueClasse {
public:
    std::int32_t CreateInstance(QWidget* conteneur, const char* iid, void** objet) override
    {
        if (!objet)
            return statut::kPointeurNul;
        *objet = nullptr;
        if (!iid || std::strcmp(iid, IUc_Pavonis::kIid) != 0)
            return statut::kPasDInterface;
        try {
            *objet = static_cast<IUc_Pavonis*>(new Uc_Pavonis(conteneur));
            return statut::kOk;
        } catch (...) {
            return statut::kEchec;
        }
    }
    std::int32_t LockServer(bool verrouiller) override
    {
        compteurServeur().verrouiller(verrouiller);
        return statut::kOk;
    }
};

FabriquePavonis& fabrique()
{
    static FabriquePavonis f;
    return f;
}

} // namespace
} // namespace pavonis

extern "C" {

PAVONIS_API std::int32_t DllRegisterServer()
{
    return pavonis::Composants::enregistrerServeur(pavonis::identitePavonis(),
                                                   pavonis::fichierDeLaBibliotheque());
}

PAVONIS_API std::int32_t DllUnregisterServer()
{
    return pavonis::Composants::desenregistrerServeur(pavonis::identitePavonis());
}

PAVONIS_API std::int32_t DllGetClassObject(const char* idClasse, const char* iid, void** objet)
{
    return pavonis::Composants::objetClasse(pavonis::identitePavonis(), pavonis::fabrique(), idClasse, iid,
                                            objet);
}

PAVONIS_API std::int32_t DllCanUnloadNow()
{
    return pavonis::compteurServeur().peutDecharger() ? pavonis::statut::kOk : pavonis::statut::kFaux;
}

} // extern "C"
