#pragma once

#include <pavonis/evaluation/Evaluation.h>
#include <pavonis/evaluation/ResultatsEvaluation.h>
#include <pavonis/hostapi/Visibilite.h>

#include <QString>

namespace pavonis {

/// Seconde interface du contrôle (extension), à côté de IUc_Pavonis, pour les
/// hôtes qui conservent l'évaluation comme donnée : lire ce que l'écran montre,
/// y restaurer une évaluation. IUc_Pavonis garde exactement ses membres. Le
/// contrôle émet aussi le signal Qt evaluationModifiee() après chaque passage
/// de la règle de ligne et chaque modification d'un nom ou de la date.
class PAVONIS_API IEvaluationPavonis {
public:
    /// Identifiant de l'interface.
    static constexpr const char* kIid = "{3C8F1E6A-5B2D-4F9C-8E7A-1D4B6F0A2C93}";

    /// L'évaluation telle que l'écran la montre, à tout moment.
    virtual Evaluation evaluation() const = 0;

    /// Ses résultats, avec les poids chargés par Init. Lève Erreur quand ils ne
    /// peuvent être calculés (table absente, dépassement).
    virtual ResultatsEvaluation resultats() const = 0;

    /// Restaure une évaluation sur l'écran par la règle de ligne : options et
    /// cases sont posées, puis la règle écrit chaque modalité et le GIR, comme
    /// des clics. Une évaluation refusée (un état que l'écran ne peut
    /// atteindre) lève Erreur et ne change rien.
    virtual void chargerEvaluation(const Evaluation& evaluation) = 0;

    /// Forme du PDF écrit par exporterPdf.
    enum class FormeExport {
        Ordinaire, ///< un PDF ordinaire
        Archive,   ///< PDF/A-1b : polices incorporées, métadonnées XMP
    };
    /// Écrit la page A4 de l'évaluation dans un fichier PDF, sans la boîte
    /// d'impression, pour le dossier de la personne ; Archive écrit du
    /// PDF/A-1b (titre, évaluateur comme auteur, bénéficiaire comme sujet).
    /// Lève Erreur quand le fichier ne peut être écrit, ou tant que le GIR
    /// affiché est plus ancien que la grille (son dernier calcul a échoué).
    virtual void exporterPdf(const QString& chemin, FormeExport forme = FormeExport::Ordinaire) = 0;

    /// Cette interface d'un contrôle créé par IUc_Pavonis (nulle pour un
    /// contrôle nul).
    template <class Controle> static IEvaluationPavonis* de(Controle* controle)
    {
        return controle ? dynamic_cast<IEvaluationPavonis*>(controle) : nullptr;
    }

protected:
    /// Le contrôle ne se détruit pas par cette interface.
    ~IEvaluationPavonis() = default;
};

} // namespace pavonis
