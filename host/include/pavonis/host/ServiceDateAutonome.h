#pragma once

#include <pavonis/hostapi/IServiceDate.h>

#include <chrono>
#include <functional>

namespace pavonis {

// The stand-alone host's date service, for French dates.
//
// NormaliserDate accepts a day, a month and a year typed with separators
// ("/", "-", "." or a blank) or as 6 or 8 digits (jjmmaa, jjmmaaaa), with
// one- or two-digit days and months, and writes "jj/mm/aaaa". A two-digit
// year is in this century unless that would be in the future (then in the
// last one). A day and month without a year ("5/12", "0512") are completed
// with the current year and SaisieARevoir turns true so that the user sees
// the completed date; a day alone, or a year cut short ("5/12/2"), is left as
// typed for review too. Anything else is left as typed and ControlerDate
// refuses it.
//
// ControlerDate accepts only "jj/mm/aaaa" naming a real day (leap years
// included) from 01/01/1900 to today.
class ServiceDateAutonome final : public IServiceDate {
public:
    using Horloge = std::function<std::chrono::year_month_day()>;

    // `aujourdhui` gives today's date; by default the system's local date.
    explicit ServiceDateAutonome(Horloge aujourdhui = {});

    std::string NormaliserDate(std::string& texte, std::int16_t& format) override;
    bool SaisieARevoir() override { return aRevoir_; }
    std::string ControlerDate(const ObjetPtr& zone) override;

    // The same checks on a text, for callers without a text box.
    std::string controler(const std::string& texte) const;

private:
    Horloge aujourdhui_;
    bool aRevoir_ = false;
};

} // namespace pavonis
