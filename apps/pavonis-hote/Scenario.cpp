#include "Scenario.h"

#include <pavonis/Erreur.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QTextStream>

#include <map>

namespace pavonis {

namespace {

[[noreturn]] void refuser(const QString& message) { throw Erreur(Erreur::Code::Saisie, message.toStdString()); }

int touche(const QString& nom)
{
    static const std::map<QString, int> touches{
        {"Entree", Qt::Key_Return}, {"Echap", Qt::Key_Escape}, {"Tab", Qt::Key_Tab},
        {"Retour", Qt::Key_Backspace}, {"Suppr", Qt::Key_Delete}, {"Haut", Qt::Key_Up},
        {"Bas", Qt::Key_Down}, {"Gauche", Qt::Key_Left}, {"Droite", Qt::Key_Right},
        {"Debut", Qt::Key_Home}, {"Fin", Qt::Key_End}, {"Espace", Qt::Key_Space}};
    const auto it = touches.find(nom);
    return it == touches.end() ? 0 : it->second;
}

// A point of `w` where none of its children is: where the mouse is over the
// control itself.
QPoint pointLibre(QWidget& w)
{
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

Scenario::~Scenario() { qApp->removeEventFilter(this); }

QWidget& Scenario::trouver(const QString& nom) const
{
    if (nom.isEmpty())
        refuser(QStringLiteral("il manque le nom du contrôle"));
    QWidget* w = nullptr;
    if (QWidget* dialogue = QApplication::activeModalWidget())
        w = dialogue->objectName() == nom ? dialogue : dialogue->findChild<QWidget*>(nom);
    if (!w && controle_)
        w = controle_->findChild<QWidget*>(nom);
    if (!w)
        refuser(QStringLiteral("contrôle inconnu « %1 »").arg(nom));
    return *w;
}

void Scenario::rejouer(const QString& chemin)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly | QIODevice::Text))
        refuser(QStringLiteral("scénario %1 illisible (%2)").arg(chemin, fichier.errorString()));
    chemin_ = chemin;
    lignes_ = QTextStream(&fichier).readAll().split(QLatin1Char('\n'));
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
    while (index_ < lignes_.size() && !erreur_) {
        const int numero = ++index_;
        const QString ligne = lignes_[numero - 1];
        if (ligne.trimmed().isEmpty() || ligne.trimmed().startsWith(QLatin1Char('#')))
            continue;
        reprisDansUnDialogue_ = false;
        try {
            if (!controle_)
                refuser(QStringLiteral("la fenêtre de l'hôte est fermée"));
            executer(ligne);
        } catch (const Erreur& e) {
            erreur_ = Erreur(Erreur::Code::Saisie, QStringLiteral("scénario %1, ligne %2 : %3.")
                                                       .arg(chemin_)
                                                       .arg(numero)
                                                       .arg(QString::fromUtf8(e.what()))
                                                       .toStdString());
            break;
        }
        // The rest went on inside a dialog this line opened.
        if (reprisDansUnDialogue_)
            return;
        // What the action queued runs first, then the next line.
        QMetaObject::invokeMethod(this, &Scenario::suivante, Qt::QueuedConnection);
        return;
    }
    terminer();
}

void Scenario::terminer()
{
    // A dialog still open would keep its event loop running: give it up.
    while (QWidget* dialogue = QApplication::activeModalWidget()) {
        if (!erreur_)
            erreur_ = Erreur(Erreur::Code::Saisie,
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

void Scenario::executer(const QString& ligne)
{
    const QString texte = ligne.trimmed();
    const QString action = texte.section(QLatin1Char(' '), 0, 0);
    const QString nom = texte.section(QLatin1Char(' '), 1, 1, QString::SectionSkipEmpty);
    const QString reste = texte.section(QLatin1Char(' '), 2, -1, QString::SectionSkipEmpty);

    if (action == QLatin1String("cliquer")) {
        QWidget& w = trouver(nom);
        QTest::mouseClick(&w, Qt::LeftButton, {}, w.rect().center());
    } else if (action == QLatin1String("cocher") || action == QLatin1String("decocher")) {
        auto* c = qobject_cast<QCheckBox*>(&trouver(nom));
        if (!c)
            refuser(QStringLiteral("« %1 » n'est pas une case à cocher").arg(nom));
        if (c->isChecked() != (action == QLatin1String("cocher")))
            QTest::mouseClick(c, Qt::LeftButton, {}, c->rect().center());
    } else if (action == QLatin1String("saisir")) {
        QWidget& w = trouver(nom);
        w.setFocus(Qt::OtherFocusReason);
        // Key by key, accents included.
        for (QChar c : ligne.section(QLatin1Char(' '), 2, -1, QString::SectionSkipEmpty)) {
            if (c.unicode() < 128)
                QTest::keyClick(&w, static_cast<char>(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, &w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    } else if (action == QLatin1String("effacer")) {
        // As a user would: to the end of the field, then backspace.
        QWidget& w = trouver(nom);
        auto* zone = qobject_cast<QLineEdit*>(&w);
        if (!zone)
            refuser(QStringLiteral("« %1 » n'est pas un champ de texte").arg(nom));
        zone->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(zone, Qt::Key_End);
        for (qsizetype n = zone->text().size(); n > 0; --n)
            QTest::keyClick(zone, Qt::Key_Backspace);
    } else if (action == QLatin1String("quitter")) {
        QWidget& w = trouver(nom);
        if (!w.hasFocus())
            w.setFocus(Qt::OtherFocusReason);
        QTest::keyClick(&w, Qt::Key_Tab);
    } else if (action == QLatin1String("touche")) {
        QWidget& w = trouver(nom);
        if (reste.isEmpty())
            refuser(QStringLiteral("il manque la touche"));
        w.setFocus(Qt::OtherFocusReason);
        if (const int t = touche(reste))
            QTest::keyClick(&w, static_cast<Qt::Key>(t));
        else if (reste.size() == 1)
            QTest::keyClick(&w, reste.at(0).toLatin1());
        else
            refuser(QStringLiteral("touche inconnue « %1 »").arg(reste));
    } else if (action == QLatin1String("survoler")) {
        QWidget& w = trouver(nom);
        QTest::mouseMove(&w, qobject_cast<QLabel*>(&w) ? w.rect().center() : pointLibre(w));
    } else if (action == QLatin1String("defiler") || action == QLatin1String("pas")) {
        auto* barre = controle_->findChild<QScrollBar*>(QStringLiteral("Bdv_Controles"));
        if (!barre)
            refuser(QStringLiteral("pas de barre de défilement"));
        if (!barre->isEnabled())
            refuser(QStringLiteral("la barre de défilement est désactivée (grand écran)"));
        if (action == QLatin1String("defiler")) {
            bool ok = false;
            const int cible = nom.toInt(&ok);
            if (!ok)
                refuser(QStringLiteral("valeur de défilement attendue, pas « %1 »").arg(nom));
            // A drag of the thumb: positions one after the other, then the release.
            barre->setSliderDown(true);
            for (int v = barre->value(); v != cible && v >= barre->minimum() && v <= barre->maximum();)
                barre->setSliderPosition(v += (cible > v ? 1 : -1));
            barre->setSliderDown(false);
        } else {
            const bool bas = nom == QLatin1String("bas");
            if (!bas && nom != QLatin1String("haut"))
                refuser(QStringLiteral("« pas » attend bas ou haut"));
            const int n = reste.isEmpty() ? 1 : reste.toInt();
            for (int i = 0; i < n; ++i)
                barre->triggerAction(bas ? QAbstractSlider::SliderSingleStepAdd : QAbstractSlider::SliderSingleStepSub);
        }
    } else if (action == QLatin1String("choisir")) {
        auto* liste = qobject_cast<QComboBox*>(&trouver(nom));
        if (!liste)
            refuser(QStringLiteral("« %1 » n'est pas une liste").arg(nom));
        const int i = liste->findText(reste);
        if (i < 0)
            refuser(QStringLiteral("« %1 » n'est pas dans la liste %2").arg(reste, nom));
        // As a user does: the list opens, the entry is picked.
        liste->setFocus(Qt::OtherFocusReason);
        while (liste->currentIndex() != i)
            QTest::keyClick(liste, liste->currentIndex() < i ? Qt::Key_Down : Qt::Key_Up);
    } else if (action == QLatin1String("fermer")) {
        if (fenetre_)
            fenetre_->close();
    } else {
        refuser(QStringLiteral("action inconnue « %1 »").arg(action));
    }
}

} // namespace pavonis
