#pragma once

#include <pavonis/printing/Printers.h>

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace pavonis::impression {

class BarreCompteur;
class ZoneCopies;

// The print dialog: a printer (dot-matrix printers are never offered) and a
// number of copies, or Annuler. It answers through Mod_Var and by making the
// chosen printer the current printer. Constructing it loads it; it closes
// only through Ok and Annuler.
//
// Choices of ours where the screen's rules say nothing:
// - no eligible printer: the list stays empty, the status reads "Aucune
//   imprimante disponible" and Ok is disabled; Annuler works as usual;
// - the remembered default printer is not in the list any more (the set of
//   printers changed since the last opening): the first entry is selected
//   and no entry is labelled as the default, rather than labelling whichever
//   printer now sits at the remembered position;
// - a system without a default printer: the first eligible printer becomes
//   the default, as when the system default is a dot-matrix printer;
// - Ok with an empty copies box or 0 (left by deleting the first digit of
//   10): one copy, the smallest count that prints anything;
// - Enter clicks the button that has the focus, as a command button does;
//   elsewhere neither Enter nor Escape does anything.
class Frm_ImpressionA4 : public QDialog {
    Q_OBJECT

public:
    explicit Frm_ImpressionA4(QWidget* parent = nullptr);
    ~Frm_ImpressionA4() override;

    bool chargementTermine() const { return ChargementTermine; }
    // Position of the default printer in the visible list, kept from one
    // opening to the next on this UI thread; -1 when it is not listed.
    static qint16 indexImprimanteDefaut();

    // Closing is refused unless Ok or Annuler asked for it.
    void done(int resultat) override;

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void construire();
    void Form_Load();
    void Cbo_Imprimante_Click();
    void Bdh_NbCopies_Change(int valeur);
    void Cmd_Ok_Click();
    void Cmd_Annuler_Click();
    // Position in the printer collection of the selected entry; -1 if none.
    int positionChoisie() const;

    QGroupBox* Fra_Imprimante = nullptr;
    QLabel* Etq_Nom = nullptr;
    QComboBox* Cbo_Imprimante = nullptr;
    QComboBox* Cbo_ImpSelect = nullptr;
    QLabel* Etq_Etat = nullptr;
    QLabel* Etq_LibEtat = nullptr;
    QLabel* Etq_Ou = nullptr;
    QLabel* Etq_LibOu = nullptr;
    QGroupBox* Fra_Copies = nullptr;
    QLabel* Etq_NbCopies = nullptr;
    ZoneCopies* Txt_NbCopies = nullptr;
    BarreCompteur* Bdh_NbCopies = nullptr;
    QPushButton* Cmd_Ok = nullptr;
    QPushButton* Cmd_Annuler = nullptr;

    impression::Printers printers_{QList<impression::ImprimanteInstallee>{}};
    bool FermetureAutorisee = false;
    bool ChargementTermine = false;
};

} // namespace pavonis::impression
