#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

// The names invented contacts are made of, the same for the same numbers everywhere.
namespace brenzola::demo {

// splitmix64's mixing: a number that looks unrelated to `x`, the same on every platform.
quint64 mescola(quint64 x);

// splitmix64: the same numbers on every platform and compiler, unlike <random>'s distributions.
class Sequenza {
public:
    explicit Sequenza(quint64 seed) : state_(seed) {}
    quint64 next()
    {
        const quint64 x = state_;
        state_ += 0x9E3779B97F4A7C15ULL;
        return mescola(x);
    }
    int below(int n) { return int(next() % quint64(n)); }
    bool chance(int percent) { return below(100) < percent; }

private:
    quint64 state_;
};

// A name as stored, and as it goes into an e-mail address: lower case, without spaces
// and apostrophes.
struct Voce {
    QString testo;
    QString email;
};
Voce voce(const QString& testo);

// Ranks 0 to n-1, rank r drawn about as often as 1/(r+1): a few very common, a long tail.
class RangoZipf {
public:
    explicit RangoZipf(int ranghi);
    int estrai(Sequenza& seq) const;

private:
    std::vector<quint64> cumulati_;  // integers, so that every platform draws the same
};

// An Italian-looking surname for each number, no two alike even ignoring case and
// accents; some with a particle (De, Di, Lo, La, de, D', Dell') or an accented letter.
QString CognomeInventato(quint64 numero);

// The demo's 60 surnames and 50 first names.
const std::vector<Voce>& CognomiDemo();
const std::vector<Voce>& NomiDemo();

// Surnames drawn as a real register has them: the demo's first, then foreign ones and
// invented ones (a few of them double), 200,000 in all, each made on first use.
class CognomiRealistici {
public:
    static constexpr int kRanghi = 200000;
    CognomiRealistici();
    const Voce& estrai(Sequenza& seq);

private:
    RangoZipf ranghi_;
    std::vector<Voce> fatti_;
};

// First names drawn as often as in a real register: a few hundred real ones first, then
// double names and variants, a few thousand in all.
class NomiRealistici {
public:
    NomiRealistici();
    const Voce& estrai(Sequenza& seq) { return nomi_[size_t(ranghi_.estrai(seq))]; }
    int quanti() const { return int(nomi_.size()); }

private:
    std::vector<Voce> nomi_;
    RangoZipf ranghi_;
};

}  // namespace brenzola::demo
