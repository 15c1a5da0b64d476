#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <QVersionNumber>

#include <functional>

class QFrame;
class QLabel;
class QTimer;

namespace brenzola {

class Dialogs;
class FormTransparancy;

// The start-up window: product name and version, fading in, staying a moment, fading
// out; when it closes it opens the main window and waits for it.
class frmSplash : public QDialog {
    Q_OBJECT

public:
    // `apriFinestraPrincipale` shows the main window modally and returns when it closes.
    frmSplash(std::function<void()> apriFinestraPrincipale, Dialogs& dialogs,
              const QVersionNumber& versione = QVersionNumber::fromString(QCoreApplication::applicationVersion()));

    // Fills the labels and shows the window modally; returns once it has closed.
    void Form_Load();
    void Timer_Timer();
    // Runs whenever the window is about to close, whatever the reason.
    void Form_QueryUnload();

    static QString TestoVersione(const QVersionNumber& versione);

    void done(int result) override;

    FormTransparancy* FormTransparancy1;
    QTimer* Timer;

protected:
    // A click or a key skips the rest of the splash.
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::function<void()> apriFinestraPrincipale_;
    Dialogs& dialogs_;
    QVersionNumber versione_;
    bool finestraPrincipaleAperta_ = false;
    QFrame* Frame1;
    QLabel* lblCompanyProduct;
    QLabel* lblProductName;
    QLabel* lblVersion;
    QLabel* imgLogo;
};

}  // namespace brenzola
