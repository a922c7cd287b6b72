#include <pavonis/printing/Frm_ImpressionA4.h>

#include "BarreCompteur.h"
#include "ZoneCopies.h"
#include <pavonis/printing/Mod_Var.h>

#include <pavonis/platform/Twips.h>
#include <pavonis/printing/Printer.h>

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace pavonis::impression {

namespace {

const QString kMatricielle = QStringLiteral("MATRIC");
const QString kImprimanteParDefaut = QStringLiteral("Imprimante par défaut");
const QString kAucuneImprimante = QStringLiteral("Aucune imprimante disponible");

// Kept from one opening to the next, like the dialog's own variables.
thread_local qint16 IndexImprimanteDefaut = 0;

bool matricielle(const QString& nom)
{
    return nom.toUpper().contains(kMatricielle);
}

template <typename W> W* placer(W* w, const char* nom, int gauche, int haut, int largeur, int hauteur)
{
    w->setObjectName(QString::fromLatin1(nom));
    w->setGeometry(Twips::versPixels(gauche, haut, largeur, hauteur));
    return w;
}

QLabel* etiquette(QWidget* parent, const char* nom, const QString& texte, int gauche, int haut, int largeur,
                  int hauteur)
{
    auto* l = placer(new QLabel(texte, parent), nom, gauche, haut, largeur, hauteur);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

} // namespace

Frm_ImpressionA4::Frm_ImpressionA4(QWidget* parent) : QDialog(parent)
{
    construire();
    Form_Load();
}

Frm_ImpressionA4::~Frm_ImpressionA4() = default;

qint16 Frm_ImpressionA4::indexImprimanteDefaut()
{
    return IndexImprimanteDefaut;
}

void Frm_ImpressionA4::construire()
{
    setObjectName(QStringLiteral("Frm_ImpressionA4"));
    setWindowTitle(QStringLiteral("Imprimer"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // The sizes below were made for an 8-point sans-serif face.
    setFont(QFont(QStringLiteral("Arial"), 8));
    setFixedSize(Twips::versPixelsX(4725), Twips::versPixelsY(2490));

    Fra_Imprimante =
        placer(new QGroupBox(QStringLiteral("Imprimante"), this), "Fra_Imprimante", 120, 0, 4455, 1215);
    Etq_Nom = etiquette(Fra_Imprimante, "Etq_Nom", QStringLiteral("Nom :"), 120, 240, 495, 255);
    Cbo_Imprimante = placer(new QComboBox(Fra_Imprimante), "Cbo_Imprimante", 600, 240, 3615, 315);
    Cbo_Imprimante->setEditable(false);
    Cbo_ImpSelect = placer(new QComboBox(Fra_Imprimante), "Cbo_ImpSelect", 2640, 240, 855, 315);
    Cbo_ImpSelect->setVisible(false);
    Etq_Etat = etiquette(Fra_Imprimante, "Etq_Etat", QStringLiteral("Etat  :"), 120, 600, 495, 255);
    Etq_LibEtat = etiquette(Fra_Imprimante, "Etq_LibEtat", QString(), 720, 600, 3135, 255);
    Etq_Ou = etiquette(Fra_Imprimante, "Etq_Ou", QStringLiteral("Où    :"), 120, 840, 495, 255);
    Etq_LibOu = etiquette(Fra_Imprimante, "Etq_LibOu", QString(), 720, 840, 3135, 255);

    Fra_Copies = placer(new QGroupBox(QStringLiteral("Copies"), this), "Fra_Copies", 120, 1320, 4455, 615);
    Etq_NbCopies =
        etiquette(Fra_Copies, "Etq_NbCopies", QStringLiteral("Nombre de copies :"), 240, 240, 1455, 255);
    Txt_NbCopies = placer(new ZoneCopies(Fra_Copies), "Txt_NbCopies", 1800, 240, 855, 285);
    Txt_NbCopies->setText(QStringLiteral("1"));
    // The spinner sits over the right end of the box, as drawn; keep the
    // digits clear of it.
    Bdh_NbCopies = placer(new BarreCompteur(1, 99, Fra_Copies), "Bdh_NbCopies", 2390, 240, 255, 265);
    Bdh_NbCopies->raise();
    Txt_NbCopies->setTextMargins(0, 0, Txt_NbCopies->geometry().right() - Bdh_NbCopies->geometry().left(), 0);

    Cmd_Ok = placer(new QPushButton(QStringLiteral("Ok"), this), "Cmd_Ok", 2760, 2040, 855, 375);
    Cmd_Annuler =
        placer(new QPushButton(QStringLiteral("Annuler"), this), "Cmd_Annuler", 3720, 2040, 855, 375);
    for (QPushButton* b : {Cmd_Ok, Cmd_Annuler}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    // Tab order; frames, labels and the hidden list never take the focus.
    QWidget::setTabOrder(Cmd_Ok, Cbo_Imprimante);
    QWidget::setTabOrder(Cbo_Imprimante, Txt_NbCopies);
    QWidget::setTabOrder(Txt_NbCopies, Bdh_NbCopies);
    QWidget::setTabOrder(Bdh_NbCopies, Cmd_Annuler);
    QWidget::setTabOrder(Cmd_Annuler, Cbo_ImpSelect);
    Cmd_Ok->setFocus();

    connect(Cbo_Imprimante, &QComboBox::currentIndexChanged, this, [this] { Cbo_Imprimante_Click(); });
    connect(Bdh_NbCopies, &QScrollBar::valueChanged, this, &Frm_ImpressionA4::Bdh_NbCopies_Change);
    connect(Cmd_Ok, &QPushButton::clicked, this, &Frm_ImpressionA4::Cmd_Ok_Click);
    connect(Cmd_Annuler, &QPushButton::clicked, this, &Frm_ImpressionA4::Cmd_Annuler_Click);
}

void Frm_ImpressionA4::Form_Load()
{
    Mod_Var& mv = Mod_Var::courant();
    impression::Printer& courante = impression::Printer::courante();
    if (courante.documentEnCours())
        courante.abandonner();
    FermetureAutorisee = false;
    mv.ImpressionAnnulee = false;
    ChargementTermine = false;

    // At the first opening on this thread the current printer is still the
    // system's default printer.
    if (!mv.ImprimanteDefautLue) {
        const QString nom = courante.DeviceName();
        if (!nom.isEmpty() && !matricielle(nom)) {
            mv.NomImprimanteDefaut = nom;
            mv.ImprimanteDefautConnue = true;
        }
        mv.ImprimanteDefautLue = true;
    }

    printers_ = impression::Printers();
    bool defautListe = false;
    {
        const QSignalBlocker bloque(Cbo_Imprimante);
        qint16 n = 0;
        for (int i = 0; i < printers_.Count(); ++i) {
            courante.remplacer(printers_.item(i));
            const QString nom = courante.DeviceName();
            if (matricielle(nom))
                continue;
            if (!mv.ImprimanteDefautConnue) {
                mv.NomImprimanteDefaut = nom;
                mv.ImprimanteDefautConnue = true;
            }
            Cbo_Imprimante->addItem(nom);
            Cbo_ImpSelect->addItem(QString::number(i));
            if (nom == mv.NomImprimanteDefaut) {
                IndexImprimanteDefaut = n;
                defautListe = true;
            }
            ++n;
        }
        if (!defautListe)
            IndexImprimanteDefaut = -1;
        Cbo_Imprimante->setCurrentIndex(Cbo_Imprimante->count() > 0 ? qMax<int>(IndexImprimanteDefaut, 0)
                                                                    : -1);
    }
    Cbo_Imprimante_Click();
    Cmd_Ok->setEnabled(Cbo_Imprimante->count() > 0);
    ChargementTermine = true;
}

int Frm_ImpressionA4::positionChoisie() const
{
    const int i = Cbo_Imprimante->currentIndex();
    if (i < 0 || i >= Cbo_ImpSelect->count())
        return -1;
    return Cbo_ImpSelect->itemText(i).toInt();
}

void Frm_ImpressionA4::Cbo_Imprimante_Click()
{
    const int k = positionChoisie();
    if (k < 0) {
        Etq_LibOu->clear();
        Etq_LibOu->setToolTip(QString());
        Etq_LibEtat->setText(Cbo_Imprimante->count() == 0 ? kAucuneImprimante : QString());
        return;
    }
    const QString port = printers_.item(k).Port;
    Etq_LibOu->setText(port);
    Etq_LibOu->setToolTip(port);
    Etq_LibEtat->setText(Cbo_Imprimante->currentIndex() == IndexImprimanteDefaut ? kImprimanteParDefaut
                                                                                 : QString());
    if (ChargementTermine)
        Cmd_Ok->setFocus();
}

void Frm_ImpressionA4::Bdh_NbCopies_Change(int valeur)
{
    Txt_NbCopies->setText(QString::number(valeur));
}

void Frm_ImpressionA4::Cmd_Ok_Click()
{
    const int k = positionChoisie();
    if (k < 0)
        return;
    impression::Printer& courante = impression::Printer::courante();
    courante.remplacer(printers_.item(k));
    Mod_Var::courant().NbCopiesImpression = qint16(qMax(1, Txt_NbCopies->text().toInt()));
    FermetureAutorisee = true;
    accept();
}

void Frm_ImpressionA4::Cmd_Annuler_Click()
{
    Mod_Var::courant().ImpressionAnnulee = true;
    FermetureAutorisee = true;
    reject();
}

void Frm_ImpressionA4::done(int resultat)
{
    if (FermetureAutorisee)
        QDialog::done(resultat);
}

void Frm_ImpressionA4::closeEvent(QCloseEvent* e)
{
    if (FermetureAutorisee)
        QDialog::closeEvent(e);
    else
        e->ignore();
}

void Frm_ImpressionA4::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* bouton = qobject_cast<QPushButton*>(focusWidget()); bouton && bouton->isEnabled())
            bouton->click();
        e->accept();
        return;
    case Qt::Key_Escape:
        e->accept();
        return;
    default:
        QDialog::keyPressEvent(e);
    }
}

} // namespace pavonis::impression
