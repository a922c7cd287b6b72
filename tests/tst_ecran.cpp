// The screen against its reviewed inventory (tests/donnees): every control
// with its kind, container, caption, place and size in twips; the focus
// order; the looks and the state before any code has run.

#include "HoteEssai.h"
#include "OutilsEssai.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

using namespace pavonis;
using namespace pavonis::essai;

namespace {

QStringList lignesDe(const char* fichier) { return donnee(fichier).split('\n', Qt::SkipEmptyParts); }

QString genre(const QWidget* w)
{
    if (qobject_cast<const QTextBrowser*>(w))
        return "navigateur";
    if (qobject_cast<const QCheckBox*>(w))
        return "case";
    if (qobject_cast<const QRadioButton*>(w))
        return "option";
    if (qobject_cast<const QLineEdit*>(w))
        return "zone_texte";
    if (qobject_cast<const QLabel*>(w))
        return "etiquette";
    if (qobject_cast<const QGroupBox*>(w))
        return "cadre";
    if (qobject_cast<const QPushButton*>(w))
        return "bouton";
    if (qobject_cast<const QScrollBar*>(w))
        return "barre_defilement";
    return "?";
}

QString legende(const QWidget* w)
{
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    if (auto* b = qobject_cast<const QPushButton*>(w))
        return b->text();
    return {};
}

} // namespace

class TestEcran : public QObject {
    Q_OBJECT

    std::unique_ptr<HoteEssai> hote_;
    Uc_Pavonis* c_ = nullptr;

private slots:
    void init()
    {
        hote_ = std::make_unique<HoteEssai>();
        c_ = hote_->creerControle();
    }
    void cleanup() { hote_.reset(); }

    void inventaire_data()
    {
        QTest::addColumn<QStringList>("attendu"); // nom, genre, conteneur, légende, gauche, haut, largeur, hauteur
        for (const QString& l : lignesDe("ecran-inventaire.tsv").mid(1))
            QTest::newRow(qPrintable(l.section('\t', 0, 0))) << l.split('\t');
    }
    void inventaire()
    {
        QFETCH(QStringList, attendu);
        QWidget* w = enfant(*c_, qPrintable(attendu[0]));
        const QRect t = w->property("twips").toRect();
        const QString conteneur = w->parentWidget() == c_ ? QString() : w->parentWidget()->objectName();
        QCOMPARE(QStringList({w->objectName(), genre(w), conteneur, legende(w), QString::number(t.x()), QString::number(t.y()),
                              QString::number(t.width()), QString::number(t.height())}),
                 attendu);
    }

    // Nothing more than the inventory: 253 controls, each name once.
    void rienDePlus()
    {
        QStringList noms;
        for (QWidget* w : c_->findChildren<QWidget*>())
            if (w->property("twips").isValid())
                noms << w->objectName();
        QCOMPARE(noms.size(), 253);
        QCOMPARE(noms.size(), lignesDe("ecran-inventaire.tsv").size() - 1);
        noms.removeDuplicates();
        QCOMPARE(noms.size(), 253);
    }

    // The focus chain visits the inventory's focus order, the help pane
    // first when it is shown.
    void ordreDeTabulation()
    {
        QStringList attendus = lignesDe("ecran-tabulation.txt");
        QStringList chaine;
        QWidget* w = enfant(*c_, qPrintable(attendus[0]));
        for (int i = 0; i < attendus.size(); ++i, w = w->nextInFocusChain()) {
            while (!(w->focusPolicy() & Qt::TabFocus) || !w->property("twips").isValid())
                w = w->nextInFocusChain();
            chaine << w->objectName();
        }
        QCOMPARE(chaine, attendus);
        // Through the keyboard after Init: disabled boxes are skipped.
        QVERIFY(montrer(hote_->fenetre()));
        c_->Init();
        enfant(*c_, "Txt_NomEnqueteur")->setFocus();
        QStringList vus;
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            vus << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(vus, QStringList({"Cmd_Retour", "Cmd_Imprimer", "Cmd_NouvelleEval", "Txt_DateEval", "Txt_SousGroupe",
                                   "Txt_Groupe", "Txt_GestionNote", "Opt_GestionFait"}));
    }

    // The looks: variable names on light orange, the result in 18 points,
    // notes locked to one character, a single titled frame, the state
    // before Init.
    void apparenceEtEtatInitial()
    {
        int orange = 0, lectureSeule = 0;
        for (QLabel* l : c_->findChildren<QLabel*>())
            orange += l->autoFillBackground() && l->palette().color(QPalette::Window) == QColor(255, 224, 192);
        QCOMPARE(orange, 17);
        for (const char* nom : {"Txt_Groupe", "Txt_SousGroupe"}) {
            const QFont f = enfant(*c_, nom)->font();
            QVERIFY(f.pointSize() == 18 && !f.bold() && !f.italic() && !f.underline() && !f.strikeOut());
        }
        for (QLineEdit* z : c_->findChildren<QLineEdit*>()) {
            QVERIFY2(z->text().isEmpty(), qPrintable(z->objectName()));
            lectureSeule += z->isReadOnly();
            QCOMPARE(z->maxLength(), z->isReadOnly() ? 1 : 32767);
        }
        QCOMPARE(lectureSeule, 32);
        for (QRadioButton* o : c_->findChildren<QRadioButton*>())
            QVERIFY(!o->isChecked());
        for (QCheckBox* k : c_->findChildren<QCheckBox*>())
            QVERIFY(!k->isChecked() && k->isEnabled());
        QVERIFY(enfant(*c_, "WB_Aide")->isHidden() && !enfant(*c_, "Etq_Aide")->isHidden());
        auto* barre = qobject_cast<QScrollBar*>(enfant(*c_, "Bdv_Controles"));
        QCOMPARE(QList<int>({barre->value(), barre->minimum(), barre->maximum(), barre->singleStep(), barre->pageStep()}),
                 QList<int>({0, 0, 32767, 1, 1}));
    }

};

QTEST_MAIN(TestEcran)
#include "tst_ecran.moc"
