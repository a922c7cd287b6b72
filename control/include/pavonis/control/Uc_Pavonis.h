#pragma once

#include <pavonis/control/IEvaluationPavonis.h>
#include <pavonis/control/IUc_Pavonis.h>
#include <pavonis/hostapi/Visibilite.h>

#include <QWidget>

#include <cstdint>
#include <memory>

namespace pavonis {

class Erreur;

/// L'écran d'évaluation AGGIR, à placer dans une fenêtre hôte. Ses propriétés
/// Qt sont les champs publics, CheminAide (l'adresse des pages d'aide, sans
/// leur numéro) et ValeurDefilement (la dernière valeur de la barre de
/// défilement prise en compte).
class PAVONIS_API Uc_Pavonis : public QWidget, public IUc_Pavonis, public IEvaluationPavonis {
    Q_OBJECT
    /// Vrai quand l'utilisateur est sorti par « Retour ».
    Q_PROPERTY(bool W_Sortir READ W_Sortir WRITE W_Sortir)
    /// Code gardé pour l'hôte.
    Q_PROPERTY(QString W_Code READ W_Code WRITE W_Code)
    /// Nom et prénom gardés pour l'hôte.
    Q_PROPERTY(QString W_NomPrenom READ W_NomPrenom WRITE W_NomPrenom)
    /// L'adresse des pages d'aide, sans leur numéro.
    Q_PROPERTY(QString CheminAide READ cheminAide)
    /// La dernière valeur de la barre de défilement prise en compte.
    Q_PROPERTY(int ValeurDefilement READ valeurDefilement)

public:
    /// Crée l'écran et ses 253 contrôles dans `parent`.
    explicit Uc_Pavonis(QWidget* parent = nullptr);
    /// Détruit l'écran ; les objets de l'hôte sont relâchés.
    ~Uc_Pavonis() override;

    bool W_Sortir() const override;
    void W_Sortir(bool valeur) override;
    QString W_Code() const override;
    void W_Code(const QString& valeur) override;
    QString W_NomPrenom() const override;
    void W_NomPrenom(const QString& valeur) override;
    void TheClient(std::shared_ptr<IClient> client) override;
    void TheDatabase(std::shared_ptr<IBaseDonnees> base) override;
    void DroitsUtilisateur(std::shared_ptr<IDroits>& New_DroitsUtilisateur) override;
    void Init() override;
    QWidget* widget() override { return this; }

    // IEvaluationPavonis, beside the control's own interface.
    Evaluation evaluation() const override;
    ResultatsEvaluation resultats() const override;
    void chargerEvaluation(const Evaluation& evaluation) override;
    void exporterPdf(const QString& chemin, FormeExport forme = FormeExport::Ordinaire) override;

    /// L'adresse des pages d'aide, sans leur numéro ni « .html ».
    QString cheminAide() const;
    /// La dernière valeur de la barre de défilement prise en compte.
    std::int16_t valeurDefilement() const;

signals:
    /// L'évaluation a changé : la règle de ligne a tourné, ou l'utilisateur a
    /// changé un nom ou la date.
    void evaluationModifiee();
    /// Une action de l'utilisateur a échoué (table de poids absente, objet de
    /// l'hôte en échec…). Sans récepteur, le contrôle affiche le message.
    void erreur(const QString& message);

protected:
    /// Choisit la disposition selon la hauteur de l'écran, à chaque affichage.
    void showEvent(QShowEvent* event) override;
    /// La zone de date et les noms de variables (survol, clic).
    bool eventFilter(QObject* objet, QEvent* event) override;
    /// La molette fait défiler la petite disposition (extension).
    void wheelEvent(QWheelEvent* event) override;
    /// F1 et Échap pour le volet d'aide (extension).
    void keyPressEvent(QKeyEvent* event) override;

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace pavonis
