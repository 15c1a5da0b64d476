#include "presentation/frmsplash.h"

#include "presentation/formtransparancy.h"
#include "widgets/dialogs.h"
#include "widgets/immagini.h"
#include "widgets/twips.h"

#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

namespace brenzola {

namespace {

constexpr int kMargine = 360;  // twips

QFont arialBold(qreal points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

}  // namespace

frmSplash::frmSplash(std::function<void()> apriFinestraPrincipale, Dialogs& dialogs, const QVersionNumber& versione)
    : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint),
      apriFinestraPrincipale_(std::move(apriFinestraPrincipale)),
      dialogs_(dialogs),
      versione_(versione)
{
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(twips(this, 7080), twips(this, 3570));

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    placeInTwips(Frame1, 0, 0, 7080, 3570);

    lblCompanyProduct = new QLabel(QStringLiteral("Studio Brenzola"), Frame1);
    lblCompanyProduct->setObjectName(QStringLiteral("lblCompanyProduct"));
    lblCompanyProduct->setFont(arialBold(18));
    placeInTwips(lblCompanyProduct, 2040, 960, 3030, 435);
    lblCompanyProduct->adjustSize();

    lblProductName = new QLabel(tr("Prodotto"), Frame1);
    lblProductName->setObjectName(QStringLiteral("lblProductName"));
    lblProductName->setFont(arialBold(32.25));
    placeInTwips(lblProductName, 2040, 1440, 2430, 765);

    lblVersion = new QLabel(tr("Versione"), Frame1);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setFont(arialBold(12));
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placeInTwips(lblVersion, 5400, 1800, 885, 285);

    imgLogo = new QLabel(Frame1);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setAlignment(Qt::AlignCenter);
    placeInTwips(imgLogo, 1080, 1680, 495, 465);
    imgLogo->setPixmap(Immagini::logo(imgLogo->size(), devicePixelRatioF()));  // drawn at its size, not stretched

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(2500);
    connect(Timer, &QTimer::timeout, this, &frmSplash::Timer_Timer);

    FormTransparancy1 = new FormTransparancy(this);
    FormTransparancy1->ReadProperties({{QStringLiteral("TransparencyDirection"), 2}});
    Timer->start();
}

QString frmSplash::TestoVersione(const QVersionNumber& versione)
{
    return tr("Versione %1.%2.%3").arg(versione.majorVersion()).arg(versione.minorVersion()).arg(versione.microVersion());
}

// Labels that size themselves to their text.
static void adattaAlTesto(QLabel* label, const QString& text)
{
    label->setText(text);
    label->adjustSize();
}

void frmSplash::Form_Load()
{
    adattaAlTesto(lblVersion, TestoVersione(versione_));
    // Grown to its text, the version keeps a margin from the splash's edge.
    const int limite = Frame1->width() - twips(this, kMargine);
    if (lblVersion->geometry().right() >= limite) lblVersion->move(limite - lblVersion->width(), lblVersion->y());
    adattaAlTesto(lblProductName, QString::fromLatin1(kTitoloApplicazione));
    dialogs_.ShowModal(*this);
}

void frmSplash::Timer_Timer()
{
    if (FormTransparancy1->TransparencyLevel() > 0) FormTransparancy1->setTransparencyDirection(-2);
}

void frmSplash::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    accept();
}

void frmSplash::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    accept();
}

void frmSplash::done(int result)
{
    Form_QueryUnload();
    QDialog::done(result);
}

void frmSplash::Form_QueryUnload()
{
    // A close before the fade-out has ended (the system close, Esc) comes here too:
    // the main window opens once, and the fade that would close us again is stopped.
    if (finestraPrincipaleAperta_) return;
    finestraPrincipaleAperta_ = true;
    FormTransparancy1->setTransparencyDirection(0);
    Timer->stop();
    hide();
    apriFinestraPrincipale_();
}

}  // namespace brenzola
