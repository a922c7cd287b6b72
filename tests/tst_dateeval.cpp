// The evaluation date box: what may be written in it, however it arrives,
// and the check on leaving it, which runs before whatever the user left it
// for -- through a scripted date service (the stand-alone one is the demo
// host's, tested with it).

#include "HoteEssai.h"
#include <pavonis/platform/BoiteMessage.h>
#include <pavonis/platform/Composants.h>

#include <pavonis/hostapi/IControleTexte.h>
#include <pavonis/hostapi/IServiceDate.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QTest>

using namespace pavonis;
using namespace pavonis::essai;

namespace {

// A date service that answers as told and records what it is asked.
struct ServiceScripte final : IServiceDate {
    std::string normalisee; // empty: give the text back
    bool revoir = false;
    std::string refus;
    bool panne = false;
    QStringList journal;

    std::string NormaliserDate(std::string& texte, std::int16_t& format) override
    {
        journal << QString("normaliser %1 %2").arg(QString::fromStdString(texte)).arg(format);
        if (panne)
            throw std::runtime_error("service des dates indisponible");
        return normalisee.empty() ? texte : normalisee;
    }
    bool SaisieARevoir() override
    {
        journal << "revoir";
        return revoir;
    }
    std::string ControlerDate(const ObjetPtr& zone) override
    {
        journal << "controler " + QString::fromStdString(convertir<IControleTexte>(zone, "zone")->Text());
        return refus;
    }
};

const QString kMessage = "Message NORVELIS | Erreur de saisie dans la date, veuillez la ressaisir. | 2";

} // namespace

class TestDateEval : public QObject {
    Q_OBJECT

    std::unique_ptr<HoteEssai> hote_;
    Uc_Pavonis* c_ = nullptr;
    QLineEdit* date_ = nullptr;
    std::shared_ptr<ServiceScripte> service_;
    QStringList messages_;

    void quitter() { QTest::keyClick(date_, Qt::Key_Tab); }
    void refuser(const char* saisie)
    {
        service_->refus = "Date impossible";
        QTest::keyClicks(date_, saisie);
    }

private slots:
    // The control creates the date service once for its thread: one scripted
    // service for the whole run, its script reset before each test.
    void initTestCase() { service_ = std::make_shared<ServiceScripte>(); }
    void init()
    {
        hote_ = std::make_unique<HoteEssai>();
        *service_ = ServiceScripte{};
        Composants::enregistrerClasse("Velmor.ServiceDate", [s = service_] { return ObjetPtr(s); });
        messages_.clear();
        BoiteMessage::intercepter([this](const BoiteMessage::Message& m) {
            messages_ << m.titre + " | " + m.texte + " | " + QString::number(int(m.icone));
        });
        c_ = hote_->creerControle();
        QVERIFY(montrer(hote_->fenetre()));
        c_->Init();
        date_ = qobject_cast<QLineEdit*>(enfant(*c_, "Txt_DateEval"));
        QCOMPARE(date_->text(), "05/12/2026"); // written by the control, not filtered
        date_->clear();
        date_->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), date_);
    }
    void cleanup()
    {
        BoiteMessage::intercepter({});
        hote_.reset();
    }

    // Typed keys: a digit or "/" stays, any other character becomes "/",
    // keys without a character do their work.
    void touches_data()
    {
        QTest::addColumn<QList<int>>("touches"); // below 0x110000: a character; else a Qt::Key
        QTest::addColumn<QString>("attendu");
        QTest::newRow("chiffres et lettre") << QList<int>{'1', 'a', '2'} << "1/2";
        QTest::newRow("barre") << QList<int>{'0', '5', '/', '1', '2'} << "05/12";
        QTest::newRow("espace et point") << QList<int>{'1', ' ', '2', '.'} << "1/2/";
        QTest::newRow("accent et symbole") << QList<int>{'3', 0xe9, 0x20ac} << "3//";
        QTest::newRow("hors du plan de base") << QList<int>{'4', 0x1f600, '5'} << "4/5";
        QTest::newRow("entrée et échap") << QList<int>{'3', Qt::Key_Return, Qt::Key_Escape} << "3//";
        QTest::newRow("retour arrière") << QList<int>{'1', '2', Qt::Key_Backspace, '3'} << "13";
        QTest::newRow("suppr (U+007F sous X)") << QList<int>{'1', '2', Qt::Key_Home, 0x7f} << "2";
        QTest::newRow("flèches") << QList<int>{'1', '2', Qt::Key_Left, '9'} << "192";
    }
    void touches()
    {
        QFETCH(QList<int>, touches);
        QFETCH(QString, attendu);
        for (int t : touches) {
            if (t >= 0x110000)
                QTest::keyClick(date_, Qt::Key(t));
            else if (t < 127)
                QTest::keyClick(date_, char(t));
            else {
                const char32_t c = char32_t(t);
                QTest::sendKeyEvent(QTest::Click, date_, t == 0x7f ? Qt::Key_Delete : Qt::Key_unknown,
                                    QString::fromUcs4(&c, 1), {});
            }
        }
        QCOMPARE(date_->text(), attendu);
    }

    // Text that arrives whole follows the same rule, character by
    // character, and leaves what was there alone.
    void texteInsere_data()
    {
        QTest::addColumn<QString>("voie");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QString>("attendu");
        for (const char* voie : {"coller", "déposer", "méthode de saisie"}) {
            QTest::addRow("%s chiffres", voie) << voie << "0512"
                                               << "1/0512";
            QTest::addRow("%s date longue", voie) << voie << "5 déc. 2026"
                                                  << "1/5//////2026";
            QTest::addRow("%s émoji", voie) << voie << "2\U0001F600"
                                            << "1/2/";
        }
    }
    void texteInsere()
    {
        QFETCH(QString, voie);
        QFETCH(QString, texte);
        QFETCH(QString, attendu);
        QTest::keyClicks(date_, "1x");
        if (voie == "coller") { // as the context menu does: Ctrl+V is a typed "/"
            QApplication::clipboard()->setText(texte);
            date_->paste();
        } else if (voie == "déposer") {
            QMimeData donnees;
            donnees.setText(texte);
            const QPoint fin = date_->rect().bottomRight() - QPoint(2, date_->height() / 2);
            QDragEnterEvent entree(fin, Qt::CopyAction, &donnees, Qt::LeftButton, {});
            QDragMoveEvent mouvement(fin, Qt::CopyAction, &donnees, Qt::LeftButton, {});
            QDropEvent depot(fin, Qt::CopyAction, &donnees, Qt::LeftButton, {});
            QApplication::sendEvent(date_, &entree);
            QApplication::sendEvent(date_, &mouvement);
            QApplication::sendEvent(date_, &depot);
        } else {
            QInputMethodEvent saisie;
            saisie.setCommitString(texte);
            QApplication::sendEvent(date_, &saisie);
        }
        QCOMPARE(date_->text(), attendu);
    }

    // Leaving with Tab: the service normalises, may ask for a second look,
    // then checks; a refusal keeps the user in the box, each time.
    void depart_data()
    {
        QTest::addColumn<QString>("saisie");
        QTest::addColumn<QString>("normalisee");
        QTest::addColumn<bool>("revoir");
        QTest::addColumn<QString>("refus");
        QTest::addColumn<QStringList>("journal");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<bool>("reste");
        QTest::newRow("vide") << ""
                              << "" << false << "jamais" << QStringList() << "" << false;
        QTest::newRow("acceptée") << "01/12/2026"
                                  << "" << false << ""
                                  << QStringList{"normaliser 01/12/2026 0", "revoir", "controler 01/12/2026"}
                                  << "01/12/2026" << false;
        QTest::newRow("refusée") << "3102"
                                 << "31/02/2026" << false << "Date impossible"
                                 << QStringList{"normaliser 3102 0", "revoir", "controler 31/02/2026"}
                                 << "31/02/2026" << true;
        QTest::newRow("à revoir") << "0512"
                                  << "05/12/2026" << true << "refusée quand même"
                                  << QStringList{"normaliser 0512 0", "revoir"} << "05/12/2026" << true;
    }
    void depart()
    {
        QFETCH(QString, saisie);
        QFETCH(QString, normalisee);
        QFETCH(bool, revoir);
        QFETCH(QString, refus);
        QFETCH(QStringList, journal);
        QFETCH(QString, texte);
        QFETCH(bool, reste);
        service_->normalisee = normalisee.toStdString();
        service_->revoir = revoir;
        service_->refus = refus.toStdString();
        QTest::keyClicks(date_, saisie);
        quitter();
        QCOMPARE(service_->journal, journal);
        QCOMPARE(date_->text(), texte);
        const bool refusee = reste && !revoir;
        QCOMPARE(messages_, refusee ? QStringList{kMessage} : QStringList());
        if (!reste) {
            QCOMPARE(QApplication::focusWidget()->objectName(), "Txt_SousGroupe");
            return;
        }
        QCOMPARE(QApplication::focusWidget(), date_);
        if (revoir) {
            // Looked at again and accepted, the box can be left.
            service_->revoir = false;
            service_->refus.clear();
            quitter();
            QVERIFY(messages_.isEmpty());
        } else {
            quitter(); // each departure checks again
            QCOMPARE(messages_.size(), 2);
            QCOMPARE(QApplication::focusWidget(), date_);
            date_->clear(); // emptied, the box can be left
            quitter();
            QCOMPARE(messages_.size(), 2);
        }
        QVERIFY(QApplication::focusWidget() != date_);
    }

    // A click anywhere else in the window is a departure: the check runs
    // first, and a refused date keeps the click from doing anything.
    void clicApresRefus_data()
    {
        QTest::addColumn<QString>("cible");
        QTest::newRow("option") << "Opt_ToiletteHFaitPas";
        QTest::newRow("case") << "Cac_TransfertsS";
        QTest::newRow("bouton") << "Cmd_NouvelleEval";
        QTest::newRow("nom de variable") << "Etq_Alimentation2008";
        QTest::newRow("zone de texte") << "Txt_NomBenef";
    }
    void clicApresRefus()
    {
        QFETCH(QString, cible);
        const auto etat = [&] {
            QString s;
            for (QAbstractButton* b : c_->findChildren<QAbstractButton*>())
                s += b->isChecked() ? '1' : '0';
            return s + (enfant(*c_, "WB_Aide")->isVisible() ? '1' : '0');
        };
        qobject_cast<QRadioButton*>(enfant(*c_, "Opt_TransfertsFaitPas"))->click(); // its boxes enabled
        const QString avant = etat();
        refuser("31/02");
        cliquer(*c_, qPrintable(cible));
        QCOMPARE(messages_, QStringList{kMessage});
        QCOMPARE(QApplication::focusWidget(), date_);
        QCOMPARE(date_->text(), "31/02");
        QCOMPARE(etat(), avant);
        cliquer(*c_, "Txt_DateEval"); // a click in the box is no departure
        QCOMPARE(messages_.size(), 1);
        // Accepted, the click does its work.
        service_->refus.clear();
        cliquer(*c_, qPrintable(cible));
        QCOMPARE(messages_.size(), 1);
        QCOMPARE(QApplication::focusWidget()->objectName(), cible.startsWith("Etq") ? "Txt_DateEval" : cible);
        if (cible == "Cmd_NouvelleEval")
            QCOMPARE(date_->text(), "05/12/2026");
        else if (cible.startsWith("Txt"))
            QCOMPARE(etat(), avant);
        else
            QVERIFY(etat() != avant);
    }

    // The host's code moving the focus is a departure too; so is Shift+Tab.
    void autresDeparts()
    {
        refuser("99");
        enfant(*c_, "Txt_NomEnqueteur")->setFocus();
        QCOMPARE(messages_, QStringList{kMessage});
        QTRY_COMPARE(QApplication::focusWidget(), date_);
        QTest::keyClick(date_, Qt::Key_Backtab);
        QCOMPARE(messages_.size(), 2);
        QCOMPARE(QApplication::focusWidget(), date_);
        QCOMPARE(service_->journal.count("revoir"), 2);
    }

    // A failing service is reported and does not hold the user.
    void serviceEnPanne()
    {
        service_->panne = true;
        QTest::keyClicks(date_, "1");
        quitter();
        QCOMPARE(messages_.size(), 1);
        QVERIFY2(messages_[0].contains("service des dates indisponible"), qPrintable(messages_[0]));
        QVERIFY(QApplication::focusWidget() != date_);
    }
};

QTEST_MAIN(TestDateEval)
#include "tst_dateeval.moc"
