#include "register/tastieraelenco.h"

#include "register/elenconomi.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>

namespace brenzola {
namespace {

// The keys with which the list moves to another entry.
bool spostaNellaLista(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

}  // namespace

TastieraElenco::TastieraElenco(QWidget* finestra, QLineEdit* ricerca, ElencoNomi* lista, std::function<bool()> lascia)
    : QObject(finestra),
      ricerca_(ricerca),
      lista_(lista),
      lascia_(std::move(lascia))
{
    for (const QKeySequence& tasti : {QKeySequence(Qt::CTRL | Qt::Key_L), QKeySequence(Qt::Key_F3)})
        connect(new QShortcut(tasti, finestra), &QShortcut::activated, this, [this] {
            ricerca_->setFocus(Qt::ShortcutFocusReason);
            ricerca_->selectAll();
        });
    ricerca_->installEventFilter(this);
    lista_->installEventFilter(this);
    lista_->viewport()->installEventFilter(this);
}

bool TastieraElenco::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && watched == lista_->viewport()) return !lascia_();
    if (event->type() != QEvent::KeyPress) return false;
    const auto* tasto = static_cast<QKeyEvent*>(event);
    if (watched == lista_) return spostaNellaLista(tasto) && !lascia_();
    if (watched != ricerca_) return false;
    if (tasto->key() == Qt::Key_Down && lista_->count() > 0) {
        lista_->setFocus(Qt::TabFocusReason);
        if (lista_->selectedRow() < 0) lista_->setCurrentRow(0);
        return true;
    }
    if (tasto->key() == Qt::Key_Escape && !ricerca_->text().isEmpty()) {
        ricerca_->clear();
        return true;
    }
    return false;
}

}  // namespace brenzola
