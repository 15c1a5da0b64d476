#pragma once

#include "store/italiantext.h"

#include <QString>

#include <string>
#include <string_view>

namespace brenzola {

// What the text of the quick search looks for, the way users look for a person: a word is
// part of a surname; words with a space part of "Cognome Nome" or "Nome Cognome"; digits
// (spaces, slashes, dots, dashes, brackets and a +39 aside) part of a telephone or mobile
// number; a text with "@" part of an e-mail address. `%` and `_` work as in a like.
class RicercaRapida {
public:
    enum class Tipo { Cognome, NomeCompleto, Telefono, Email };

    explicit RicercaRapida(const QString& testo);

    Tipo tipo() const { return tipo_; }
    // What is looked for: the text as typed, or for a number its digits alone.
    const QString& cercato() const { return cercato_; }
    const LikePattern& pattern() const { return pattern_; }
    // The text lowered as the store compares it.
    const std::u16string& minuscolo() const { return minuscolo_; }
    // Neither `%` nor `_`: a plain part of the text to find.
    bool semplice() const { return semplice_; }

    // The same search for the store, in its dialect: " where ... ".
    QString filtro() const;
    // Whether everything this finds is among what `prima` found: typing on narrows.
    bool restringe(const RicercaRapida& prima) const;

    // Appends what a number in UTF-8 looks like to the search: without the separators below.
    static void aggiungiCifre(std::string_view numero, std::string& utf8);
    // What people write between the digits of a number.
    static constexpr char16_t kSeparatori[] = u" /.-()+";
    static bool separatore(QChar c)
    {
        for (char16_t s : std::u16string_view(kSeparatori))
            if (c.unicode() == s) return true;
        return false;
    }

private:
    Tipo tipo_;
    QString cercato_;
    LikePattern pattern_;
    std::u16string minuscolo_;
    bool semplice_;
};

}  // namespace brenzola
