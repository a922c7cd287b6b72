#include "IdentitePavonis.h"

#include <pavonis/control/IUc_Pavonis.h>

namespace pavonis {

const IdentiteComposant& identitePavonis()
{
    using namespace etat_controle;
    static const IdentiteComposant identite{
        "Pavonis",
        "{6E1A3C52-8F0B-4D7E-9A21-5C3B7D9E0F41}",
        "1.0",
        "Uc_Pavonis",
        "{B3F2A7D4-1C5E-4A8B-9D6F-2E7C0A9B1D53}",
        "Pavonis.Uc_Pavonis",
        "_Uc_Pavonis",
        IUc_Pavonis::kIid,
        "__Uc_Pavonis",
        "{9A7C5E3B-2D1F-4B8E-A6C4-3F5D7E9B0C12}",
        "Apartment",
        kSiteClientDAbord | kActiverQuandVisible | kActivationInterne | kPasDeLienInterne |
            kRecomposerAuRedimensionnement,
    };
    return identite;
}

CompteurServeur& compteurServeur()
{
    static CompteurServeur compteur;
    return compteur;
}

} // namespace pavonis
