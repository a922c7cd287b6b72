#pragma once

#include <pavonis/ExportPavonis.h>
#include <pavonis/IEvaluationPavonis.h>
#include <pavonis/IUc_Pavonis.h>

#include <QWidget>

#include <cstdint>
#include <memory>

namespace pavonis {

class Erreur;

// The AGGIR evaluation screen, to be placed in a host window.
class PAVONIS_EXPORT Uc_Pavonis : public QWidget, public IUc_Pavonis, public IEvaluationPavonis {
    Q_OBJECT
    Q_PROPERTY(bool W_Sortir READ W_Sortir WRITE W_Sortir)
    Q_PROPERTY(QString W_Code READ W_Code WRITE W_Code)
    Q_PROPERTY(QString W_NomPrenom READ W_NomPrenom WRITE W_NomPrenom)
    Q_PROPERTY(QString CheminAide READ cheminAide)
    Q_PROPERTY(int ValeurDefilement READ valeurDefilement)

public:
    explicit Uc_Pavonis(QWidget* parent = nullptr);
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

    // IEvaluationPavonis: beside the control's own interface.
    Evaluation evaluation() const override;
    ResultatsEvaluation resultats() const override;
    void chargerEvaluation(const Evaluation& evaluation) override;
    void ExporterPdf(const QString& chemin, FormeExport forme = FormeExport::Ordinaire) override;

    // State a host or a test may look at.
    QString cheminAide() const;
    std::int16_t valeurDefilement() const;

signals:
    // The evaluation changed: the row rule ran, or the user changed a name
    // or the date.
    void evaluationModifiee();
    // An action of the user failed (a missing weight table, a host object
    // that fails...). Without a receiver, the control shows the message.
    void erreur(const QString& message);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* objet, QEvent* event) override;
    // The wheel scrolls the small layout; F1 and Escape work the help pane.
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace pavonis
