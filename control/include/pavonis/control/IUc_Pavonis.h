#pragma once

#include <pavonis/hostapi/IBaseDonnees.h>
#include <pavonis/hostapi/IClient.h>
#include <pavonis/hostapi/IDroits.h>
#include <pavonis/hostapi/Visibilite.h>

#include <QString>

#include <memory>

class QWidget;

namespace pavonis {

/// L'interface par défaut du contrôle, telle qu'un hôte l'emploie : les
/// champs publics, les trois objets de l'hôte et Init, dans cet ordre.
class PAVONIS_API IUc_Pavonis {
public:
    /// Identifiant de l'interface.
    static constexpr const char* kIid = "{4D9E8B1A-7F3C-4E2D-8A5B-6C1F0E3D2A94}";

    /// Mis à vrai par « Retour » juste avant qu'il ferme la fenêtre hôte.
    virtual bool W_Sortir() const = 0;
    /// Écrit W_Sortir.
    virtual void W_Sortir(bool valeur) = 0;
    /// Gardé pour l'hôte ; le contrôle ne le lit ni ne l'écrit.
    virtual QString W_Code() const = 0;
    /// Écrit W_Code.
    virtual void W_Code(const QString& valeur) = 0;
    /// Gardé pour l'hôte ; le contrôle ne le lit ni ne l'écrit.
    virtual QString W_NomPrenom() const = 0;
    /// Écrit W_NomPrenom.
    virtual void W_NomPrenom(const QString& valeur) = 0;

    /// L'objet client de l'hôte, partagé par tous les contrôles du fil
    /// d'interface.
    virtual void TheClient(std::shared_ptr<IClient> client) = 0;
    /// L'objet base de données de l'hôte, partagé de même ; Init y lit les
    /// paramètres.
    virtual void TheDatabase(std::shared_ptr<IBaseDonnees> base) = 0;
    /// L'objet des droits de l'hôte ; il est aussitôt interrogé sur
    /// « DOSAIDEAGGIR ». Lève Erreur si cela échoue (l'objet reste gardé).
    virtual void DroitsUtilisateur(std::shared_ptr<IDroits>& New_DroitsUtilisateur) = 0;

    /// Commence une nouvelle évaluation : charge les paramètres de la base,
    /// vide les noms, date l'évaluation du jour et remet la grille à zéro.
    /// Lève Erreur à la première étape qui échoue ; les précédentes restent
    /// faites.
    virtual void Init() = 0;

    /// Le contrôle comme widget, pour la fenêtre de l'hôte.
    virtual QWidget* widget() = 0;
    /// Le même contrôle vu par une autre de ses interfaces (voir
    /// IEvaluationPavonis::de) ; nul s'il n'en a pas de ce genre.
    template <class Interface> Interface* interfaceDe() { return dynamic_cast<Interface*>(this); }

protected:
    /// Le contrôle ne se détruit pas par cette interface.
    ~IUc_Pavonis() = default;
};

} // namespace pavonis
