#pragma once

#include <pavonis/evaluation/FormatEvaluation.h>
#include <pavonis/hostapi/Visibilite.h>

#include <cstddef>
#include <memory>
#include <string_view>

namespace pavonis {

// Reads evaluations in the exchange format one after another (the lines of
// a JSON Lines file, the records of a database), keeping its working memory
// from one to the next. Each text is read where it is, without a copy, when
// at least kMarge readable bytes follow it (the next lines of a buffer, or a
// margin the caller leaves at its end). One reader per thread.
class PAVONIS_API LecteurEvaluations {
public:
    static constexpr std::size_t kMarge = 64;

    LecteurEvaluations();
    ~LecteurEvaluations();
    LecteurEvaluations(const LecteurEvaluations&) = delete;
    LecteurEvaluations& operator=(const LecteurEvaluations&) = delete;

    // As FormatEvaluation::lire; `json` must be followed by kMarge readable
    // bytes.
    FormatEvaluation::Lecture lire(std::string_view json);
    // The same on any text: copied first when nothing is known to follow it.
    FormatEvaluation::Lecture lireCopie(std::string_view json);

private:
    struct Etat;
    std::unique_ptr<Etat> etat_;
};

} // namespace pavonis
