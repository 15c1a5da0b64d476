#include "exchange/valori.h"

#include "store/connection.h"
#include "store/identita.h"
#include "store/storeddate.h"

#include <QLocale>

namespace brenzola {
namespace {

// A floating-point number a file store holds in a date column comes as the engine writes
// it (1.0e+20), which a Recordset hands on as Qt writes it (1e+20).
bool reale(QStringView testo, QString& comeQt)
{
    if (!testo.contains(u'.') && !testo.contains(u'e') && !testo.contains(u'E')) return false;
    bool ok = false;
    const double numero = testo.toDouble(&ok);
    if (ok) comeQt = QString::number(numero, 'g', QLocale::FloatingPointShortest);
    return ok;
}

char* cifre(char* out, int valore, int quante)
{
    for (int i = quante - 1; i >= 0; --i, valore /= 10) out[i] = char('0' + valore % 10);
    return out + quante;
}

}  // namespace

Contatto Valori::contatto() const
{
    Contatto c;
    c.id = id;
    c.uid = uid.toString();
    for (const DescrizioneCampo& d : brenzola::campi()) {
        const Valore& v = (*this)[d.campo];
        if (v.tipo == Valore::Tipo::Testo) c[d.campo] = v.testo.toString();
        if (v.tipo == Valore::Tipo::Data) c[d.campo] = v.data;
    }
    return c;
}

VistaContatto::VistaContatto(const Contatto& contatto)
{
    valori_.id = contatto.id;
    valori_.uid = contatto.uid;
    for (const DescrizioneCampo& d : campi()) {
        const QVariant& valore = contatto[d.campo];
        Valore& v = valori_.campi[size_t(d.campo)];
        if (valore.isNull()) continue;
        if (d.data && valore.typeId() == QMetaType::QDate) {
            v.tipo = Valore::Tipo::Data;
            v.data = valore.toDate();
            continue;
        }
        QString& testo = testi_[size_t(d.campo)];
        testo = valore.toString();
        v.tipo = Valore::Tipo::Testo;
        v.testo = testo;
    }
}

RigheContatti::RigheContatti(Connection& connection, bool uid)
    : conUid_(HaIdentita(connection)),
      uid_(uid),
      identita_(connection.identity())
{
    const TableSchema& schema = connection.schema(QStringLiteral("Anagrafica"));
    for (const DescrizioneCampo& d : campi()) data_[size_t(d.campo)] = d.data && schema.isDate(QLatin1String(d.colonna));
}

QString RigheContatti::colonne() const
{
    QString tutte = QStringLiteral("id");
    for (const DescrizioneCampo& d : campi()) tutte += QStringLiteral(", ") + QLatin1String(d.colonna);
    return conUid_ ? tutte + QStringLiteral(", Uid") : tutte;
}

const Valori& RigheContatti::leggi(const RowView& riga)
{
    valori_.id = riga.integer(0);
    for (int i = 0; i < kNumeroCampi; ++i) {
        Valore& v = valori_.campi[size_t(i)];
        const int colonna = i + 1;
        if (riga.isNull(colonna)) {
            v = {};
            continue;
        }
        v.testo = riga.text(colonna);
        v.tipo = Valore::Tipo::Testo;
        if (data_[size_t(i)]) {
            // Anything but a date is handed on as stored, as a Recordset does.
            v.data = dateFromStoredText(v.testo);
            if (v.data.isValid())
                v.tipo = Valore::Tipo::Data;
            else if (QString& numero = reali_[size_t(i)]; reale(v.testo, numero))
                v.testo = numero;
        }
    }
    const int colonnaUid = kNumeroCampi + 1;
    valori_.uid = conUid_ && !riga.isNull(colonnaUid) ? riga.text(colonnaUid) : QStringView();
    if (uid_ && valori_.uid.isEmpty()) {
        uidFatto_ = UidContatto(identita_, valori_.id, QVariant());
        valori_.uid = uidFatto_;
    }
    return valori_;
}

void aggiungiData(QByteArray& out, QDate data, FormaData forma)
{
    if (!data.isValid() || data.year() < 1 || data.year() > 9999) {
        QString testo = forma == FormaData::GiornoPrima ? dayFirstDateText(data) : storedDateText(data);
        if (forma == FormaData::Compatta) testo.remove(u'-');
        if (forma == FormaData::MeseGiorno) testo = testo.mid(5).remove(u'-');
        out += testo.toUtf8();
        return;
    }
    int anno = 0, mese = 0, giorno = 0;
    data.getDate(&anno, &mese, &giorno);
    const qsizetype inizio = out.size();
    out.resize(inizio + 10);
    char* p = out.data() + inizio;
    switch (forma) {
    case FormaData::Iso:
        p = cifre(p, anno, 4);
        *p++ = '-';
        p = cifre(p, mese, 2);
        *p++ = '-';
        p = cifre(p, giorno, 2);
        break;
    case FormaData::GiornoPrima:
        p = cifre(p, giorno, 2);
        *p++ = '/';
        p = cifre(p, mese, 2);
        *p++ = '/';
        p = cifre(p, anno, 4);
        break;
    case FormaData::Compatta:
        p = cifre(p, anno, 4);
        p = cifre(p, mese, 2);
        p = cifre(p, giorno, 2);
        break;
    case FormaData::MeseGiorno:
        p = cifre(p, mese, 2);
        p = cifre(p, giorno, 2);
        break;
    }
    out.resize(p - out.constData());
}

}  // namespace brenzola
