#pragma once

#include <pavonis/Evaluation.h>
#include <pavonis/ResultatsEvaluation.h>
#include <pavonis/Visibilite.h>

#include <QString>

namespace pavonis {

// A second interface of the control, beside IUc_Pavonis, for hosts that keep
// the evaluation as data: read what the screen shows, restore an evaluation
// onto it. IUc_Pavonis keeps exactly its own members. The control also
// emits the Qt signal evaluationModifiee() after every run of the row rule
// and every change the user makes to a name or the date.
class PAVONIS_INTERFACE IEvaluationPavonis {
public:
    static constexpr const char* kIid = "{3C8F1E6A-5B2D-4F9C-8E7A-1D4B6F0A2C93}";

    // The evaluation as the screen shows it, at any moment.
    virtual Evaluation evaluation() const = 0;

    // Its results with the weights the control loaded at Init. Raises Erreur
    // when they cannot be computed (a table missing, an overflow).
    virtual ResultatsEvaluation resultats() const = 0;

    // Restores an evaluation onto the screen through the row rule: options
    // and boxes are set, then the rule writes every note and the GIR,
    // exactly as clicks would. A refused evaluation (a state the screen
    // cannot reach) raises Erreur and changes nothing.
    virtual void chargerEvaluation(const Evaluation& evaluation) = 0;

    // Writes the evaluation's A4 page to a PDF file, without the print
    // dialog, to keep it in the person's file; Archive writes PDF/A-1b
    // (fonts embedded; title, evaluator as author and beneficiary as
    // subject in its XMP metadata). Raises Erreur when the file cannot be
    // written, or while the GIR on the screen is older than the grid (its
    // last computation failed).
    enum class FormeExport { Ordinaire, Archive };
    virtual void ExporterPdf(const QString& chemin, FormeExport forme = FormeExport::Ordinaire) = 0;

    // The interface of a control created through IUc_Pavonis (null for a
    // null control).
    template <class Controle>
    static IEvaluationPavonis* de(Controle* controle)
    {
        return controle ? dynamic_cast<IEvaluationPavonis*>(controle) : nullptr;
    }

protected:
    ~IEvaluationPavonis() = default;
};

} // namespace pavonis
