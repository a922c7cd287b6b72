#include <pavonis/screen/SurfaceGrilleWidgets.h>

#include <pavonis/presentation/DescriptionEcran.h>
#include <pavonis/screen/EcranPavonis.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace pavonis {

struct SurfaceGrilleWidgets::Option final : IOption {
    explicit Option(QRadioButton* b) : bouton(b) {}
    bool valeur() const override { return bouton->isChecked(); }
    QRadioButton* bouton;
};

struct SurfaceGrilleWidgets::Case final : ICaseACocher {
    explicit Case(QCheckBox* c) : boite(c) {}
    int valeur() const override { return boite->isChecked() ? 1 : 0; }
    void definirValeur(int v) override { boite->setChecked(v == 1); }
    void definirActive(bool a) override { boite->setEnabled(a); }
    QCheckBox* boite;
};

struct SurfaceGrilleWidgets::Zone final : IZoneTexte {
    explicit Zone(QLineEdit* z) : zone(z) {}
    std::string texte() const override { return zone->text().toStdString(); }
    void definirTexte(std::string_view t) override
    {
        zone->setText(QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size())));
    }
    QLineEdit* zone;
};

struct SurfaceGrilleWidgets::Ligne {
    Option fait, faitPas;
    Case c, h, s, t;
    Zone note;
};

SurfaceGrilleWidgets::SurfaceGrilleWidgets(const EcranPavonis& ecran)
{
    for (const LigneEvaluation& l : grille::kLignes) {
        lignes_.push_back(std::make_unique<Ligne>(
            Ligne{Option(ecran.option(l.optionFait)), Option(ecran.option(l.optionFaitPas)),
                  Case(ecran.caseACocher(l.caseAdverbe(Adverbe::C))),
                  Case(ecran.caseACocher(l.caseAdverbe(Adverbe::H))),
                  Case(ecran.caseACocher(l.caseAdverbe(Adverbe::S))),
                  Case(ecran.caseACocher(l.caseAdverbe(Adverbe::T))), Zone(ecran.zone(l.note))}));
    }
    for (const VariableAggir& v : grille::kVariables) {
        Zone* z;
        if (v.composee()) {
            zones_.push_back(std::make_unique<Zone>(ecran.zone(v.note)));
            z = zones_.back().get();
        } else {
            z = &lignes_[v.premiereLigne]->note;
        }
        notesVariables_[static_cast<std::size_t>(v.numero - 1)] = z;
    }
    zones_.push_back(std::make_unique<Zone>(ecran.zone(ecran::kGroupe)));
    groupe_ = zones_.back().get();
    zones_.push_back(std::make_unique<Zone>(ecran.zone(ecran::kSousGroupe)));
    sousGroupe_ = zones_.back().get();
}

SurfaceGrilleWidgets::~SurfaceGrilleWidgets() = default;

ControlesLigne SurfaceGrilleWidgets::controlesLigne(std::size_t ligne)
{
    Ligne& l = *lignes_[ligne];
    return {l.fait, l.faitPas, l.c, l.h, l.s, l.t, l.note};
}

IZoneTexte& SurfaceGrilleWidgets::noteVariable(int numero)
{
    return *notesVariables_[static_cast<std::size_t>(numero - 1)];
}
IZoneTexte& SurfaceGrilleWidgets::zoneGroupe()
{
    return *groupe_;
}
IZoneTexte& SurfaceGrilleWidgets::zoneSousGroupe()
{
    return *sousGroupe_;
}

} // namespace pavonis
