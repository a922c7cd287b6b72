#pragma once

#include <pavonis/evaluation/Evaluation.h>
#include <pavonis/evaluation/ResultatsEvaluation.h>
#include <pavonis/hostapi/Visibilite.h>

#include <string>
#include <string_view>

namespace pavonis {

// The evaluation as a FHIR R4 QuestionnaireResponse of the AGGIR 2008
// questionnaire that Pavonis ships (share/pavonis/fhir/): status
// "completed", the evaluation date as "authored" when it is a valid
// jj/mm/aaaa date, the evaluator and the beneficiary as display-only
// references, every answered item with its coded answer, the calculated
// modalities, the GIR and the sub-group.
class PAVONIS_API ReponseFhir {
public:
    static constexpr std::string_view kQuestionnaire = "https://fhir.pavonis.fr/Questionnaire/aggir-2008";
    static constexpr std::string_view kVersion = "1.0.0";
    static constexpr std::string_view kSystemeChoix = "https://fhir.pavonis.fr/CodeSystem/aggir-choix";
    static constexpr std::string_view kSystemeAdverbes = "https://fhir.pavonis.fr/CodeSystem/aggir-adverbes";
    static constexpr std::string_view kSystemeModalites =
        "https://fhir.pavonis.fr/CodeSystem/aggir-modalites";

    static std::string ecrire(const Evaluation& evaluation, const ResultatsEvaluation& resultats);
};

} // namespace pavonis
