#pragma once

class QWidget;

namespace brenzola::tRASPARENZA {

// Gives a top-level window a whole-window alpha from 0 (transparent) to 255 (opaque).
// Returns 0 when applied, 1 when the level is outside 0..255 (nothing done), 2 when the
// platform cannot make the window translucent or the window is missing (the level is
// still recorded, so a later platform change shows it).
int ImpostaTrasparenza(QWidget* finestra, int livello);

}  // namespace brenzola::tRASPARENZA
