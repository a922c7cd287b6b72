#pragma once

#include <pavonis/IBaseDonnees.h>
#include <pavonis/IClient.h>
#include <pavonis/IDroits.h>
#include <pavonis/Visibilite.h>

#include <QString>

#include <memory>

class QWidget;

namespace pavonis {

// The default interface of the control, as a host uses it: the public
// fields, the three host objects and Init, in this order.
class PAVONIS_INTERFACE IUc_Pavonis {
public:
    static constexpr const char* kIid = "{4D9E8B1A-7F3C-4E2D-8A5B-6C1F0E3D2A94}";

    // Set to true by "Retour" just before it closes the host window.
    virtual bool W_Sortir() const = 0;
    virtual void W_Sortir(bool valeur) = 0;
    // Kept for the host; the control neither reads nor writes them.
    virtual QString W_Code() const = 0;
    virtual void W_Code(const QString& valeur) = 0;
    virtual QString W_NomPrenom() const = 0;
    virtual void W_NomPrenom(const QString& valeur) = 0;

    // The host's objects, shared by every control of the UI thread.
    virtual void TheClient(std::shared_ptr<IClient> client) = 0;
    virtual void TheDatabase(std::shared_ptr<IBaseDonnees> base) = 0;
    // Asks the rights object at once for "DOSAIDEAGGIR"; raises Erreur if it
    // fails (the object stays stored).
    virtual void DroitsUtilisateur(std::shared_ptr<IDroits>& New_DroitsUtilisateur) = 0;

    // Starts a new evaluation: loads the parameters from the database,
    // empties the names, dates the evaluation today and resets the grid.
    // Raises Erreur at the first step that fails; earlier steps stay done.
    virtual void Init() = 0;

    // The control as a widget, for the host's window.
    virtual QWidget* widget() = 0;
    // The same control seen through another of its interfaces (see
    // IEvaluationPavonis::de); null when it has none of that kind.
    template <class Interface>
    Interface* interfaceDe() { return dynamic_cast<Interface*>(this); }

protected:
    ~IUc_Pavonis() = default;
};

} // namespace pavonis
