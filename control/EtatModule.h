#pragma once

#include <pavonis/hostapi/IBaseDonnees.h>
#include <pavonis/hostapi/IClient.h>
#include <pavonis/hostapi/IDroitEntree.h>
#include <pavonis/hostapi/IDroits.h>
#include <pavonis/hostapi/IEntreeParametre.h>
#include <pavonis/hostapi/ISectionParametres.h>
#include <pavonis/hostapi/IServiceDate.h>

#include <memory>

namespace pavonis {

// State kept once per UI thread and shared by every control on it: the host
// objects, the parameter sections fetched from the database, the working
// weight table and the date service. Counted references throughout.
struct EtatModule {
    std::shared_ptr<IClient> client;
    std::shared_ptr<IBaseDonnees> baseDonnees;
    std::shared_ptr<IDroits> droits;
    std::shared_ptr<IDroitEntree> droitAideAggir;
    std::shared_ptr<ISectionParametres> paramAggir;
    std::shared_ptr<ISectionParametres> paramChemin;
    std::shared_ptr<IEntreeParametre> entreeChemin;
    std::shared_ptr<IEntreeParametre> tablePoids;
    std::shared_ptr<IServiceDate> serviceDate;

    static EtatModule& duThread();
};

} // namespace pavonis
