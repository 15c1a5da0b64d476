#pragma once

class QWidget;

namespace brenzola::tRASPARENZA {

// Gives a top-level window a whole-window alpha from 0 (transparent) to 255 (opaque).
// Returns 0 when applied, 1 when the level is outside 0..255 (nothing done), 2 when the
// window is missing or the platform cannot make a window translucent (Wayland, and the
// platforms that draw no window system of their own): there the window is simply shown.
int ImpostaTrasparenza(QWidget* finestra, int livello);

// The alpha last given to the window through ImpostaTrasparenza, whether or not the
// platform can show it; 255 for a window never given one.
int AlphaApplicato(const QWidget* finestra);

}  // namespace brenzola::tRASPARENZA
