#include <pavonis/control/Uc_Pavonis.h>

#include "ClassesHote.h"
#include "EtatModule.h"
#include "FiltreSaisieDate.h"
#include "IdentitePavonis.h"
#include "Mod_Proc.h"
#include <pavonis/engine/GrilleAggir.h>
#include <pavonis/engine/MoteurAggir.h>
#include <pavonis/platform/BoiteMessage.h>
#include <pavonis/platform/Composants.h>
#include <pavonis/platform/DateDuJour.h>
#include <pavonis/platform/Ecran.h>
#include <pavonis/platform/FenetreHote.h>
#include <pavonis/platform/NavigateurAide.h>
#include <pavonis/platform/TraductionQt.h>
#include <pavonis/platform/Twips.h>
#include <pavonis/presentation/DescriptionEcran.h>
#include <pavonis/printing/ImpressionEvaluation.h>
#include <pavonis/screen/EcranPavonis.h>
#include <pavonis/screen/SurfaceGrilleWidgets.h>

#include <pavonis/hostapi/IControleTexte.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMetaMethod>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QShortcut>
#include <QWheelEvent>
#include <QWindow>

#include <cmath>
#include <limits>
#include <optional>

namespace pavonis {

namespace {

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Nearest 16-bit integer, half-way values to the even neighbour.
std::int16_t arrondiPair16(double v)
{
    const double r = std::nearbyint(v); // default rounding mode: to nearest, ties to even
    if (r < std::numeric_limits<std::int16_t>::min() || r > std::numeric_limits<std::int16_t>::max())
        throw Erreur(Erreur::Code::Depassement, "Dépassement de capacité (entier 16 bits).");
    return static_cast<std::int16_t>(r);
}

std::int16_t entier16(long v)
{
    if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max())
        throw Erreur(Erreur::Code::Depassement, "Dépassement de capacité (entier 16 bits).");
    return static_cast<std::int16_t>(v);
}

// The date box as the date service sees it.
class ZoneTexteHote final : public IControleTexte {
public:
    explicit ZoneTexteHote(const QLineEdit* zone) : zone_(zone) {}
    std::string Text() override { return zone_->text().toStdString(); }

private:
    const QLineEdit* zone_;
};

} // namespace

class Uc_Pavonis::Private {
public:
    explicit Private(Uc_Pavonis& controle)
        : q(controle), ecran(controle), surface(ecran),
          moteur(surface, tablesGroupes, EtatModule::duThread().tablePoids, [] {
              return convertir<IEntreeParametre>(Composants::creerObjet(classes_hote::kEntreeParametre),
                                                 "Table de travail des poids");
          })
    {}

    void connecter();
    void executerLigne(std::size_t ligne);
    // The row rule, remembering whether the GIR on the screen is current.
    void calculerLigne(std::size_t ligne);
    void reinitialiserGrille();
    void signaler(const std::exception& e);

    // Event handlers, named after their control and event.
    void UserControl_Show();
    void Cmd_NouvelleEval_Click();
    void Cmd_Retour_Click();
    void Cmd_Imprimer_Click() { impression::ImprimerEvaluation(q); }
    void Bdv_Controles_Change() { deplacerSurface(); }
    void Bdv_Controles_Scroll() { deplacerSurface(); }
    void Txt_DateEval_KeyPress(std::int16_t& KeyAscii);
    enum class IssueDate { Acceptee, ARevoir, Refusee };
    IssueDate Txt_DateEval_LostFocus();
    void variable_MouseMove(int numero);
    void variable_Click();

    // Beyond what the form does: while the help pane is shown, the controls
    // it covers leave the focus chain, and Escape hides it from anywhere in
    // the control, the focus going back where it was before the pane showed.
    void suivreVolet();
    void rendreFocus();
    void cacherAide();
    QHash<QWidget*, Qt::FocusPolicy> couverts; // with the policy each had
    QRect zoneCouverte;
    QPointer<QWidget> focusAvantAide;
    QShortcut* echap = nullptr;

    void deplacerSurface();
    // Beyond what the form itself does: the wheel and the focus move the
    // small layout through its bar, F1 and Escape open and close the help.
    void defilerMolette(QWheelEvent& molette);
    void montrerFocus(QWidget* focus);
    int variableDe(const QWidget* w) const;
    bool filtrerTouche(QKeyEvent& touche);
    IServiceDate& serviceDate();

    // Leaving the date box: the check runs once per departure, before what
    // moved the focus takes effect. False when the focus must stay.
    bool quitterDate();
    bool filtrerSourisFenetre(const QWindow* fenetre, const QMouseEvent& souris);
    void dateQuittee(const QFocusEvent& evenement);

    Uc_Pavonis& q;
    EcranPavonis ecran;
    SurfaceGrilleWidgets surface;
    TablesGroupes tablesGroupes;
    MoteurAggir moteur;
    QString cheminAide;
    std::int16_t valeurDefilement = 0;
    int resteMolette = 0; // eighths of a degree short of a notch
    bool wSortir = false;
    QString wCode, wNomPrenom;
    // Why the last GIR computation failed: the boxes then show an older result.
    std::optional<std::string> erreurGir;

    QHash<const QObject*, std::size_t> ligneDuControle; // the 144 row controls
    QHash<const QObject*, int> variableSurvolee;        // frames and labels of the 17 variables
    QSet<QString> deplaces;                             // what the scroll bar moves
    QLineEdit* dateEval = nullptr;
    FiltreSaisieDate* filtreDate = nullptr;
    // The date text accepted by a check that ran before the focus left.
    std::optional<QString> dateVerifiee;
    bool verificationDate = false;
    bool avalerRelachement = false; // the press was refused: its release goes too
    bool clicDouble = false;        // the release that ends a double-click is no click

    // Sees the mouse presses of every window of the application.
    class FiltreFenetres final : public QObject {
    public:
        explicit FiltreFenetres(Private& p) : p_(p) {}
        bool eventFilter(QObject* objet, QEvent* event) override
        {
            switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseButtonRelease:
                return objet->isWindowType() && p_.filtrerSourisFenetre(static_cast<QWindow*>(objet),
                                                                        *static_cast<QMouseEvent*>(event));
            default:
                return false;
            }
        }

    private:
        Private& p_;
    } filtreFenetres{*this};
};

void Uc_Pavonis::Private::connecter()
{
    echap = new QShortcut(QKeySequence(Qt::Key_Escape), &q, [this] { cacherAide(); });
    echap->setContext(Qt::WidgetWithChildrenShortcut);
    echap->setEnabled(false);
    for (std::size_t i = 0; i < grille::kLignes.size(); ++i) {
        const LigneEvaluation& l = grille::kLignes[i];
        std::vector<QAbstractButton*> boutons{ecran.option(l.optionFait), ecran.option(l.optionFaitPas)};
        for (const DescriptionAdverbe& a : kAdverbes)
            boutons.push_back(ecran.caseACocher(l.caseAdverbe(a.adverbe)));
        for (QAbstractButton* b : boutons) {
            ligneDuControle.insert(b, i);
            QObject::connect(b, &QAbstractButton::clicked, &q, [this, i] { executerLigne(i); });
        }
    }
    for (const VariableAggir& v : grille::kVariables) {
        for (QWidget* w : {ecran.controle(v.cadre), ecran.controle(v.etiquette)}) {
            w->setMouseTracking(true);
            w->installEventFilter(&q);
            variableSurvolee.insert(w, v.numero);
        }
    }
    for (std::string_view nom : ecran::controlesDeplaces())
        deplaces.insert(qs(nom));

    dateEval = ecran.zone(ecran::kDateEval);
    dateEval->installEventFilter(&q);
    filtreDate = new FiltreSaisieDate(*dateEval);
    // Presses reach the window before any widget: the date check runs there,
    // ahead of the focus change and of the click.
    qApp->installEventFilter(&filtreFenetres);

    QScrollBar* barre = ecran.barre();
    QObject::connect(barre, &QScrollBar::valueChanged, &q, [this] { Bdv_Controles_Change(); });
    QObject::connect(barre, &QScrollBar::sliderMoved, &q, [this] { Bdv_Controles_Scroll(); });
    QObject::connect(ecran.bouton(ecran::kNouvelleEvaluation), &QPushButton::clicked, &q,
                     [this] { Cmd_NouvelleEval_Click(); });
    QObject::connect(ecran.bouton(ecran::kRetour), &QPushButton::clicked, &q, [this] { Cmd_Retour_Click(); });
    QObject::connect(ecran.bouton(ecran::kImprimer), &QPushButton::clicked, &q,
                     [this] { Cmd_Imprimer_Click(); });
    for (std::string_view nom : {ecran::kNomEnqueteur, ecran::kNomBenef, ecran::kDateEval})
        QObject::connect(ecran.zone(nom), &QLineEdit::textEdited, &q, &Uc_Pavonis::evaluationModifiee);
    QObject::connect(qApp, &QApplication::focusChanged, &q, [this](QWidget*, QWidget* focus) {
        montrerFocus(focus);
        // Whatever puts the focus on a control under the help pane, the keys go to the pane.
        if (focus && couverts.contains(focus))
            ecran.navigateur()->setFocus(Qt::OtherFocusReason);
    });
}

void Uc_Pavonis::Private::defilerMolette(QWheelEvent& molette)
{
    QScrollBar* barre = ecran.barre();
    NavigateurAide* volet = ecran.navigateur();
    const QPoint p = molette.position().toPoint();
    if (!barre->isEnabled() || (volet->isVisible() && volet->geometry().contains(p))) {
        molette.ignore();
        return;
    }
    molette.accept();
    resteMolette += molette.angleDelta().y();
    // One step of the bar a notch (120 eighths of a degree), wheel down
    // scrolling down.
    for (; resteMolette >= 120; resteMolette -= 120)
        barre->triggerAction(QAbstractSlider::SliderSingleStepSub);
    for (; resteMolette <= -120; resteMolette += 120)
        barre->triggerAction(QAbstractSlider::SliderSingleStepAdd);
}

void Uc_Pavonis::Private::montrerFocus(QWidget* focus)
{
    QScrollBar* barre = ecran.barre();
    if (!focus || !barre->isEnabled() || !q.isAncestorOf(focus) || focus == barre || !q.isVisible())
        return;
    // The part of the surface its window shows, and the focus within it.
    const QRect visible = q.rect() & QRect(q.mapFrom(q.window(), QPoint(0, 0)), q.window()->size());
    const QRect r(focus->mapTo(&q, QPoint(0, 0)), focus->size());
    const double pas = ecran::kPasDefilement / Ecran::twipsParPixelY();
    int pasADefiler = 0;
    if (r.top() < visible.top())
        pasADefiler = -int(std::ceil((visible.top() - r.top()) / pas));
    else if (r.bottom() > visible.bottom())
        pasADefiler = std::min(int(std::ceil((r.bottom() - visible.bottom()) / pas)),
                               int((r.top() - visible.top()) / pas)); // its top stays in sight
    if (pasADefiler != 0)
        barre->setValue(barre->value() + pasADefiler);
}

int Uc_Pavonis::Private::variableDe(const QWidget* w) const
{
    for (; w && w != &q; w = w->parentWidget()) {
        if (const auto l = ligneDuControle.constFind(w); l != ligneDuControle.cend())
            return grille::kLignes[*l].variable;
        if (const auto v = variableSurvolee.constFind(w); v != variableSurvolee.cend())
            return *v;
    }
    return 0;
}

void Uc_Pavonis::Private::signaler(const std::exception& e)
{
    const QString message = QString::fromUtf8(e.what());
    qWarning("Pavonis : %s", qUtf8Printable(message));
    if (q.isSignalConnected(QMetaMethod::fromSignal(&Uc_Pavonis::erreur)))
        emit q.erreur(message);
    else
        BoiteMessage::afficher(&q, message, QStringLiteral("Pavonis"), BoiteMessage::Icone::Critique);
}

void Uc_Pavonis::Private::calculerLigne(std::size_t ligne)
{
    try {
        moteur.CalculerNote(ligne);
        erreurGir.reset();
    } catch (const std::exception& e) {
        erreurGir = e.what();
        emit q.evaluationModifiee();
        throw;
    }
    emit q.evaluationModifiee();
}

void Uc_Pavonis::Private::executerLigne(std::size_t ligne)
{
    try {
        calculerLigne(ligne);
    } catch (const std::exception& e) {
        signaler(e);
    }
}

void Uc_Pavonis::Private::reinitialiserGrille()
{
    // Every "Fait" option, found by its name among all the controls; the
    // selection raises the option's click, which settles its row.
    const QList<QWidget*> tous = q.findChildren<QWidget*>();
    for (QWidget* w : tous) {
        const QString nom = w->objectName();
        if (!nom.startsWith(QLatin1String("Opt_")) || !nom.endsWith(QLatin1String("Fait")))
            continue;
        auto* option = qobject_cast<QRadioButton*>(w);
        if (!option || option->isChecked())
            continue;
        option->setChecked(true);
        calculerLigne(ligneDuControle.value(option));
    }
}

void Uc_Pavonis::Private::UserControl_Show()
{

    const auto hauteurEcran = static_cast<float>(Ecran::hauteurTwips() / Ecran::twipsParPixelY());
    FenetreHote fenetre(&q);
    QScrollBar* barre = ecran.barre();
    if (hauteurEcran >= ecran::kEcranGrandPixels) {
        fenetre.definir(QStringLiteral("Height"), double(ecran::kHauteurGrande));
        fenetre.definir(QStringLiteral("Width"), double(ecran::kLargeurGrande));
        q.resize(Twips::versPixelsX(ecran::kLargeurGrande), Twips::versPixelsY(ecran::kHauteurGrande));
        barre->setEnabled(false);
    } else {
        fenetre.definir(QStringLiteral("Height"), double(ecran::kHauteurPetite));
        fenetre.definir(QStringLiteral("Width"), double(ecran::kLargeurPetite));
        q.resize(Twips::versPixelsX(ecran::kLargeurPetite), Twips::versPixelsY(ecran::kHauteurPetite));
        barre->setEnabled(true);
        barre->setMinimum(0);
        const double hauteurFenetre = fenetre.lire(QStringLiteral("Height")).toDouble();
        barre->setMaximum(
            arrondiPair16((double(ecran::kHauteurGrande) - hauteurFenetre) / ecran::kPasDefilement));
    }
}

void Uc_Pavonis::Private::deplacerSurface()
{
    // The bar's current value: where its thumb is, also while it is dragged.
    QScrollBar* barre = ecran.barre();
    for (QWidget* w : q.findChildren<QWidget*>()) {
        if (!deplaces.contains(w->objectName()))
            continue;
        const std::int16_t difference = entier16(long{valeurDefilement} - barre->sliderPosition());
        const std::int16_t decalage = entier16(long{difference} * ecran::kPasDefilement);
        EcranPavonis::Position p = ecran.position(w);
        p.haut += decalage;
        ecran.placer(w, p);
    }
    valeurDefilement = entier16(barre->sliderPosition());
    suivreVolet();
}

void Uc_Pavonis::Private::variable_MouseMove(int numero)
{
    NavigateurAide* volet = ecran.navigateur();
    ecran.placer(volet, {ecran::gaucheVoletAide(numero), ecran::kVoletHaut, ecran::kVoletLargeur,
                         ecran::kVoletHauteur});
    const QString page = cheminAide + QString::number(numero) + QStringLiteral(".html");
    // The last seven characters tell which page is shown ("r1.html", "11.html").
    if (volet->LocationURL().right(7) != page.right(7))
        volet->Navigate2(page);
    suivreVolet();
}

void Uc_Pavonis::Private::variable_Click()
{
    NavigateurAide* volet = ecran.navigateur();
    const bool montrer = volet->isHidden();
    QWidget* focus = QApplication::focusWidget();
    const bool focusDansLeVolet = focus && (focus == volet || volet->isAncestorOf(focus));
    if (montrer)
        focusAvantAide = focus;
    volet->setVisible(montrer);
    suivreVolet();
    if (!montrer && focusDansLeVolet)
        rendreFocus();
}

void Uc_Pavonis::Private::suivreVolet()
{
    NavigateurAide* volet = ecran.navigateur();
    const QRect zone = volet->isVisible() ? volet->geometry() : QRect();
    echap->setEnabled(volet->isVisible());
    if (zone == zoneCouverte)
        return; // mouse moves over the same variable place it again where it was
    zoneCouverte = zone;
    // What the pane covers leaves the focus chain; what it uncovers comes back
    // with the focus policy it had.
    QHash<QWidget*, Qt::FocusPolicy> avant = std::exchange(couverts, {});
    for (QWidget* w : q.findChildren<QWidget*>()) {
        if (w == volet || volet->isAncestorOf(w))
            continue;
        const Qt::FocusPolicy politique = avant.contains(w) ? avant.take(w) : w->focusPolicy();
        if (!(politique & Qt::TabFocus))
            continue;
        const bool couvert = zone.contains(w->mapTo(&q, w->rect().center()));
        if (couvert)
            couverts.insert(w, politique);
        w->setFocusPolicy(couvert ? Qt::NoFocus : politique);
    }
    if (QWidget* focus = QApplication::focusWidget(); focus && couverts.contains(focus))
        volet->setFocus(Qt::OtherFocusReason);
}

void Uc_Pavonis::Private::rendreFocus()
{
    if (focusAvantAide && focusAvantAide->isVisible() && (focusAvantAide->focusPolicy() & Qt::TabFocus))
        focusAvantAide->setFocus(Qt::OtherFocusReason);
}

void Uc_Pavonis::Private::cacherAide()
{
    ecran.navigateur()->hide();
    suivreVolet();
    rendreFocus();
}

void Uc_Pavonis::Private::Cmd_NouvelleEval_Click()
{
    try {
        static_cast<IUc_Pavonis&>(q).Init();
    } catch (const std::exception& e) {
        signaler(e);
    }
}

void Uc_Pavonis::Private::Cmd_Retour_Click()
{
    wSortir = true;
    valeurDefilement = 0;
    try {
        FenetreHote(&q).decharger();
    } catch (const std::exception& e) {
        signaler(e);
    }
}

void Uc_Pavonis::Private::Txt_DateEval_KeyPress(std::int16_t& KeyAscii)
{
    if (KeyAscii == 8 || (KeyAscii >= 48 && KeyAscii <= 57))
        return;
    KeyAscii = 47;
}

bool Uc_Pavonis::Private::filtrerTouche(QKeyEvent& touche)
{
    // Delete and the caret keys edit without typing a character.
    const QString texte = touche.text();
    if (touche.key() == Qt::Key_Delete || texte.isEmpty() || texte == QLatin1String("\b"))
        return false;
    // Every character the key carries, one by one (several for a composed
    // key; a character outside the 16-bit range is one character).
    for (char32_t c : texte.toUcs4()) {
        auto KeyAscii = static_cast<std::int16_t>(c <= 0x7FFF ? c : 0);
        Txt_DateEval_KeyPress(KeyAscii);
        if (KeyAscii == 8)
            dateEval->backspace();
        else
            dateEval->insert(QString(QChar(char16_t(KeyAscii))));
    }
    return true;
}

IServiceDate& Uc_Pavonis::Private::serviceDate()
{
    auto& service = EtatModule::duThread().serviceDate;
    if (!service)
        service =
            convertir<IServiceDate>(Composants::creerObjet(classes_hote::kServiceDate), "Service de dates");
    return *service;
}

Uc_Pavonis::Private::IssueDate Uc_Pavonis::Private::Txt_DateEval_LostFocus()
{
    if (dateEval->text().isEmpty())
        return IssueDate::Acceptee;
    IServiceDate& service = serviceDate();
    std::string texte = dateEval->text().toStdString();
    std::int16_t format = 0;
    filtreDate->ecrire(QString::fromStdString(service.NormaliserDate(texte, format)));
    if (service.SaisieARevoir()) {
        dateEval->setFocus(Qt::OtherFocusReason);
        return IssueDate::ARevoir;
    }
    if (service.ControlerDate(std::make_shared<ZoneTexteHote>(dateEval)).empty())
        return IssueDate::Acceptee;
    BoiteMessage::afficher(&q, qs(ecran::kMessageDateRefusee), qs(ecran::kTitreMessageDate),
                           BoiteMessage::Icone::Exclamation);
    dateEval->setFocus(Qt::OtherFocusReason);
    return IssueDate::Refusee;
}

bool Uc_Pavonis::Private::quitterDate()
{
    if (verificationDate)
        return false; // a press while the message is up
    verificationDate = true;
    IssueDate issue = IssueDate::Acceptee;
    try {
        issue = Txt_DateEval_LostFocus();
    } catch (const std::exception& e) {
        // A date service that fails cannot keep the user in the box.
        signaler(e);
    }
    verificationDate = false;
    if (issue != IssueDate::Acceptee)
        return false;
    dateVerifiee = dateEval->text();
    return true;
}

bool Uc_Pavonis::Private::filtrerSourisFenetre(const QWindow* fenetre, const QMouseEvent& souris)
{
    if (souris.type() == QEvent::MouseButtonRelease) {
        const bool avaler = avalerRelachement;
        avalerRelachement = false;
        return avaler;
    }
    avalerRelachement = false;
    if (!dateEval->hasFocus() || verificationDate)
        return false;
    QWidget* haut = dateEval->window();
    if (fenetre != haut->windowHandle())
        return false; // another window: switching windows is no departure
    if (haut->childAt(souris.position().toPoint()) == dateEval)
        return false;
    if (quitterDate())
        return false;
    avalerRelachement = true;
    return true;
}

void Uc_Pavonis::Private::dateQuittee(const QFocusEvent& evenement)
{
    // Leaving for another window, or for a menu, is no departure.
    const Qt::FocusReason raison = evenement.reason();
    if (raison == Qt::ActiveWindowFocusReason || raison == Qt::PopupFocusReason)
        return;
    const std::optional<QString> verifiee = std::exchange(dateVerifiee, std::nullopt);
    if (verifiee == dateEval->text() || verificationDate)
        return; // checked already, before the focus moved
    // The focus moved some other way (the host's code): check now.
    quitterDate();
    dateVerifiee.reset();
}

Uc_Pavonis::Uc_Pavonis(QWidget* parent) : QWidget(parent), d(std::make_unique<Private>(*this))
{
    traduireQt();
    compteurServeur().ajouterObjet();
    resize(Twips::versPixelsX(ecran::kLargeurSurface), Twips::versPixelsY(ecran::kHauteurSurface));
    d->connecter();
}

Uc_Pavonis::~Uc_Pavonis()
{
    // The children go after this object's own part: nothing of it may run
    // for their last events.
    d->dateEval->removeEventFilter(this);
    compteurServeur().retirerObjet();
}

bool Uc_Pavonis::W_Sortir() const
{
    return d->wSortir;
}
void Uc_Pavonis::W_Sortir(bool valeur)
{
    d->wSortir = valeur;
}
QString Uc_Pavonis::W_Code() const
{
    return d->wCode;
}
void Uc_Pavonis::W_Code(const QString& valeur)
{
    d->wCode = valeur;
}
QString Uc_Pavonis::W_NomPrenom() const
{
    return d->wNomPrenom;
}
void Uc_Pavonis::W_NomPrenom(const QString& valeur)
{
    d->wNomPrenom = valeur;
}
QString Uc_Pavonis::cheminAide() const
{
    return d->cheminAide;
}
std::int16_t Uc_Pavonis::valeurDefilement() const
{
    return d->valeurDefilement;
}

void Uc_Pavonis::exporterPdf(const QString& chemin, FormeExport forme)
{
    // An archive must not keep a GIR that the grid no longer gives.
    if (d->erreurGir)
        throw Erreur(Erreur::Code::ParametreAbsent, "Le PDF n'est pas écrit : le GIR affiché ne correspond "
                                                    "plus à la grille, car son dernier calcul a "
                                                    "échoué (" +
                                                        *d->erreurGir + ")");
    impression::exporterPdf(*this, chemin,
                            forme == FormeExport::Archive ? impression::FormePdf::Archive
                                                          : impression::FormePdf::Ordinaire);
}

Evaluation Uc_Pavonis::evaluation() const
{
    Evaluation e;
    e.evaluateur = d->ecran.zone(ecran::kNomEnqueteur)->text().toStdString();
    e.beneficiaire = d->ecran.zone(ecran::kNomBenef)->text().toStdString();
    e.date = d->dateEval->text().toStdString();
    for (std::size_t i = 0; i < grille::kLignes.size(); ++i) {
        const LigneEvaluation& l = grille::kLignes[i];
        ReponseLigne& r = e.lignes[i];
        r.choix = d->ecran.option(l.optionFait)->isChecked()      ? Choix::Fait
                  : d->ecran.option(l.optionFaitPas)->isChecked() ? Choix::NeFaitPas
                                                                  : Choix::Aucun;
        for (const DescriptionAdverbe& a : kAdverbes)
            r.adverbes[static_cast<std::size_t>(a.adverbe)] =
                d->ecran.caseACocher(l.caseAdverbe(a.adverbe))->isChecked();
    }
    return e;
}

ResultatsEvaluation Uc_Pavonis::resultats() const
{
    return ResultatsEvaluation::calculer(evaluation(), d->tablesGroupes);
}

void Uc_Pavonis::chargerEvaluation(const Evaluation& e)
{
    e.verifier(); // before anything changes
    for (std::size_t i = 0; i < grille::kLignes.size(); ++i) {
        const LigneEvaluation& l = grille::kLignes[i];
        const ReponseLigne& r = e.lignes[i];
        QRadioButton* fait = d->ecran.option(l.optionFait);
        QRadioButton* faitPas = d->ecran.option(l.optionFaitPas);
        // Neither option selected is a state of its own: the group lets it be
        // set only while it is not exclusive.
        for (QRadioButton* o : {fait, faitPas})
            o->setAutoExclusive(false);
        fait->setChecked(r.choix == Choix::Fait);
        faitPas->setChecked(r.choix == Choix::NeFaitPas);
        for (QRadioButton* o : {fait, faitPas})
            o->setAutoExclusive(true);
        for (const DescriptionAdverbe& a : kAdverbes) {
            QCheckBox* c = d->ecran.caseACocher(l.caseAdverbe(a.adverbe));
            c->setEnabled(true);
            c->setChecked(r.adverbes[static_cast<std::size_t>(a.adverbe)]);
        }
    }
    d->ecran.zone(ecran::kNomEnqueteur)->setText(QString::fromStdString(e.evaluateur));
    d->ecran.zone(ecran::kNomBenef)->setText(QString::fromStdString(e.beneficiaire));
    d->filtreDate->ecrire(QString::fromStdString(e.date));
    // The rule settles every row, the composite notes and the GIR.
    for (std::size_t i = 0; i < grille::kLignes.size(); ++i)
        d->calculerLigne(i);
}

void Uc_Pavonis::TheClient(std::shared_ptr<IClient> client)
{
    EtatModule::duThread().client = std::move(client);
}

void Uc_Pavonis::TheDatabase(std::shared_ptr<IBaseDonnees> base)
{
    EtatModule::duThread().baseDonnees = std::move(base);
}

void Uc_Pavonis::DroitsUtilisateur(std::shared_ptr<IDroits>& New_DroitsUtilisateur)
{
    EtatModule& m = EtatModule::duThread();
    m.droits = New_DroitsUtilisateur;
    if (!m.droits)
        throw Erreur(Erreur::Code::ObjetAbsent, "DroitsUtilisateur : aucun objet de droits n'a été donné.");
    m.droitAideAggir = convertir<IDroitEntree>(m.droits->Droit("DOSAIDEAGGIR"), "Droit \"DOSAIDEAGGIR\"");
}

void Uc_Pavonis::Init()
{
    FenetreHote(this).definir(QStringLiteral("Caption"), qs(ecran::kTitreFenetre));

    Mod_Proc::ChargerParametres();

    EtatModule& m = EtatModule::duThread();
    const qsizetype longueur = QString::fromStdString(m.entreeChemin->Texte(1, -1, -1)).size();
    const QString repertoire = QString::fromStdString(m.entreeChemin->Texte(1, -1, -1));
    if (longueur < 5)
        throw Erreur(Erreur::Code::ParametreInvalide,
                     "Le répertoire d'installation (section \"CHEMINFICHIER\", entrée \"1\") « " +
                         repertoire.toStdString() + " » a moins de 5 caractères.");
    d->cheminAide =
        QStringLiteral("file:") + repertoire.left(longueur - 5) + QStringLiteral("aide/aide_aggir");

    // A table that cannot be fetched keeps the one it had; the GIR fails
    // later, when it needs it.
    for (std::size_t g = 0; g < grille::kNbGroupes; ++g) {
        const std::string lettre(1, grille::kGroupes[g]);
        try {
            d->tablesGroupes[g] = convertir<IEntreeParametre>(m.paramAggir->Section(lettre),
                                                              "Entrée \"" + lettre + "\" de \"AGGIRPARAM\"");
        } catch (const std::exception&) {
        }
    }

    d->ecran.zone(ecran::kNomEnqueteur)->setText(QString());
    d->ecran.zone(ecran::kNomBenef)->setText(QString());
    d->filtreDate->ecrire(DateDuJour::texte());

    d->reinitialiserGrille();
}

void Uc_Pavonis::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    try {
        d->UserControl_Show();
    } catch (const std::exception& e) {
        d->signaler(e);
    }
    d->ecran.alignerEntetes(); // for this screen's fonts
}

void Uc_Pavonis::wheelEvent(QWheelEvent* event)
{
    d->defilerMolette(*event);
}

void Uc_Pavonis::keyPressEvent(QKeyEvent* event)
{
    QWidget* focus = QApplication::focusWidget();
    if (event->key() == Qt::Key_F1) {
        // As a hover then a click on the variable's name.
        if (const int numero = d->variableDe(focus)) {
            d->variable_MouseMove(numero);
            d->variable_Click();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

bool Uc_Pavonis::eventFilter(QObject* objet, QEvent* event)
{
    if (objet == d->dateEval) {
        if (event->type() == QEvent::KeyPress) {
            auto* touche = static_cast<QKeyEvent*>(event);
            if (touche->key() == Qt::Key_Tab || touche->key() == Qt::Key_Backtab)
                return !d->quitterDate();
            return d->filtrerTouche(*touche);
        }
        if (event->type() == QEvent::FocusOut)
            d->dateQuittee(*static_cast<QFocusEvent*>(event));
        return false;
    }

    const auto variable = d->variableSurvolee.constFind(objet);
    if (variable != d->variableSurvolee.cend()) {
        auto* w = static_cast<QWidget*>(objet);
        if (event->type() == QEvent::MouseMove) {
            // A frame counts only where none of its own controls is.
            const auto* souris = static_cast<QMouseEvent*>(event);
            if (qobject_cast<QLabel*>(w) || !w->childAt(souris->position().toPoint()))
                d->variable_MouseMove(*variable);
        } else if (event->type() == QEvent::MouseButtonDblClick && qobject_cast<QLabel*>(w)) {
            // The second press of a double-click is no second click.
            d->clicDouble = true;
        } else if (event->type() == QEvent::MouseButtonRelease && qobject_cast<QLabel*>(w)) {
            const auto* souris = static_cast<QMouseEvent*>(event);
            const bool clicDouble = std::exchange(d->clicDouble, false);
            if (!clicDouble && souris->button() == Qt::LeftButton &&
                w->rect().contains(souris->position().toPoint()))
                d->variable_Click();
        }
    }
    return QWidget::eventFilter(objet, event);
}

} // namespace pavonis
