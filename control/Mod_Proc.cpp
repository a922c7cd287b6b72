#include "Mod_Proc.h"

#include "EtatModule.h"

namespace pavonis {

EtatModule& EtatModule::duThread()
{
    thread_local EtatModule etat;
    return etat;
}

void Mod_Proc::ChargerParametres()
{
    EtatModule& m = EtatModule::duThread();
    if (!m.baseDonnees)
        throw Erreur(Erreur::Code::ObjetAbsent,
                     "Aucune base de données : l'hôte doit donner TheDatabase avant Init.");
    m.paramAggir = convertir<ISectionParametres>(m.baseDonnees->Section("AGGIRPARAM"),
                                                 "Section de paramètres \"AGGIRPARAM\"");
    m.paramChemin = convertir<ISectionParametres>(m.baseDonnees->Section("CHEMINFICHIER"),
                                                  "Section de paramètres \"CHEMINFICHIER\"");
    m.entreeChemin = convertir<IEntreeParametre>(m.paramChemin->Section("1"),
                                                 "Entrée \"1\" de la section \"CHEMINFICHIER\"");
}

} // namespace pavonis
