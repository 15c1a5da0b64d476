#pragma once

#include <QIcon>
#include <QPixmap>

namespace brenzola::Immagini {

// The program's own pictures, drawn at run time so that none comes from elsewhere.
QIcon logo();
// The logo drawn at the size it is shown.
QPixmap logo(QSize size, qreal devicePixelRatio);
QIcon cerca();
QIcon stampa();
QIcon elimina();
QIcon nuovo();
QIcon salva();
QIcon esci();
// A calendar page: whom to call, and when.
QIcon agenda();
// Contacts coming into the register, going out of it, and two that are one.
QIcon importa();
QIcon esporta();
QIcon doppioni();
// A clock turning back: what was done, and taking it back.
QIcon cronologia();
// Two arrows going round: the register and a server brought in step.
QIcon sincronizza();
// The toolbar's image list, by image number (counting from 1): 1 forward, 2 back,
// 8 advanced search, 12 show all, 19 exit. Other numbers give no picture.
QIcon ImageList1(int numero);

}  // namespace brenzola::Immagini
