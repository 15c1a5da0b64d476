#pragma once

#include <QObject>

#include <functional>

class QLineEdit;

namespace brenzola {

class ElencoNomi;

// The keyboard around the contact list: Ctrl+L or F3 goes to the quick search from
// anywhere in the window; there Down goes into the list and Esc empties the box. A key or
// a click that would move the list first asks the window's guard about unsaved edits, so
// that a cancelled move never happens (and is never asked about twice).
class TastieraElenco : public QObject {
    Q_OBJECT

public:
    // `lascia` is the window's guard (false: stay).
    TastieraElenco(QWidget* finestra, QLineEdit* ricerca, ElencoNomi* lista, std::function<bool()> lascia);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* ricerca_;
    ElencoNomi* lista_;
    std::function<bool()> lascia_;
};

}  // namespace brenzola
