#include "Scenario.h"

#include <pavonis/hostapi/Erreur.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

#include <map>

namespace pavonis {

namespace {

using Genre = ActionScenario::Genre;

[[noreturn]] void refuser(const QString& message)
{
    throw Erreur(Erreur::Code::Saisie, message.toStdString());
}

Qt::Key toucheNommee(const QString& nom)
{
    static const std::map<QString, Qt::Key> touches{{"Entree", Qt::Key_Return}, {"Echap", Qt::Key_Escape},
                                                    {"Tab", Qt::Key_Tab},       {"Retour", Qt::Key_Backspace},
                                                    {"Suppr", Qt::Key_Delete},  {"Haut", Qt::Key_Up},
                                                    {"Bas", Qt::Key_Down},      {"Gauche", Qt::Key_Left},
                                                    {"Droite", Qt::Key_Right},  {"Debut", Qt::Key_Home},
                                                    {"Fin", Qt::Key_End},       {"Espace", Qt::Key_Space},
                                                    {"F1", Qt::Key_F1}};
    const auto it = touches.find(nom);
    return it == touches.end() ? Qt::Key_unknown : it->second;
}

// One character typed as a key carrying it.
void taperCaractere(QWidget& w, char32_t c)
{
    if (c >= 0x20 && c < 0x7F)
        QTest::keyClick(&w, char(c));
    else
        QTest::sendKeyEvent(QTest::Click, &w, Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
}

} // namespace

void Scenario::activer(QWidget& fenetre)
{
    if (fenetre.isActiveWindow())
        return;
    fenetre.activateWindow();
    if (!QTest::qWaitFor([&] { return fenetre.isActiveWindow(); }))
        refuser(QStringLiteral("la fenêtre « %1 » ne devient pas active").arg(fenetre.windowTitle()));
}

namespace {

// The nearest named widget, for messages.
QString nomDe(const QWidget* w)
{
    while (w && w->objectName().isEmpty())
        w = w->parentWidget();
    return w ? w->objectName() : QStringLiteral("(aucun contrôle)");
}

// A point of `w` where none of its children is: where the mouse is over the
// control itself.
QPoint pointLibre(QWidget& w)
{
    if (qobject_cast<QLabel*>(&w))
        return w.rect().center();
    for (int y = w.height() - 2; y > 0; y -= 2)
        for (int x = w.width() - 2; x > 0; x -= 3)
            if (!w.childAt(x, y))
                return {x, y};
    return w.rect().center();
}

} // namespace

Scenario::Scenario(QWidget& fenetre, QWidget& controle) : fenetre_(&fenetre), controle_(&controle)
{
    qApp->installEventFilter(this);
}

Scenario::~Scenario()
{
    qApp->removeEventFilter(this);
}

QWidget& Scenario::trouver(const QString& nom) const
{
    QWidget* w = nullptr;
    if (QWidget* dialogue = QApplication::activeModalWidget())
        w = dialogue->objectName() == nom ? dialogue : dialogue->findChild<QWidget*>(nom);
    if (!w && controle_)
        w = controle_->findChild<QWidget*>(nom);
    if (!w)
        refuser(QStringLiteral("contrôle inconnu « %1 »").arg(nom));
    return *w;
}

QPoint Scenario::viser(QWidget& w, QPoint dansLeControle) const
{
    if (!w.isVisible())
        refuser(QStringLiteral("« %1 » n'est pas visible").arg(w.objectName()));
    QWidget* haut = w.window();
    const QPoint p = w.mapTo(haut, dansLeControle);
    if (!haut->rect().contains(p))
        refuser(QStringLiteral("« %1 » est hors de la fenêtre").arg(w.objectName()));
    const QWidget* recu = haut->childAt(p);
    if (recu != &w && !w.isAncestorOf(recu))
        refuser(QStringLiteral("le clic sur « %1 » tomberait sur « %2 »")
                    .arg(w.objectName(), nomDe(recu ? recu : haut)));
    return p;
}

void Scenario::cliquer(QWidget& w, bool double_)
{
    const QPoint p = viser(w, w.rect().center());
    QWindow* fenetre = w.window()->windowHandle();
    if (double_)
        QTest::mouseDClick(fenetre, Qt::LeftButton, {}, p);
    else
        QTest::mouseClick(fenetre, Qt::LeftButton, {}, p);
}

void Scenario::donnerFocus(QWidget& w)
{
    if (w.hasFocus())
        return;
    w.setFocus(Qt::OtherFocusReason);
    if (!w.hasFocus())
        refuser(QStringLiteral("« %1 » ne prend pas le focus, qui reste sur « %2 »")
                    .arg(w.objectName(), nomDe(QApplication::focusWidget())));
}

void Scenario::taper(QWidget& w, const QString& texte)
{
    for (char32_t c : texte.toUcs4())
        taperCaractere(w, c);
}

void Scenario::rejouer(const QString& chemin)
{
    actions_ = LecteurScenario::lireFichier(chemin);
    chemin_ = chemin;
    index_ = 0;
    erreur_.reset();
    QMetaObject::invokeMethod(this, &Scenario::suivante, Qt::QueuedConnection);
    boucle_.exec();
    if (erreur_)
        throw *erreur_;
}

bool Scenario::eventFilter(QObject* objet, QEvent* event)
{
    // A modal dialog has just opened inside the current action: the next
    // lines go on from within its own event loop.
    if (event->type() == QEvent::Show && objet->isWidgetType()) {
        auto* w = static_cast<QWidget*>(objet);
        if (w->isWindow() && w->isModal() && !reprisDansUnDialogue_) {
            reprisDansUnDialogue_ = true;
            QMetaObject::invokeMethod(this, &Scenario::suivante, Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(objet, event);
}

void Scenario::suivante()
{
    if (index_ < actions_.size() && !erreur_) {
        const ActionScenario& action = actions_[index_++];
        reprisDansUnDialogue_ = false;
        // A dialog that has just opened becomes the active window, as the
        // user sees it, before anything is done in it.
        if (QWidget* dialogue = QApplication::activeModalWidget())
            activer(*dialogue);
        try {
            if (!controle_)
                refuser(QStringLiteral("la fenêtre de l'hôte est fermée"));
            executer(action);
        } catch (const Erreur& e) {
            erreur_ = Erreur(Erreur::Code::Saisie, QStringLiteral("scénario %1, ligne %2 : %3.")
                                                       .arg(chemin_)
                                                       .arg(action.ligne)
                                                       .arg(QString::fromUtf8(e.what()))
                                                       .toStdString());
        }
        // The rest went on inside a dialog this line opened.
        if (reprisDansUnDialogue_)
            return;
        if (!erreur_) {
            // What the action queued runs first, then the next line.
            QMetaObject::invokeMethod(this, &Scenario::suivante, Qt::QueuedConnection);
            return;
        }
    }
    terminer();
}

void Scenario::terminer()
{
    // A dialog still open would keep its event loop running: give it up.
    while (QWidget* dialogue = QApplication::activeModalWidget()) {
        if (!erreur_)
            erreur_ =
                Erreur(Erreur::Code::Saisie,
                       QStringLiteral("scénario %1 : il se termine alors que la fenêtre « %2 » est ouverte ; "
                                      "elle a été fermée par « Annuler ».")
                           .arg(chemin_, dialogue->windowTitle())
                           .toStdString());
        if (auto* annuler = dialogue->findChild<QAbstractButton*>(QStringLiteral("Cmd_Annuler")))
            annuler->click();
        else
            dialogue->hide();
        if (QApplication::activeModalWidget() == dialogue)
            break;
    }
    boucle_.quit();
}

void Scenario::executer(const ActionScenario& a)
{
    switch (a.genre) {
    case Genre::Cliquer:
    case Genre::DoubleCliquer:
        cliquer(trouver(a.nom), a.genre == Genre::DoubleCliquer);
        break;
    case Genre::Cocher:
    case Genre::Decocher: {
        auto* c = qobject_cast<QCheckBox*>(&trouver(a.nom));
        if (!c)
            refuser(QStringLiteral("« %1 » n'est pas une case à cocher").arg(a.nom));
        if (c->isChecked() != (a.genre == Genre::Cocher))
            cliquer(*c, false);
        break;
    }
    case Genre::Saisir: {
        QWidget& w = trouver(a.nom);
        donnerFocus(w);
        taper(w, a.texte);
        break;
    }
    case Genre::Effacer: {
        auto* zone = qobject_cast<QLineEdit*>(&trouver(a.nom));
        if (!zone)
            refuser(QStringLiteral("« %1 » n'est pas un champ de texte").arg(a.nom));
        // As a user would: to the end of the field, then backspace.
        donnerFocus(*zone);
        QTest::keyClick(zone, Qt::Key_End);
        for (qsizetype n = zone->text().size(); n > 0; --n)
            QTest::keyClick(zone, Qt::Key_Backspace);
        break;
    }
    case Genre::Quitter: {
        QWidget& w = trouver(a.nom);
        donnerFocus(w);
        QTest::keyClick(&w, Qt::Key_Tab);
        break;
    }
    case Genre::Touche: {
        QWidget& w = trouver(a.nom);
        const Qt::Key nommee = toucheNommee(a.texte);
        const QList<uint> caracteres = a.texte.toUcs4();
        if (nommee == Qt::Key_unknown && caracteres.size() != 1)
            refuser(QStringLiteral("touche inconnue « %1 »").arg(a.texte));
        donnerFocus(w);
        if (nommee != Qt::Key_unknown)
            QTest::keyClick(&w, nommee);
        else
            taperCaractere(w, caracteres.front());
        break;
    }
    case Genre::Survoler: {
        QWidget& w = trouver(a.nom);
        const QPoint p = viser(w, pointLibre(w));
        QTest::mouseMove(w.window()->windowHandle(), p);
        break;
    }
    case Genre::Defiler:
    case Genre::Pas: {
        auto* barre = controle_->findChild<QScrollBar*>(QStringLiteral("Bdv_Controles"));
        if (!barre)
            refuser(QStringLiteral("pas de barre de défilement"));
        if (!barre->isEnabled())
            refuser(QStringLiteral("la barre de défilement est désactivée (grand écran)"));
        if (a.genre == Genre::Defiler) {
            if (a.nombre < barre->minimum() || a.nombre > barre->maximum())
                refuser(QStringLiteral("valeur de défilement %1 hors de la barre (%2 à %3)")
                            .arg(a.nombre)
                            .arg(barre->minimum())
                            .arg(barre->maximum()));
            // A drag of the thumb: positions one after the other, then the release.
            barre->setSliderDown(true);
            for (int v = barre->value(); v != a.nombre;)
                barre->setSliderPosition(v += (a.nombre > v ? 1 : -1));
            barre->setSliderDown(false);
        } else {
            const bool bas = a.nom == QLatin1String("bas");
            for (int i = 0; i < a.nombre; ++i)
                barre->triggerAction(bas ? QAbstractSlider::SliderSingleStepAdd
                                         : QAbstractSlider::SliderSingleStepSub);
        }
        break;
    }
    case Genre::Choisir: {
        auto* liste = qobject_cast<QComboBox*>(&trouver(a.nom));
        if (!liste)
            refuser(QStringLiteral("« %1 » n'est pas une liste").arg(a.nom));
        const int i = liste->findText(a.texte);
        if (i < 0)
            refuser(QStringLiteral("« %1 » n'est pas dans la liste %2").arg(a.texte, a.nom));
        // As a user does: the list takes the focus, the entry is picked.
        donnerFocus(*liste);
        while (liste->currentIndex() != i)
            QTest::keyClick(liste, liste->currentIndex() < i ? Qt::Key_Down : Qt::Key_Up);
        break;
    }
    case Genre::Fermer:
        if (fenetre_)
            fenetre_->close();
        break;
    }
}

} // namespace pavonis
