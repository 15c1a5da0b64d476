<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="it_IT">
<context>
    <name>brenzola::AccessConversion</name>
    <message>
        <source>Impossibile leggere il file «%1»</source>
        <translation>Cannot read the file “%1”</translation>
    </message>
    <message>
        <source>Impossibile scrivere nella cartella «%1»</source>
        <translation>Cannot write in the folder “%1”</translation>
    </message>
    <message>
        <source>Impossibile copiare il file originale in «%1»</source>
        <translation>Cannot copy the original file to “%1”</translation>
    </message>
    <message>
        <source>Impossibile conservare il file originale come «%1»</source>
        <translation>Cannot keep the original file as “%1”</translation>
    </message>
    <message>
        <source>Tutti i nomi per la copia del file originale accanto a «%1» sono già in uso.</source>
        <translation>All the names for the copy of the original file next to “%1” are already taken.</translation>
    </message>
    <message>
        <source>Scrittura del nuovo archivio non riuscita</source>
        <translation>Writing the new store failed</translation>
    </message>
    <message>
        <source> (disco pieno o non scrivibile?)</source>
        <translation> (disk full or not writable?)</translation>
    </message>
    <message>
        <source> (il file Access ha una chiave ripetuta?)</source>
        <translation> (does the Access file have a repeated key?)</translation>
    </message>
    <message>
        <source>Impossibile creare una cartella temporanea: %1.</source>
        <translation>Cannot create a temporary folder: %1.</translation>
    </message>
    <message>
        <source>L&apos;archivio nuovo non ha la tabella %1.</source>
        <translation>The new store has no table %1.</translation>
    </message>
    <message>
        <source>%1 (nome ripetuto)</source>
        <translation>%1 (repeated name)</translation>
    </message>
    <message>
        <source>Il file «%1» non esiste.</source>
        <translation>The file “%1” does not exist.</translation>
    </message>
    <message>
        <source>Il file «%1» è già un archivio di Brenzola, non un file Access.</source>
        <translation>The file “%1” is already a Brenzola store, not an Access file.</translation>
    </message>
    <message>
        <source>Il file «%1» è un database di Access 2007 o successivo (formato ACE), che Brenzola non sa convertire: salvarlo da Access nel formato Access 2000-2003 (.mdb) e riprovare.</source>
        <translation>The file “%1” is an Access 2007 or later database (ACE format), which Brenzola cannot convert: save it from Access in Access 2000-2003 format (.mdb) and try again.</translation>
    </message>
    <message>
        <source>Il file «%1» non è un database di Access: formato non riconosciuto.</source>
        <translation>The file “%1” is not an Access database: unknown format.</translation>
    </message>
    <message>
        <source>Il file Access «%1» è troncato: %2. Recuperare una copia intera del file.</source>
        <translation>The Access file “%1” is truncated: %2. Get a complete copy of the file.</translation>
    </message>
    <message>
        <source>è troppo corto per contenere un database</source>
        <translation>it is too short to hold a database</translation>
    </message>
    <message>
        <source>termina a metà di una pagina</source>
        <translation>it ends in the middle of a page</translation>
    </message>
    <message>
        <source>Record %1 del file Access, colonna %2: %3.</source>
        <translation>Record %1 of the Access file, column %2: %3.</translation>
    </message>
    <message>
        <source>la chiave è vuota (Null)</source>
        <translation>the key is empty (Null)</translation>
    </message>
    <message>
        <source>«%1» non è un numero</source>
        <translation>“%1” is not a number</translation>
    </message>
    <message>
        <source>il testo contiene il carattere non valido U+%1, che l&apos;archivio non può conservare; correggerlo in Access e ripetere la conversione</source>
        <translation>the text contains the invalid character U+%1, which the store cannot keep; correct it in Access and convert again</translation>
    </message>
    <message>
        <source>tipo di dato non convertibile</source>
        <translation>data type that cannot be converted</translation>
    </message>
    <message>
        <source>Verifica del nuovo archivio non riuscita: %1.</source>
        <translation>Checking the new store failed: %1.</translation>
    </message>
    <message>
        <source>contiene %1 record invece di %2</source>
        <translation>it holds %1 records instead of %2</translation>
    </message>
    <message>
        <source>i valori letti di nuovo non sono quelli scritti</source>
        <translation>the values read back are not those written</translation>
    </message>
    <message>
        <source>la numerazione dei nuovi contatti non riparte da %1</source>
        <translation>numbering of new contacts does not restart from %1</translation>
    </message>
    <message>
        <source>%1: non è un file.</source>
        <translation>%1: not a file.</translation>
    </message>
    <message>
        <source>Jet 3, Access 97</source>
        <translation>Jet 3, Access 97</translation>
    </message>
    <message>
        <source>Jet 4, Access 2000-2003</source>
        <translation>Jet 4, Access 2000-2003</translation>
    </message>
    <message>
        <source>Il file Access «%1» ha colonne che l&apos;archivio non può accogliere: %2. Non è possibile convertirlo.</source>
        <translation>The Access file “%1” has columns the store cannot take: %2. It cannot be converted.</translation>
    </message>
    <message>
        <source>Colonne del file Access che l&apos;archivio di Brenzola non conosce: %1. I loro dati NON saranno convertiti (resteranno solo nel file originale).</source>
        <translation>Columns of the Access file that the Brenzola store does not know: %1. Their data will NOT be converted (it stays only in the original file).</translation>
    </message>
    <message>
        <source>Colonne dell&apos;archivio di Brenzola assenti nel file Access: %1. Nei contatti convertiti resteranno vuote%2.</source>
        <translation>Columns of the Brenzola store missing from the Access file: %1. They will be empty in the converted contacts%2.</translation>
    </message>
    <message>
        <source>, e i contatti saranno numerati da 1 nell&apos;ordine del file</source>
        <translation>, and the contacts will be numbered from 1 in the file&apos;s order</translation>
    </message>
    <message>
        <source>%1 non è una data valida</source>
        <translation>%1 is not a valid date</translation>
    </message>
    <message>
        <source>Il file «%1» esiste già: la conversione non lo sovrascrive.</source>
        <translation>The file “%1” already exists: the conversion does not overwrite it.</translation>
    </message>
    <message>
        <source>Le colonne del file Access «%1» non corrispondono a quelle dell&apos;archivio; la conversione richiede il consenso.

%2</source>
        <translation>The columns of the Access file “%1” do not match those of the store; the conversion needs your consent.

%2</translation>
    </message>
    <message>
        <source>Impossibile dare al nuovo archivio i permessi del file Access</source>
        <translation>Cannot give the new store the permissions of the Access file</translation>
    </message>
    <message>
        <source>Il file Access «%1» è stato modificato durante la conversione: ripeterla.</source>
        <translation>The Access file “%1” was changed during the conversion: convert it again.</translation>
    </message>
    <message>
        <source>Impossibile mettere il nuovo archivio al posto di «%1»</source>
        <translation>Cannot put the new store in place of “%1”</translation>
    </message>
    <message>
        <source> (e la copia «%1» non si è potuta togliere)</source>
        <translation> (and the copy “%1” could not be removed)</translation>
    </message>
    <message>
        <source>Impossibile creare «%1»</source>
        <translation>Cannot create “%1”</translation>
    </message>
</context>
<context>
    <name>brenzola::AccessDialect</name>
    <message>
        <source>Errore di sintassi nell&apos;istruzione: %1.</source>
        <translation>Syntax error in the statement: %1.</translation>
    </message>
    <message>
        <source>data non valida #%1#</source>
        <translation>invalid date #%1#</translation>
    </message>
    <message>
        <source>testo non chiuso</source>
        <translation>unclosed text</translation>
    </message>
    <message>
        <source>data non chiusa</source>
        <translation>unclosed date</translation>
    </message>
    <message>
        <source>nome non chiuso</source>
        <translation>unclosed name</translation>
    </message>
    <message>
        <source>parentesi chiusa in eccesso</source>
        <translation>extra closing parenthesis</translation>
    </message>
    <message>
        <source>parentesi non chiusa</source>
        <translation>unclosed parenthesis</translation>
    </message>
    <message>
        <source>&amp; senza secondo operando</source>
        <translation>&amp; without a second operand</translation>
    </message>
    <message>
        <source>&amp; senza operando</source>
        <translation>&amp; without an operand</translation>
    </message>
    <message>
        <source>&amp; senza primo operando</source>
        <translation>&amp; without a first operand</translation>
    </message>
</context>
<context>
    <name>brenzola::AccessReader</name>
    <message>
        <source>Sì/No</source>
        <translation>Yes/No</translation>
    </message>
    <message>
        <source>Byte</source>
        <translation>Byte</translation>
    </message>
    <message>
        <source>Intero</source>
        <translation>Integer</translation>
    </message>
    <message>
        <source>Intero lungo</source>
        <translation>Long Integer</translation>
    </message>
    <message>
        <source>Valuta</source>
        <translation>Currency</translation>
    </message>
    <message>
        <source>Precisione singola</source>
        <translation>Single</translation>
    </message>
    <message>
        <source>Precisione doppia</source>
        <translation>Double</translation>
    </message>
    <message>
        <source>Data/ora</source>
        <translation>Date/Time</translation>
    </message>
    <message>
        <source>Binario</source>
        <translation>Binary</translation>
    </message>
    <message>
        <source>Testo</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Oggetto OLE</source>
        <translation>OLE Object</translation>
    </message>
    <message>
        <source>Memo</source>
        <translation>Memo</translation>
    </message>
    <message>
        <source>ID replica</source>
        <translation>Replication ID</translation>
    </message>
    <message>
        <source>Decimale</source>
        <translation>Decimal</translation>
    </message>
    <message>
        <source>tipo %1</source>
        <translation>type %1</translation>
    </message>
    <message>
        <source>Il file Access «%1» non si può leggere: %2. Il file è probabilmente danneggiato: provare a ripararlo con «Compatta e ripristina database» di Access.</source>
        <translation>The Access file “%1” cannot be read: %2. The file is probably damaged: try repairing it with Access&apos;s “Compact and Repair Database”.</translation>
    </message>
    <message>
        <source> Dettagli tecnici in «%1».</source>
        <translation> Technical details in “%1”.</translation>
    </message>
    <message>
        <source>record %1</source>
        <translation>record %1</translation>
    </message>
    <message>
        <source>record %1, colonna %2</source>
        <translation>record %1, column %2</translation>
    </message>
    <message>
        <source>la libreria di lettura non riesce ad aprirlo</source>
        <translation>the reading library cannot open it</translation>
    </message>
    <message>
        <source>La conversione dei caratteri del file Access «%1» non è disponibile.</source>
        <translation>Character conversion for the Access file “%1” is not available.</translation>
    </message>
    <message>
        <source>il suo elenco delle tabelle è illeggibile</source>
        <translation>its list of tables is unreadable</translation>
    </message>
    <message>
        <source>Il file Access «%1» non contiene la tabella %2.</source>
        <translation>The Access file “%1” does not contain the table %2.</translation>
    </message>
    <message>
        <source>Nel file Access «%1» la tabella %2 è collegata a un altro file, che contiene i dati: convertire quel file.</source>
        <translation>In the Access file “%1” the table %2 is linked to another file, which holds the data: convert that file.</translation>
    </message>
    <message>
        <source>la definizione della tabella %1 è illeggibile</source>
        <translation>the definition of table %1 is unreadable</translation>
    </message>
    <message>
        <source>il %1 della tabella %2 è illeggibile</source>
        <translation>the %1 of table %2 is unreadable</translation>
    </message>
    <message>
        <source>la lettura dei record ha trovato dati danneggiati</source>
        <translation>reading the records found damaged data</translation>
    </message>
    <message>
        <source>errore di lettura sconosciuto</source>
        <translation>unknown read error</translation>
    </message>
    <message>
        <source>Impossibile avviare la lettura del file Access</source>
        <translation>Cannot start reading the Access file</translation>
    </message>
    <message>
        <source>il processo di lettura ha risposto in modo non valido</source>
        <translation>the reading process gave an invalid answer</translation>
    </message>
    <message>
        <source>Lettura del file Access interrotta</source>
        <translation>Reading of the Access file stopped</translation>
    </message>
    <message>
        <source>la lettura non procede da %1 secondi ed è stata fermata</source>
        <translation>reading made no progress for %1 seconds and was stopped</translation>
    </message>
    <message>
        <source>la lettura si è interrotta (segnale %1, %2)</source>
        <translation>reading stopped (signal %1, %2)</translation>
    </message>
    <message>
        <source>la lettura si è interrotta prima della fine</source>
        <translation>reading stopped before the end</translation>
    </message>
    <message>
        <source>letti %1 record della tabella %2, che ne dichiara %3</source>
        <translation>read %1 records of table %2, which declares %3</translation>
    </message>
</context>
<context>
    <name>brenzola::Agenda</name>
    <message>
        <source>scaduti, oggi e %1, al %2</source>
        <translation>overdue, today and %1, as of %2</translation>
    </message>
    <message>
        <source>domani</source>
        <translation>tomorrow</translation>
    </message>
    <message>
        <source>i prossimi %1 giorni</source>
        <translation>the next %1 days</translation>
    </message>
    <message>
        <source>Il contatto «%1» è stato eliminato da un altro utente.</source>
        <translation>The contact “%1” was deleted by another user.</translation>
    </message>
    <message>
        <source>Il contatto «%1» è stato modificato da un altro utente dopo che l&apos;agenda lo ha letto.</source>
        <translation>The contact “%1” was changed by another user after the agenda read it.</translation>
    </message>
</context>
<context>
    <name>brenzola::Annullamento</name>
    <message>
        <source>operazione %1 («%2»)</source>
        <translation>operation %1 (“%2”)</translation>
    </message>
    <message>
        <source>operazione %1</source>
        <translation>operation %1</translation>
    </message>
    <message>
        <source>e altri %1</source>
        <translation>and %1 more</translation>
    </message>
    <message>
        <source>«%1», il %2 da %3</source>
        <translation>“%1”, on %2 by %3</translation>
    </message>
    <message>
        <source>Dopo l&apos;%1 sono stati modificati di nuovo:

%2

«Annulla il resto» riporta com&apos;erano gli altri contatti dell&apos;operazione e lascia questi come sono ora; «Niente» non cambia nulla.</source>
        <translation>After %1 these were changed again:

%2

“Undo the rest” brings the operation&apos;s other contacts back as they were and leaves these as they are now; “Nothing” changes nothing.</translation>
    </message>
    <message>
        <source>Annulla il resto</source>
        <translation>Undo the rest</translation>
    </message>
    <message>
        <source>Niente</source>
        <translation>Nothing</translation>
    </message>
    <message>
        <source>Non è stato annullato nulla: tutti i contatti dell&apos;%1 sono stati modificati di nuovo dopo: %2.</source>
        <translation>Nothing was undone: all the contacts of %1 were changed again afterwards: %2.</translation>
    </message>
    <message>
        <source>Non è stato annullato nulla: nessun contatto dell&apos;%1 si poteva riportare com&apos;era.</source>
        <translation>Nothing was undone: no contact of %1 could be brought back as it was.</translation>
    </message>
    <message>
        <source>Annullata l&apos;%1. Contatti riportati com&apos;erano: %2.</source>
        <translation>Undid %1. Contacts brought back as they were: %2.</translation>
    </message>
    <message>
        <source>

Lasciati come sono, perché modificati di nuovo dopo: %1.</source>
        <translation>

Left as they are, because they were changed again afterwards: %1.</translation>
    </message>
    <message>
        <source>Impossibile annullare l&apos;operazione %1.</source>
        <translation>Cannot undo operation %1.</translation>
    </message>
</context>
<context>
    <name>brenzola::Archivio</name>
    <message>
        <source>Il database %1 contiene già la tabella Anagrafica.</source>
        <translation>The database %1 already contains the table Anagrafica.</translation>
    </message>
    <message>
        <source>Il file «%1» esiste già.</source>
        <translation>The file “%1” already exists.</translation>
    </message>
    <message>
        <source>Impossibile creare il file «%1»</source>
        <translation>Cannot create the file “%1”</translation>
    </message>
</context>
<context>
    <name>brenzola::Avvio</name>
    <message>
        <source>1 contatto</source>
        <translation>1 contact</translation>
    </message>
    <message>
        <source>%1 contatti</source>
        <translation>%1 contacts</translation>
    </message>
    <message>
        <source>Impossibile leggere l&apos;archivio «%1».</source>
        <translation>Cannot read the store “%1”.</translation>
    </message>
    <message>
        <source>Il file «%1» è un database di Microsoft Access (%2), che Brenzola non può usare così com&apos;è.

Brenzola può convertirlo nel proprio formato: la tabella %3, con %4, passerà in un nuovo archivio con lo stesso nome, e il file Access originale resterà intatto nella stessa cartella con il nome «%5».</source>
        <translation>The file “%1” is a Microsoft Access database (%2), which Brenzola cannot use as it is.

Brenzola can convert it to its own format: the table %3, with %4, will go into a new store with the same name, and the original Access file will stay untouched in the same folder under the name “%5”.</translation>
    </message>
    <message>
        <source>

Convertire ora il file? Rispondendo No, Brenzola si chiude senza modificare nulla.</source>
        <translation>

Convert the file now? If you answer No, Brenzola closes without changing anything.</translation>
    </message>
    <message>
        <source>Archivio di Access</source>
        <translation>Access store</translation>
    </message>
    <message>
        <source>Conversione completata: %1 convertiti nel nuovo archivio «%2».

Il file Access originale è conservato, intatto, come «%3».</source>
        <translation>Conversion complete: %1 converted into the new store “%2”.

The original Access file is kept, untouched, as “%3”.</translation>
    </message>
    <message>
        <source>Impossibile convertire il file Access «%1». Nessun file è stato modificato.</source>
        <translation>Cannot convert the Access file “%1”. No file was changed.</translation>
    </message>
    <message>
        <source>L&apos;archivio dei contatti «%1» non si può aprire.

%2</source>
        <translation>The contact store “%1” cannot be opened.

%2</translation>
    </message>
    <message>
        <source>Benvenuti in Brenzola. Non c&apos;è ancora un archivio dei contatti.</source>
        <translation>Welcome to Brenzola. There is no contact store yet.</translation>
    </message>
    <message>
        <source>L&apos;archivio dei contatti «%1» non si trova più.</source>
        <translation>The contact store “%1” can no longer be found.</translation>
    </message>
    <message>
        <source>

Si può creare un archivio nuovo, vuoto, in «%1», oppure aprire un archivio che esiste già (anche un file di Microsoft Access dalla versione precedente del programma).</source>
        <translation>

You can create a new, empty store in “%1”, or open a store that already exists (also a Microsoft Access file from the previous version of the program).</translation>
    </message>
    <message>
        <source>

Si può aprire un altro archivio che esiste già (anche un file di Microsoft Access dalla versione precedente del programma).</source>
        <translation>

You can open another store that already exists (also a Microsoft Access file from the previous version of the program).</translation>
    </message>
    <message>
        <source>Archivio dei contatti</source>
        <translation>Contact store</translation>
    </message>
    <message>
        <source>Crea un archivio nuovo</source>
        <translation>Create a new store</translation>
    </message>
    <message>
        <source>Apri un archivio...</source>
        <translation>Open a store...</translation>
    </message>
    <message>
        <source>Esci</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Impossibile creare l&apos;archivio «%1».</source>
        <translation>Cannot create the store “%1”.</translation>
    </message>
    <message>
        <source>Apri un archivio dei contatti</source>
        <translation>Open a contact store</translation>
    </message>
    <message>
        <source>Archivi dei contatti (*.mdb *.sqlite *.db);;Tutti i file (*)</source>
        <translation>Contact stores (*.mdb *.sqlite *.db);;All files (*)</translation>
    </message>
    <message>
        <source>[--archivio FILE|CONNESSIONE]</source>
        <translation>[--archivio FILE|CONNECTION]</translation>
    </message>
    <message>
        <source>Apre l&apos;anagrafica dei contatti.

  --archivio FILE         usa l&apos;archivio FILE invece di quello abituale
  --archivio CONNESSIONE  usa l&apos;archivio su un server PostgreSQL, per esempio
      &quot;Provider=Brenzola.PostgreSQL;Host=server;Database=brenzola;User=anna&quot;
      (la password viene da ~/.pgpass o da un file di servizio, o viene chiesta)
  -h, --help              mostra questo aiuto
  --version               mostra la versione

Senza --archivio si usa, nell&apos;ordine: un Brenzola.mdb accanto al programma; l&apos;archivio indicato
in %1; l&apos;archivio personale in %2.
</source>
        <translation>Opens the contact register.

  --archivio FILE         use the store FILE instead of the usual one
  --archivio CONNECTION   use the store on a PostgreSQL server, for example
      &quot;Provider=Brenzola.PostgreSQL;Host=server;Database=brenzola;User=anna&quot;
      (the password comes from ~/.pgpass or a service file, or is asked for)
  -h, --help              show this help
  --version               show the version

Without --archivio, in this order: a Brenzola.mdb next to the program; the store named
in %1; the personal store in %2.
</translation>
    </message>
    <message>
        <source>L&apos;archivio «%1» indicato con --archivio non esiste.</source>
        <translation>The store “%1” given with --archivio does not exist.</translation>
    </message>
    <message>
        <source>L&apos;archivio «%1» accanto al programma non è leggibile da questo utente: si usa il suo archivio personale.</source>
        <translation>The store “%1” next to the program cannot be read by this user: using your personal store.</translation>
    </message>
    <message>
        <source>Permesso negato: il file non è leggibile da questo utente.</source>
        <translation>Permission denied: the file cannot be read by this user.</translation>
    </message>
    <message>
        <source>Errore %1: %2</source>
        <translation>Error %1: %2</translation>
    </message>
    <message>
        <source>Impossibile usare l&apos;archivio dei contatti «%1».

%2</source>
        <translation>Cannot use the contact store “%1”.

%2</translation>
    </message>
</context>
<context>
    <name>brenzola::CalendarField</name>
    <message>
        <source>«%1» non è una data: </source>
        <translation>“%1” is not a date: </translation>
    </message>
    <message>
        <source>va scritta come %1, per esempio %2.</source>
        <translation>write it as %1, for example %2.</translation>
    </message>
    <message>
        <source>gg/mm/aaaa</source>
        <translation>dd/mm/yyyy</translation>
    </message>
    <message>
        <source>mm/gg/aaaa</source>
        <translation>mm/dd/yyyy</translation>
    </message>
    <message>
        <source>l&apos;anno va scritto con quattro cifre.</source>
        <translation>the year takes four digits.</translation>
    </message>
    <message>
        <source>il mese va da 1 a 12.</source>
        <translation>the month goes from 1 to 12.</translation>
    </message>
    <message>
        <source>l&apos;anno %1 non esiste.</source>
        <translation>the year %1 does not exist.</translation>
    </message>
    <message>
        <source>il giorno va da 1 a %1.</source>
        <translation>the day goes from 1 to %1.</translation>
    </message>
    <message>
        <source>%1 %2 ha %3 giorni.</source>
        <translation>%1 %2 has %3 days.</translation>
    </message>
    <message>
        <source>«%1» non è una data riconoscibile: resta com&apos;è memorizzata finché non la si cambia.</source>
        <translation>“%1” is not a recognisable date: it stays as stored until you change it.</translation>
    </message>
    <message>
        <source>Apri il calendario (F4)</source>
        <translation>Open the calendar (F4)</translation>
    </message>
</context>
<context>
    <name>brenzola::CalendarPopup</name>
    <message>
        <source>&amp;Oggi</source>
        <translation>&amp;Today</translation>
    </message>
    <message>
        <source>Svuota</source>
        <translation>Clear</translation>
    </message>
</context>
<context>
    <name>brenzola::CardDav</name>
    <message>
        <source>Il server %1 ha risposto %2 alla richiesta %3: l&apos;operazione non è stata fatta. Controllare l&apos;indirizzo della rubrica e i permessi dell&apos;utente sul server.</source>
        <translation>The server %1 answered %2 to the request %3: the operation was not done. Check the address book&apos;s address and the user&apos;s permissions on the server.</translation>
    </message>
    <message>
        <source>il suo certificato non viene da un&apos;autorità riconosciuta</source>
        <translation>its certificate does not come from a recognised authority</translation>
    </message>
    <message>
        <source>il suo certificato è scaduto o non è ancora valido (valido dal %1 al %2)</source>
        <translation>its certificate has expired or is not yet valid (valid from %1 to %2)</translation>
    </message>
    <message>
        <source>il suo certificato è intestato a un altro nome (%1)</source>
        <translation>its certificate is issued to another name (%1)</translation>
    </message>
    <message>
        <source>Il server %1 non è stato accettato: %2. Nessun dato è stato mandato. Controllare l&apos;indirizzo, o chiedere a chi gestisce il server.</source>
        <translation>The server %1 was not accepted: %2. No data was sent. Check the address, or ask whoever runs the server.</translation>
    </message>
    <message>
        <source>Il server %1 non risponde (%2). Controllare l&apos;indirizzo e la rete; si riproverà più tardi.</source>
        <translation>The server %1 does not answer (%2). Check the address and the network; it will be tried again later.</translation>
    </message>
    <message>
        <source>Il server %1 ha dato una risposta che non è WebDAV (%2): non è un server CardDAV, o l&apos;indirizzo non è quello della rubrica.</source>
        <translation>The server %1 gave an answer that is not WebDAV (%2): it is not a CardDAV server, or the address is not that of the address book.</translation>
    </message>
    <message>
        <source>nessuna risposta in %1 secondi</source>
        <translation>no answer in %1 seconds</translation>
    </message>
    <message>
        <source>Il server %1 non ha accettato l&apos;utente «%2» con la password data. Controllare utente e password.</source>
        <translation>The server %1 did not accept the user “%2” with the password given. Check user and password.</translation>
    </message>
    <message>
        <source>Il server %1 non dice dove sono le rubriche dell&apos;utente: non è un server CardDAV, o serve l&apos;indirizzo completo della rubrica.</source>
        <translation>The server %1 does not say where the user&apos;s address books are: it is not a CardDAV server, or the full address of the address book is needed.</translation>
    </message>
    <message>
        <source>Il server %1 non ha rubriche per l&apos;utente «%2».</source>
        <translation>The server %1 has no address books for the user “%2”.</translation>
    </message>
</context>
<context>
    <name>brenzola::ComandiCronologia</name>
    <message>
        <source>Annulla l&apos;ultima operazione</source>
        <translation>Undo the last operation</translation>
    </message>
    <message>
        <source>Operazioni recenti...</source>
        <translation>Recent operations...</translation>
    </message>
    <message>
        <source>Cestino...</source>
        <translation>Bin...</translation>
    </message>
    <message>
        <source>Cronologia del contatto...</source>
        <translation>Contact history...</translation>
    </message>
    <message>
        <source>Non c&apos;è nessuna operazione da annullare: da quando l&apos;archivio è stato aperto qui non è stato cambiato nulla, o è già stato annullato tutto.

Le operazioni fatte altrove si annullano da «Operazioni recenti».</source>
        <translation>There is no operation to undo: nothing was changed since the store was opened here, or everything has been undone already.

Operations done elsewhere are undone from “Recent operations”.</translation>
    </message>
    <message>
        <source>Nessun contatto di cui mostrare la cronologia: sceglierne uno dall&apos;elenco.</source>
        <translation>No contact to show the history of: choose one from the list.</translation>
    </message>
    <message>
        <source>I contatti che il cestino conserva da più tempo del previsto non sono stati eliminati definitivamente: restano nel cestino fino al prossimo avvio, e si possono eliminare a mano dal Cestino.</source>
        <translation>Contacts the bin has kept longer than intended were not deleted for good: they stay in the bin until the next start, and can be deleted by hand from the Bin.</translation>
    </message>
</context>
<context>
    <name>brenzola::ComandiScambio</name>
    <message>
        <source>vCard 4.0 (*.vcf)</source>
        <translation>vCard 4.0 (*.vcf)</translation>
    </message>
    <message>
        <source>vCard 3.0, per telefoni e programmi meno recenti (*.vcf)</source>
        <translation>vCard 3.0, for older phones and programs (*.vcf)</translation>
    </message>
    <message>
        <source>CSV per Excel e LibreOffice in italiano (*.csv)</source>
        <translation>CSV for Excel and LibreOffice in Italian (*.csv)</translation>
    </message>
    <message>
        <source>CSV standard, separato da virgole (*.csv)</source>
        <translation>Standard CSV, comma separated (*.csv)</translation>
    </message>
    <message>
        <source>CSV per Google Contatti (*.csv)</source>
        <translation>CSV for Google Contacts (*.csv)</translation>
    </message>
    <message>
        <source>CSV per Outlook (*.csv)</source>
        <translation>CSV for Outlook (*.csv)</translation>
    </message>
    <message>
        <source>LDIF per Thunderbird (*.ldif)</source>
        <translation>LDIF for Thunderbird (*.ldif)</translation>
    </message>
    <message>
        <source>Nessun contatto del file si può leggere:

</source>
        <translation>No contact in the file can be read:

</translation>
    </message>
    <message>
        <source>1 contatto su %1 non si può leggere</source>
        <translation>1 contact of %1 cannot be read</translation>
    </message>
    <message>
        <source>%1 contatti su %2 non si possono leggere</source>
        <translation>%1 contacts of %2 cannot be read</translation>
    </message>
    <message>
        <source>%1:

%2

Importare gli altri %3? Quelli illeggibili saranno elencati alla fine.</source>
        <translation>%1:

%2

Import the other %3? The unreadable ones will be listed at the end.</translation>
    </message>
    <message>
        <source>Importa contatti</source>
        <translation>Import contacts</translation>
    </message>
    <message>
        <source>Contatti (*.vcf *.vcard *.csv *.txt *.ldif);;vCard (*.vcf *.vcard);;CSV (*.csv *.txt);;LDIF (*.ldif);;Tutti i file (*)</source>
        <translation>Contacts (*.vcf *.vcard *.csv *.txt *.ldif);;vCard (*.vcf *.vcard);;CSV (*.csv *.txt);;LDIF (*.ldif);;All files (*)</translation>
    </message>
    <message>
        <source>Importazione dei contatti da «%1»…</source>
        <translation>Importing contacts from “%1”…</translation>
    </message>
    <message>
        <source>«%1» (riga %2 del file) sembra %3 «%4».</source>
        <translation>“%1” (line %2 of the file) looks like %3 “%4”.</translation>
    </message>
    <message>
        <source>lo stesso contatto letto prima dal file:</source>
        <translation>the same contact read earlier from the file:</translation>
    </message>
    <message>
        <source>già presente nell&apos;archivio come</source>
        <translation>already in the store as</translation>
    </message>
    <message>
        <source>Letto prima dal file</source>
        <translation>Read earlier from the file</translation>
    </message>
    <message>
        <source>Nell&apos;archivio</source>
        <translation>In the store</translation>
    </message>
    <message>
        <source>Nel file, riga %1</source>
        <translation>In the file, line %1</translation>
    </message>
    <message>
        <source>Il file «%1» non contiene contatti.</source>
        <translation>The file “%1” contains no contacts.</translation>
    </message>
    <message>
        <source>Importazione annullata: l&apos;archivio non è stato modificato.</source>
        <translation>Import cancelled: the store was not changed.</translation>
    </message>
    <message>
        <source>Importazione da «%1» non riuscita: l&apos;archivio non è stato modificato.</source>
        <translation>Import from “%1” failed: the store was not changed.</translation>
    </message>
    <message>
        <source>Esporta contatti</source>
        <translation>Export contacts</translation>
    </message>
    <message>
        <source>Esportazione dei contatti in «%1»…</source>
        <translation>Exporting contacts to “%1”…</translation>
    </message>
    <message>
        <source>Esportazione annullata: nessun file è stato scritto.</source>
        <translation>Export cancelled: no file was written.</translation>
    </message>
    <message>
        <source>Esportato 1 contatto in «%1».</source>
        <translation>Exported 1 contact to “%1”.</translation>
    </message>
    <message>
        <source>Esportati %1 contatti in «%2».</source>
        <translation>Exported %1 contacts to “%2”.</translation>
    </message>
    <message>
        <source>Esportazione in «%1» non riuscita.</source>
        <translation>Export to “%1” failed.</translation>
    </message>
    <message>
        <source>Nessun contatto è stato unito.</source>
        <translation>No contacts were merged.</translation>
    </message>
    <message>
        <source>Ricerca dei contatti doppi…</source>
        <translation>Looking for duplicate contacts…</translation>
    </message>
    <message>
        <source>Nell&apos;archivio non ci sono contatti doppi.</source>
        <translation>There are no duplicate contacts in the store.</translation>
    </message>
    <message>
        <source>Contatto da tenere</source>
        <translation>Contact to keep</translation>
    </message>
    <message>
        <source>Contatto doppio</source>
        <translation>Duplicate contact</translation>
    </message>
    <message>
        <source>Gruppo %1 di %2: «%3» e «%4» sembrano la stessa persona.</source>
        <translation>Group %1 of %2: “%3” and “%4” seem to be the same person.</translation>
    </message>
    <message>
        <source>Coppia %1 di %2: «%3» e «%4» potrebbero essere la stessa persona, ma anche persone diverse.</source>
        <translation>Pair %1 of %2: “%3” and “%4” could be the same person, but also different people.</translation>
    </message>
    <message>
        <source>Contatti doppi uniti: l&apos;archivio ha %1 in meno. Quelli uniti ad altri sono nel cestino.</source>
        <translation>Duplicate contacts merged: the store has %1 fewer. Those merged into others are in the bin.</translation>
    </message>
    <message>
        <source>Unione dei contatti doppi non riuscita: l&apos;archivio non è stato modificato.</source>
        <translation>Merging duplicate contacts failed: the store was not changed.</translation>
    </message>
</context>
<context>
    <name>brenzola::ComandiSincronizzazione</name>
    <message>
        <source>Sincronizzazione non impostata</source>
        <translation>Sync not set up</translation>
    </message>
    <message>
        <source>Sincronizza ora</source>
        <translation>Sync now</translation>
    </message>
    <message>
        <source>Contatti da decidere...</source>
        <translation>Contacts to decide...</translation>
    </message>
    <message>
        <source>Impostazioni...</source>
        <translation>Settings...</translation>
    </message>
    <message>
        <source>Contatti da decidere (%1)...</source>
        <translation>Contacts to decide (%1)...</translation>
    </message>
    <message>
        <source>Questo archivio lo sincronizza un&apos;altra scrivania</source>
        <translation>Another desk syncs this store</translation>
    </message>
    <message>
        <source>Sincronizzazione con «%1»</source>
        <translation>Sync with “%1”</translation>
    </message>
    <message>
        <source>Password dell&apos;utente «%1» sul server %2, per la sincronizzazione:</source>
        <translation>Password of the user “%1” on the server %2, for the sync:</translation>
    </message>
    <message>
        <source>Questo archivio è sul server e lo sincronizza un&apos;altra scrivania (o il comando sincronizza sul server). Per farlo da qui, sceglierlo nelle impostazioni.</source>
        <translation>This store is on the server and another desk syncs it (or the sincronizza command on the server). To do it from here, choose it in the settings.</translation>
    </message>
    <message>
        <source>Sincronizzazione in corso...</source>
        <translation>Sync in progress...</translation>
    </message>
    <message>
        <source>Sincronizzazione con «%1»...</source>
        <translation>Syncing with “%1”...</translation>
    </message>
    <message>
        <source>Non riuscita alle %1 (errore %2): si riprova più tardi</source>
        <translation>Failed at %1 (error %2): trying again later</translation>
    </message>
    <message>
        <source>La sincronizzazione con «%1» non è riuscita.</source>
        <translation>The sync with “%1” failed.</translation>
    </message>
    <message>
        <source>Sincronizzata alle %1: %2 mandati, %3 ricevuti, %4 da decidere</source>
        <translation>Synced at %1: %2 sent, %3 received, %4 to decide</translation>
    </message>
    <message>
        <source>Lasciata com&apos;è sul server, non è un contatto: %1 (%2)</source>
        <translation>Left as it is on the server, not a contact: %1 (%2)</translation>
    </message>
    <message>
        <source>«%1» è cambiato di nuovo mentre si decideva: la prossima sincronizzazione lo mostra com&apos;è ora.</source>
        <translation>“%1” changed again while you were deciding: the next sync shows it as it is now.</translation>
    </message>
    <message>
        <source>La scelta non si è potuta fare: il contatto resta da decidere.</source>
        <translation>The choice could not be made: the contact is still to be decided.</translation>
    </message>
</context>
<context>
    <name>brenzola::Connection</name>
    <message>
        <source>l&apos;archivio è bloccato da un altro programma che lo sta modificando. Riprovare tra poco; se non basta, chiudere gli altri programmi che lo usano.</source>
        <translation>the store is locked by another program that is changing it. Try again shortly; if that is not enough, close the other programs using it.</translation>
    </message>
    <message>
        <source>l&apos;archivio è di sola lettura, perciò le modifiche non si possono salvare. Per salvare serve il permesso di scrittura sul file e sulla sua cartella.</source>
        <translation>the store is read-only, so changes cannot be saved. Saving needs write permission on the file and its folder.</translation>
    </message>
    <message>
        <source>errore di lettura o scrittura sul disco. Controllare il disco (o la rete, se l&apos;archivio è in una cartella condivisa) e riprovare.</source>
        <translation>disk read or write error. Check the disk (or the network, if the store is in a shared folder) and try again.</translation>
    </message>
    <message>
        <source>l&apos;archivio è danneggiato. Non modificarlo oltre: conservarne una copia e ripristinare l&apos;ultimo salvataggio.</source>
        <translation>the store is damaged. Do not change it further: keep a copy of it and restore the last backup.</translation>
    </message>
    <message>
        <source>il disco è pieno e le modifiche non sono state salvate. Liberare spazio e riprovare.</source>
        <translation>the disk is full and the changes were not saved. Free some space and try again.</translation>
    </message>
    <message>
        <source>il file non si può aprire: non esiste, oppure mancano i permessi per leggerlo o per scrivere nella sua cartella.</source>
        <translation>the file cannot be opened: it does not exist, or there is no permission to read it or to write in its folder.</translation>
    </message>
    <message>
        <source>il file non è un archivio dei contatti (né un database che Brenzola sappia leggere).</source>
        <translation>the file is not a contact store (nor a database Brenzola can read).</translation>
    </message>
    <message>
        <source>il server ha rifiutato il nome utente o la password.</source>
        <translation>the server refused the user name or the password.</translation>
    </message>
    <message>
        <source>il server chiede una password, che non è stata data.</source>
        <translation>the server asks for a password, which was not given.</translation>
    </message>
    <message>
        <source>sul server non esiste il database indicato.</source>
        <translation>the database given does not exist on the server.</translation>
    </message>
    <message>
        <source>sul server non esiste l&apos;utente indicato.</source>
        <translation>the user given does not exist on the server.</translation>
    </message>
    <message>
        <source>la connessione con il server si è interrotta e l&apos;operazione non è stata eseguita. Riprovare quando il server è di nuovo raggiungibile.</source>
        <translation>the connection to the server broke and the operation was not carried out. Try again when the server can be reached again.</translation>
    </message>
    <message>
        <source>il server dell&apos;archivio non risponde. Controllare la rete e che il server sia acceso, poi riprovare.</source>
        <translation>the store&apos;s server does not answer. Check the network and that the server is on, then try again.</translation>
    </message>
    <message>
        <source>l&apos;utente non ha il permesso per questa operazione sull&apos;archivio.</source>
        <translation>the user has no permission for this operation on the store.</translation>
    </message>
    <message>
        <source>nel database del server non c&apos;è la tabella Anagrafica.</source>
        <translation>the server database has no table Anagrafica.</translation>
    </message>
    <message>
        <source>il disco del server è pieno e le modifiche non sono state salvate.</source>
        <translation>the server&apos;s disk is full and the changes were not saved.</translation>
    </message>
    <message>
        <source>l&apos;archivio è occupato da un&apos;altra operazione. Riprovare tra poco.</source>
        <translation>the store is busy with another operation. Try again shortly.</translation>
    </message>
    <message>
        <source> (SQLSTATE %1)</source>
        <translation> (SQLSTATE %1)</translation>
    </message>
    <message>
        <source>Provider non trovato: «%1».</source>
        <translation>Provider not found: “%1”.</translation>
    </message>
    <message>
        <source>sul server manca il registro delle modifiche, che può aggiungere solo il proprietario della tabella Anagrafica: basta che apra l&apos;archivio una volta, per esempio con «cronologia ARCHIVIO» (errore %1: %2)</source>
        <translation>the server lacks the change log, which only the owner of the table Anagrafica can add: it is enough for them to open the store once, for example with “cronologia ARCHIVIO” (error %1: %2)</translation>
    </message>
    <message>
        <source>il registro delle modifiche non si è potuto aggiungere (errore %1: %2); si riproverà alla prossima apertura.</source>
        <translation>the change log could not be added (error %1: %2); it will be tried again at the next opening.</translation>
    </message>
    <message>
        <source>l&apos;archivio è di sola lettura.</source>
        <translation>the store is read-only.</translation>
    </message>
    <message>
        <source>La stringa di connessione contiene una password, che lì resterebbe leggibile da chiunque veda la stringa: toglierla. La password va in ~/.pgpass (o nel file di un servizio, Service=), oppure viene chiesta all&apos;apertura.</source>
        <translation>The connection string contains a password, which would stay readable there by anyone who sees the string: remove it. The password goes in ~/.pgpass (or in a service file, Service=), or is asked for when opening.</translation>
    </message>
    <message>
        <source>Manca il driver per PostgreSQL (pacchetto libqt6sql6-psql).</source>
        <translation>The PostgreSQL driver is missing (package libqt6sql6-psql).</translation>
    </message>
    <message>
        <source>Una transazione è già in corso.</source>
        <translation>A transaction is already in progress.</translation>
    </message>
    <message>
        <source>Nessuna transazione in corso.</source>
        <translation>No transaction in progress.</translation>
    </message>
    <message>
        <source>La connessione è chiusa.</source>
        <translation>The connection is closed.</translation>
    </message>
    <message>
        <source>il certificato del server è intestato a un altro nome, e la connessione cifrata è stata rifiutata. Scrivere in Host= il nome che il certificato riporta, o chiedere all&apos;amministratore del server.</source>
        <translation>the server&apos;s certificate is issued to another name, and the encrypted connection was refused. Write in Host= the name the certificate bears, or ask the server&apos;s administrator.</translation>
    </message>
    <message>
        <source>per verificare il certificato del server manca quello della sua autorità (~/.postgresql/root.crt), e la connessione cifrata non è stata aperta. Installarlo lì, o indicarlo con sslrootcert nel servizio (Service=).</source>
        <translation>the certificate of the authority needed to check the server&apos;s certificate is missing (~/.postgresql/root.crt), and the encrypted connection was not opened. Install it there, or name it with sslrootcert in the service (Service=).</translation>
    </message>
    <message>
        <source>il certificato del server non è firmato da un&apos;autorità riconosciuta (o è scaduto), e la connessione cifrata è stata rifiutata. Installare il certificato dell&apos;autorità in ~/.postgresql/root.crt, o chiedere all&apos;amministratore del server.</source>
        <translation>the server&apos;s certificate is not signed by a trusted authority (or has expired), and the encrypted connection was refused. Install the authority&apos;s certificate in ~/.postgresql/root.crt, or ask the server&apos;s administrator.</translation>
    </message>
    <message>
        <source>il server non accetta connessioni cifrate, che la stringa di connessione richiede (SslMode=). Attivare SSL sul server, o chiedere all&apos;amministratore.</source>
        <translation>the server does not accept encrypted connections, which the connection string requires (SslMode=). Turn SSL on in the server, or ask its administrator.</translation>
    </message>
    <message>
        <source>il server non ammette connessioni da questo computer con questo utente, o senza cifratura (pg_hba.conf). Chiedere all&apos;amministratore del server, o provare SslMode=require.</source>
        <translation>the server does not admit connections from this computer with this user, or without encryption (pg_hba.conf). Ask the server&apos;s administrator, or try SslMode=require.</translation>
    </message>
    <message>
        <source>la connessione cifrata con il server non è riuscita: %1</source>
        <translation>the encrypted connection to the server failed: %1</translation>
    </message>
</context>
<context>
    <name>brenzola::Contatto</name>
    <message>
        <source>Cognome</source>
        <translation>Surname</translation>
    </message>
    <message>
        <source>Nome</source>
        <translation>First name</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Tipo Ref.</source>
        <translation>Ref. type</translation>
    </message>
    <message>
        <source>Città</source>
        <translation>City</translation>
    </message>
    <message>
        <source>Prov.</source>
        <translation>Prov.</translation>
    </message>
    <message>
        <source>Indirizzo</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Cap</source>
        <translation>ZIP</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>Email</translation>
    </message>
    <message>
        <source>Telefono</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>Cell.</source>
        <translation>Mobile</translation>
    </message>
    <message>
        <source>Data Nasc.</source>
        <translation>Birth date</translation>
    </message>
    <message>
        <source>Fonte</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Data ricontattare</source>
        <translation>Follow-up date</translation>
    </message>
    <message>
        <source>Commenti</source>
        <translation>Comments</translation>
    </message>
    <message>
        <source>il campo %1 è troppo lungo (%2 caratteri; al massimo %3)</source>
        <translation>the field %1 is too long (%2 characters; at most %3)</translation>
    </message>
    <message>
        <source>%1 contiene un carattere di controllo (%2), che non si può conservare</source>
        <translation>%1 contains a control character (%2), which cannot be kept</translation>
    </message>
    <message>
        <source>il campo %1</source>
        <translation>the field %1</translation>
    </message>
    <message>
        <source>l&apos;identità (UID)</source>
        <translation>the identity (UID)</translation>
    </message>
</context>
<context>
    <name>brenzola::Cronologia</name>
    <message>
        <source>L&apos;archivio non tiene il registro delle modifiche, perciò non c&apos;è nulla da annullare né da ripristinare%1</source>
        <translation>The store keeps no change log, so there is nothing to undo or restore%1</translation>
    </message>
    <message>
        <source>L&apos;operazione %1 non è nel registro delle modifiche.</source>
        <translation>Operation %1 is not in the change log.</translation>
    </message>
    <message>
        <source>L&apos;operazione %1 è già stata annullata (%2): si può annullare solo l&apos;operazione %3, l&apos;ultima di questa catena.</source>
        <translation>Operation %1 has already been undone (%2): only operation %3, the last of this chain, can be undone.</translation>
    </message>
    <message>
        <source>dall&apos;operazione </source>
        <translation>by operation </translation>
    </message>
    <message>
        <source>poi rifatta e così via: operazioni </source>
        <translation>then redone and so on: operations </translation>
    </message>
    <message>
        <source>«%1»</source>
        <translation>“%1”</translation>
    </message>
    <message>
        <source>Non è stato annullato nulla: dopo l&apos;operazione %1 sono stati modificati %2.</source>
        <translation>Nothing was undone: after operation %1, %2 were changed.</translation>
    </message>
    <message>
        <source>Questa versione è l&apos;eliminazione del contatto: non ha dati.</source>
        <translation>This version is the contact&apos;s deletion: it has no data.</translation>
    </message>
    <message>
        <source>Il contatto è stato modificato da un altro utente dopo che la sua cronologia è stata letta: non è stato scritto nulla.</source>
        <translation>The contact was changed by another user after its history was read: nothing was written.</translation>
    </message>
    <message>
        <source>Sul server i dati eliminati definitivamente spariscono dalle tabelle subito; PostgreSQL però ne lascia i byte nei propri file finché non riusa lo spazio (dopo il VACUUM), e nelle copie di sicurezza e negli archivi WAL del server finché l&apos;amministratore li conserva.</source>
        <translation>On the server, data deleted for good disappears from the tables at once; PostgreSQL, however, leaves its bytes in its own files until it reuses the space (after VACUUM), and in the server&apos;s backups and WAL archives for as long as the administrator keeps them.</translation>
    </message>
    <message>
        <source>Nel file dell&apos;archivio i dati eliminati definitivamente vengono sovrascritti: non ne resta alcun byte. Restano nelle copie del file fatte prima.</source>
        <translation>In the store file, data deleted for good is overwritten: not a byte of it remains. It remains in copies of the file made before.</translation>
    </message>
</context>
<context>
    <name>brenzola::Csv</name>
    <message>
        <source>Riga %1: le virgolette aperte qui non si chiudono più.</source>
        <translation>Line %1: the quotation marks opened here are never closed.</translation>
    </message>
    <message>
        <source>riga %1: la riga non contiene dati</source>
        <translation>line %1: the line contains no data</translation>
    </message>
</context>
<context>
    <name>brenzola::Dialogs</name>
    <message>
        <source>Annulla</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Errore %1: %2</source>
        <translation>Error %1: %2</translation>
    </message>
</context>
<context>
    <name>brenzola::Doppioni</name>
    <message>
        <source>somiglia anche a un contatto con un&apos;altra data di nascita</source>
        <translation>also looks like a contact with another birth date</translation>
    </message>
    <message>
        <source>stesso nome</source>
        <translation>same name</translation>
    </message>
    <message>
        <source>entrambi senza nome</source>
        <translation>both without a name</translation>
    </message>
    <message>
        <source>uno dei due è senza nome</source>
        <translation>one of the two has no name</translation>
    </message>
    <message>
        <source>nomi diversi («%1» e «%2»)</source>
        <translation>different names (“%1” and “%2”)</translation>
    </message>
    <message>
        <source>stesso indirizzo e-mail «%1»</source>
        <translation>same email address “%1”</translation>
    </message>
    <message>
        <source>stesso telefono «%1»</source>
        <translation>same phone “%1”</translation>
    </message>
    <message>
        <source>nessun indirizzo e-mail né telefono in comune</source>
        <translation>no email address or phone in common</translation>
    </message>
    <message>
        <source>date di nascita diverse</source>
        <translation>different birth dates</translation>
    </message>
</context>
<context>
    <name>brenzola::FormTransparancy</name>
    <message>
        <source>Overflow: %1 non sta in un intero a 16 bit.</source>
        <translation>Overflow: %1 does not fit in a 16-bit integer.</translation>
    </message>
</context>
<context>
    <name>brenzola::FrmAgenda</name>
    <message>
        <source>Da ricontattare</source>
        <translation>To follow up</translation>
    </message>
    <message>
        <source>Scaduti, oggi e i prossimi</source>
        <translation>Overdue, today and the next</translation>
    </message>
    <message>
        <source>giorni</source>
        <translation>days</translation>
    </message>
    <message>
        <source>Compleanni della settimana</source>
        <translation>This week&apos;s birthdays</translation>
    </message>
    <message>
        <source>Apri all&apos;avvio quando ci sono contatti da ricontattare</source>
        <translation>Open at startup when there are contacts to follow up</translation>
    </message>
    <message>
        <source>&amp;Apri contatto</source>
        <translation>&amp;Open contact</translation>
    </message>
    <message>
        <source>&amp;Fatto</source>
        <translation>&amp;Done</translation>
    </message>
    <message>
        <source>S&amp;tampa...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <source>&amp;Esporta calendario...</source>
        <translation>&amp;Export calendar...</translation>
    </message>
    <message>
        <source>&amp;Chiudi</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Ricontattare fra una settimana</source>
        <translation>Follow up in a week</translation>
    </message>
    <message>
        <source>Ricontattare fra un mese</source>
        <translation>Follow up in a month</translation>
    </message>
    <message>
        <source>Ricontattare in una data...</source>
        <translation>Follow up on a date...</translation>
    </message>
    <message>
        <source>Nessuna data</source>
        <translation>No date</translation>
    </message>
    <message>
        <source>Impossibile leggere i contatti da ricontattare.</source>
        <translation>Cannot read the contacts to follow up.</translation>
    </message>
    <message>
        <source>Non è stato scritto nulla: l&apos;agenda mostra ora i contatti come sono.</source>
        <translation>Nothing was written: the agenda now shows the contacts as they are.</translation>
    </message>
    <message>
        <source>Impossibile scrivere la prossima data di «%1».</source>
        <translation>Cannot write the next date of “%1”.</translation>
    </message>
    <message>
        <source>Scaduto</source>
        <translation>Overdue</translation>
    </message>
    <message>
        <source>Oggi</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>Compleanno</source>
        <translation>Birthday</translation>
    </message>
    <message>
        <source>Compie %1 anni (nato il %2)</source>
        <translation>Turns %1 (born on %2)</translation>
    </message>
    <message>
        <source>Compleanno (l&apos;anno di nascita non si sa)</source>
        <translation>Birthday (year of birth unknown)</translation>
    </message>
    <message>
        <source>Esporta il calendario</source>
        <translation>Export the calendar</translation>
    </message>
    <message>
        <source>Da ricontattare.ics</source>
        <translation>To follow up.ics</translation>
    </message>
    <message>
        <source>Calendario iCalendar (*.ics)</source>
        <translation>iCalendar calendar (*.ics)</translation>
    </message>
    <message>
        <source>Impossibile scrivere il calendario «%1».</source>
        <translation>Cannot write the calendar “%1”.</translation>
    </message>
    <message>
        <source>Calendario scritto in «%1»: %2 da ricontattare e %3 compleanni.</source>
        <translation>Calendar written to “%1”: %2 to follow up and %3 birthdays.</translation>
    </message>
    <message>
        <source>Quanti giorni avanti guarda l&apos;agenda</source>
        <translation>How many days ahead the agenda looks</translation>
    </message>
    <message>
        <source>Tolta la spunta, l&apos;agenda si apre solo dal pulsante Agenda (Ctrl+G)</source>
        <translation>Unticked, the agenda opens only from the Agenda button (Ctrl+G)</translation>
    </message>
    <message>
        <source>I contatti da chiamare, scaduti, di oggi e dei prossimi giorni, con telefoni, e-mail e commenti; Invio apre quello scelto</source>
        <translation>The contacts to call, overdue, today&apos;s and the next days&apos;, with phones, e-mail and comments; Enter opens the chosen one</translation>
    </message>
    <message>
        <source>Giorno, nome, età compiuta e recapiti; Invio apre quello scelto</source>
        <translation>Day, name, age reached and contact details; Enter opens the chosen one</translation>
    </message>
</context>
<context>
    <name>brenzola::FrmBrenzola</name>
    <message>
        <source>Esporta</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Cronologia</source>
        <translation>History</translation>
    </message>
    <message>
        <source>Sincronizza</source>
        <translation>Sync</translation>
    </message>
    <message>
        <source>Archivio «%1».</source>
        <translation>Store “%1”.</translation>
    </message>
    <message>
        <source>Impossibile usare l&apos;archivio dei contatti «%1».</source>
        <translation>Cannot use the contact store “%1”.</translation>
    </message>
    <message>
        <source>Password per l&apos;archivio «%1»:</source>
        <translation>Password for the store “%1”:</translation>
    </message>
    <message>
        <source>L&apos;archivio «%1» è di sola lettura: si può consultare, ma le modifiche non si potranno salvare.

Per salvare serve il permesso di scrittura sul file e sulla cartella che lo contiene.</source>
        <translation>The store “%1” is read-only: you can look through it, but changes cannot be saved.

Saving needs write permission on the file and on the folder that holds it.</translation>
    </message>
    <message>
        <source>I dati sono stati modificati, si desidera salvare?</source>
        <translation>The data has been changed. Do you want to save it?</translation>
    </message>
    <message>
        <source>Scrivere il cognome!</source>
        <translation>Enter the surname!</translation>
    </message>
    <message>
        <source>Salvato</source>
        <translation>Saved</translation>
    </message>
    <message>
        <source>%1: toglierlo e salvare di nuovo.</source>
        <translation>%1: remove it and save again.</translation>
    </message>
    <message>
        <source>Il contatto non è stato salvato.</source>
        <translation>The contact was not saved.</translation>
    </message>
    <message>
        <source>Un altro utente ha modificato questo contatto dopo che è stato aperto.

«Sovrascrivi» salva i campi cambiati qui sopra la sua versione; «Ricarica» mostra la sua versione e abbandona le modifiche fatte qui.</source>
        <translation>Another user changed this contact after it was opened.

“Overwrite” saves the fields changed here over their version; “Reload” shows their version and drops the changes made here.</translation>
    </message>
    <message>
        <source>Sovrascrivi</source>
        <translation>Overwrite</translation>
    </message>
    <message>
        <source>Ricarica</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>Un altro utente ha eliminato questo contatto dopo che è stato aperto.

Salvarlo come nuovo contatto?</source>
        <translation>Another user deleted this contact after it was opened.

Save it as a new contact?</translation>
    </message>
    <message>
        <source>Cancellare il contatto selezionato?</source>
        <translation>Delete the selected contact?</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Il contatto non c&apos;è più: è stato eliminato.</source>
        <translation>The contact is no longer there: it was deleted.</translation>
    </message>
    <message>
        <source>Brenzola 1.0       %1       %2</source>
        <translation>Brenzola 1.0       %1       %2</translation>
    </message>
    <message>
        <source>Mostra Tutti</source>
        <translation>Show All</translation>
    </message>
    <message>
        <source>Ricerca Avanzata</source>
        <translation>Advanced Search</translation>
    </message>
    <message>
        <source>Indietro</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Avanti</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>Esci</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Agenda</source>
        <translation>Agenda</translation>
    </message>
    <message>
        <source>Importa</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Doppioni</source>
        <translation>Duplicates</translation>
    </message>
    <message>
        <source>Cerca</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Contatti trovati:</source>
        <translation>Contacts found:</translation>
    </message>
    <message>
        <source>Stampa Elenco Selezionato</source>
        <translation>Print Selected List</translation>
    </message>
    <message>
        <source>Stampa Schede Selezionate</source>
        <translation>Print Selected Cards</translation>
    </message>
    <message>
        <source>Cognome</source>
        <translation>Surname</translation>
    </message>
    <message>
        <source>Nome</source>
        <translation>First name</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Tipo Ref.</source>
        <translation>Ref. type</translation>
    </message>
    <message>
        <source>Citta&apos;</source>
        <translation>City</translation>
    </message>
    <message>
        <source>Prov.</source>
        <translation>Prov.</translation>
    </message>
    <message>
        <source>Indirizzo</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Cap</source>
        <translation>ZIP</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>Email</translation>
    </message>
    <message>
        <source>Telefono</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>Cell.</source>
        <translation>Mobile</translation>
    </message>
    <message>
        <source>Data Nasc.</source>
        <translation>Birth date</translation>
    </message>
    <message>
        <source>Fonte</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Data ricontattare</source>
        <translation>Follow-up date</translation>
    </message>
    <message>
        <source>Commenti</source>
        <translation>Comments</translation>
    </message>
    <message>
        <source>Elimina</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Stampa</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Nuovo</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Salva</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Assistenza: %1    %2</source>
        <translation>Support: %1    %2</translation>
    </message>
    <message>
        <source>Cerca nome, telefono, email</source>
        <translation>Find name, phone, email</translation>
    </message>
    <message>
        <source>Parte del cognome; cognome e nome («Rossi Ma»); cifre del telefono o del cellulare; un testo con @ nell&apos;email (Ctrl+L o F3; Giù va all&apos;elenco)</source>
        <translation>Part of the surname; surname and first name («Rossi Ma»); digits of the phone or mobile; a text with @ in the email (Ctrl+L or F3; Down goes to the list)</translation>
    </message>
    <message>
        <source>Il cognome del contatto: senza, non si salva</source>
        <translation>The contact&apos;s surname: without it, nothing is saved</translation>
    </message>
    <message>
        <source>Il nome del contatto</source>
        <translation>The contact&apos;s first name</translation>
    </message>
    <message>
        <source>La data d&apos;inserimento del contatto, gg/mm/aaaa</source>
        <translation>The date the contact was entered</translation>
    </message>
    <message>
        <source>Il tipo di riferimento, testo libero</source>
        <translation>The kind of reference, free text</translation>
    </message>
    <message>
        <source>La città</source>
        <translation>The town</translation>
    </message>
    <message>
        <source>La sigla della provincia, al più 5 caratteri</source>
        <translation>The province code, at most 5 characters</translation>
    </message>
    <message>
        <source>La via e il numero civico</source>
        <translation>The street and house number</translation>
    </message>
    <message>
        <source>Il codice di avviamento postale, al più 5 caratteri</source>
        <translation>The postcode, at most 5 characters</translation>
    </message>
    <message>
        <source>L&apos;indirizzo e-mail</source>
        <translation>The e-mail address</translation>
    </message>
    <message>
        <source>Il numero di telefono</source>
        <translation>The telephone number</translation>
    </message>
    <message>
        <source>Il numero di cellulare</source>
        <translation>The mobile number</translation>
    </message>
    <message>
        <source>La data di nascita, gg/mm/aaaa</source>
        <translation>The date of birth</translation>
    </message>
    <message>
        <source>Da dove viene il contatto, testo libero</source>
        <translation>Where the contact came from, free text</translation>
    </message>
    <message>
        <source>Quando ricontattarlo, gg/mm/aaaa: l&apos;agenda lo ricorda</source>
        <translation>When to call again: the agenda reminds you</translation>
    </message>
    <message>
        <source>Note libere, su più righe</source>
        <translation>Free notes, on several lines</translation>
    </message>
    <message>
        <source>Elenco dei contatti</source>
        <translation>Contact list</translation>
    </message>
    <message>
        <source>Cognome e nome dei contatti trovati; Invio apre quello scelto</source>
        <translation>Surname and first name of the contacts found; Enter opens the chosen one</translation>
    </message>
</context>
<context>
    <name>brenzola::FrmCestino</name>
    <message>
        <source>Cestino</source>
        <translation>Bin</translation>
    </message>
    <message>
        <source>Conserva i contatti eliminati per</source>
        <translation>Keep deleted contacts for</translation>
    </message>
    <message>
        <source>Conserva i contatti eliminati per giorni</source>
        <translation>Keep deleted contacts for days</translation>
    </message>
    <message>
        <source>All&apos;avvio, i contatti eliminati da più giorni vengono eliminati definitivamente.</source>
        <translation>At startup, contacts deleted more days ago than this are deleted for good.</translation>
    </message>
    <message>
        <source>giorni</source>
        <translation>days</translation>
    </message>
    <message>
        <source>Ripristina</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>Elimina definitivamente</source>
        <translation>Delete for good</translation>
    </message>
    <message>
        <source>Svuota cestino</source>
        <translation>Empty bin</translation>
    </message>
    <message>
        <source>Chiudi</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Eliminare definitivamente %1? Non si potranno più ripristinare, e la loro cronologia sparisce con loro.</source>
        <translation>Delete %1 for good? They can no longer be restored, and their history goes with them.</translation>
    </message>
    <message>
        <source>Svuotare il cestino? I %1 che contiene non si potranno più ripristinare, e la loro cronologia sparisce con loro.</source>
        <translation>Empty the bin? The %1 it holds can no longer be restored, and their history goes with them.</translation>
    </message>
    <message>
        <source>Impossibile leggere il cestino.</source>
        <translation>Cannot read the bin.</translation>
    </message>
    <message>
        <source>Ripristinati, con tutti i loro dati: %1.</source>
        <translation>Restored, with all their data: %1.</translation>
    </message>
    <message>
        <source>Nessuno dei contatti scelti era ancora nel cestino: nel frattempo sono stati ripristinati o eliminati definitivamente altrove.</source>
        <translation>None of the chosen contacts was still in the bin: meanwhile they were restored or deleted for good elsewhere.</translation>
    </message>
    <message>
        <source>Non è stato ripristinato nessun contatto.</source>
        <translation>No contact was restored.</translation>
    </message>
    <message>
        <source>Non eliminare</source>
        <translation>Do not delete</translation>
    </message>
    <message>
        <source>Eliminati definitivamente: %1.</source>
        <translation>Deleted for good: %1.</translation>
    </message>
    <message>
        <source>Impossibile eliminare definitivamente i contatti scelti.</source>
        <translation>Cannot delete the chosen contacts for good.</translation>
    </message>
    <message>
        <source>Il periodo del cestino non è stato cambiato.</source>
        <translation>The bin period was not changed.</translation>
    </message>
    <message>
        <source>I contatti eliminati: chi, quando e in quale operazione</source>
        <translation>The deleted contacts: who, when and in which operation</translation>
    </message>
</context>
<context>
    <name>brenzola::FrmConflitto</name>
    <message>
        <source>Contatto cambiato da due parti (%1 di %2)</source>
        <translation>Contact changed on both sides (%1 of %2)</translation>
    </message>
    <message>
        <source>«%1» è cambiato qui e sul server dall&apos;ultima sincronizzazione. Scegliere quale versione tenere: l&apos;altra sarà sostituita (qui va nel cestino e nella cronologia, da dove si può riprendere).</source>
        <translation>“%1” was changed here and on the server since the last sync. Choose which version to keep: the other will be replaced (here it goes to the bin and the history, from where it can be taken back).</translation>
    </message>
    <message>
        <source>Qui il contatto è stato eliminato.</source>
        <translation>Here the contact was deleted.</translation>
    </message>
    <message>
        <source>Sul server il contatto è stato eliminato.</source>
        <translation>On the server the contact was deleted.</translation>
    </message>
    <message>
        <source>Qui</source>
        <translation>Here</translation>
    </message>
    <message>
        <source>Qui (eliminato)</source>
        <translation>Here (deleted)</translation>
    </message>
    <message>
        <source>Sul server</source>
        <translation>On the server</translation>
    </message>
    <message>
        <source>Sul server (eliminato)</source>
        <translation>On the server (deleted)</translation>
    </message>
    <message>
        <source>Tieni quella di &amp;qui</source>
        <translation>Keep the one &amp;here</translation>
    </message>
    <message>
        <source>Elimina anche sul &amp;server</source>
        <translation>Delete on the &amp;server too</translation>
    </message>
    <message>
        <source>Tieni quella del &amp;server</source>
        <translation>Keep the &amp;server&apos;s</translation>
    </message>
    <message>
        <source>Elimina anche &amp;qui</source>
        <translation>Delete &amp;here too</translation>
    </message>
    <message>
        <source>Decidi &amp;dopo</source>
        <translation>Decide &amp;later</translation>
    </message>
    <message>
        <source>Chiudi</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Le due versioni</source>
        <translation>The two versions</translation>
    </message>
    <message>
        <source>Ogni campo del contatto com&apos;è qui e sul server; in grassetto, dove differiscono</source>
        <translation>Every field of the contact as it is here and on the server; in bold, where they differ</translation>
    </message>
</context>
<context>
    <name>brenzola::FrmCronologia</name>
    <message>
        <source>Cognome</source>
        <translation>Surname</translation>
    </message>
    <message>
        <source>Nome</source>
        <translation>First name</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Tipo Ref.</source>
        <translation>Ref. type</translation>
    </message>
    <message>
        <source>Prov.</source>
        <translation>Prov.</translation>
    </message>
    <message>
        <source>Citta&apos;</source>
        <translation>City</translation>
    </message>
    <message>
        <source>Indirizzo</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Cap</source>
        <translation>ZIP</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>Email</translation>
    </message>
    <message>
        <source>Telefono</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>Cell.</source>
        <translation>Mobile</translation>
    </message>
    <message>
        <source>Data Nasc.</source>
        <translation>Birth date</translation>
    </message>
    <message>
        <source>Fonte</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Data ricontattare</source>
        <translation>Follow-up date</translation>
    </message>
    <message>
        <source>Commenti</source>
        <translation>Comments</translation>
    </message>
    <message>
        <source>cambiato rispetto alla versione precedente</source>
        <translation>changed from the previous version</translation>
    </message>
    <message>
        <source>Cronologia</source>
        <translation>History</translation>
    </message>
    <message>
        <source>Quando</source>
        <translation>When</translation>
    </message>
    <message>
        <source>Chi</source>
        <translation>Who</translation>
    </message>
    <message>
        <source>Operazione</source>
        <translation>Operation</translation>
    </message>
    <message>
        <source>Ripristina questa versione</source>
        <translation>Restore this version</translation>
    </message>
    <message>
        <source>Chiudi</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Impossibile leggere la cronologia del contatto.</source>
        <translation>Cannot read the contact&apos;s history.</translation>
    </message>
    <message>
        <source>Di questo contatto non è registrata nessuna modifica: la sua cronologia comincia dalla prima.</source>
        <translation>No change to this contact is recorded: its history starts from the first one.</translation>
    </message>
    <message>
        <source>Cronologia di «%1»</source>
        <translation>History of “%1”</translation>
    </message>
    <message>
        <source>versione più vecchia conosciuta</source>
        <translation>oldest known version</translation>
    </message>
    <message>
        <source>: contatto eliminato</source>
        <translation>: contact deleted</translation>
    </message>
    <message>
        <source>In questa versione il contatto è stato eliminato: non ha dati.</source>
        <translation>In this version the contact was deleted: it has no data.</translation>
    </message>
    <message>
        <source>Il contatto com&apos;era prima della prima modifica registrata: quando e da chi non si sa.</source>
        <translation>The contact as it was before the first recorded change: when and by whom is unknown.</translation>
    </message>
    <message>
        <source>La prima versione registrata del contatto.</source>
        <translation>The first recorded version of the contact.</translation>
    </message>
    <message>
        <source>Nessun campo è cambiato rispetto alla versione precedente.</source>
        <translation>No field changed from the previous version.</translation>
    </message>
    <message>
        <source>Cambiati rispetto alla versione precedente: %1.</source>
        <translation>Changed from the previous version: %1.</translation>
    </message>
    <message>
        <source>la versione più vecchia conosciuta</source>
        <translation>the oldest known version</translation>
    </message>
    <message>
        <source>la versione del %1</source>
        <translation>the version of %1</translation>
    </message>
    <message>
        <source>Non è stata ripristinata %1. La cronologia viene letta di nuovo: controllare la modifica fatta altrove, poi scegliere di nuovo la versione da ripristinare.</source>
        <translation>%1 was not restored. The history is read again: check the change made elsewhere, then choose the version to restore again.</translation>
    </message>
    <message>
        <source>Non è stata ripristinata %1.</source>
        <translation>%1 was not restored.</translation>
    </message>
    <message>
        <source>Ripristinata %1: il contatto è di nuovo così.</source>
        <translation>Restored %1: the contact is like this again.</translation>
    </message>
    <message>
        <source>Versioni</source>
        <translation>Versions</translation>
    </message>
    <message>
        <source>Le versioni del contatto, la più recente in cima; accanto, i suoi campi</source>
        <translation>The contact&apos;s versions, the latest at the top; beside them, its fields</translation>
    </message>
</context>
<context>
    <name>brenzola::FrmDoppione</name>
    <message>
        <source>Contatti doppi</source>
        <translation>Duplicate contacts</translation>
    </message>
    <message>
        <source>Contatto già presente</source>
        <translation>Contact already present</translation>
    </message>
    <message>
        <source>Dopo l&apos;aggiornamento</source>
        <translation>After the update</translation>
    </message>
    <message>
        <source>Dopo l&apos;unione</source>
        <translation>After the merge</translation>
    </message>
    <message>
        <source>Fai lo stesso per tutti i doppioni seguenti</source>
        <translation>Do the same for all the following duplicates</translation>
    </message>
    <message>
        <source>Aggiorna</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>Unisci</source>
        <translation>Merge</translation>
    </message>
    <message>
        <source>Aggiungi comunque</source>
        <translation>Add anyway</translation>
    </message>
    <message>
        <source>Salta</source>
        <translation>Skip</translation>
    </message>
    <message>
        <source>Lascia separati</source>
        <translation>Keep separate</translation>
    </message>
    <message>
        <source>Annulla l&apos;importazione</source>
        <translation>Cancel the import</translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Perché: %1.</source>
        <translation>Why: %1.</translation>
    </message>
    <message>
        <source>Attenzione: potrebbero essere persone diverse. Unirli solo se si è certi che siano la stessa persona.</source>
        <translation>Warning: they could be different people. Merge them only if you are sure they are the same person.</translation>
    </message>
    <message>
        <source>Ogni campo dei due contatti e di quello che ne risulterebbe; in grassetto, ciò che cambierebbe</source>
        <translation>Every field of the two contacts and of the one they would make; in bold, what would change</translation>
    </message>
</context>
<context>
    <name>brenzola::FrmImportaCsv</name>
    <message>
        <source>Punto e virgola ( ; )</source>
        <translation>Semicolon ( ; )</translation>
    </message>
    <message>
        <source>Virgola ( , )</source>
        <translation>Comma ( , )</translation>
    </message>
    <message>
        <source>Tabulazione</source>
        <translation>Tab</translation>
    </message>
    <message>
        <source>Barra verticale ( | )</source>
        <translation>Vertical bar ( | )</translation>
    </message>
    <message>
        <source>Importa contatti da «%1»</source>
        <translation>Import contacts from “%1”</translation>
    </message>
    <message>
        <source>Codifica dei caratteri:</source>
        <translation>Character encoding:</translation>
    </message>
    <message>
        <source>Separatore dei campi:</source>
        <translation>Field separator:</translation>
    </message>
    <message>
        <source>Per ogni colonna, il campo in cui va (le prime %1 righe del file):</source>
        <translation>For each column, the field it goes into (the first %1 lines of the file):</translation>
    </message>
    <message>
        <source>Importa</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Errore %1: %2</source>
        <translation>Error %1: %2</translation>
    </message>
    <message>
        <source>Campo</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>(nei commenti)</source>
        <translation>(in the comments)</translation>
    </message>
    <message>
        <source>Come sono scritti i caratteri del file; cambiandola, l&apos;anteprima si rilegge</source>
        <translation>How the file&apos;s characters are written; changing it reads the preview again</translation>
    </message>
    <message>
        <source>Il carattere che separa i campi di ogni riga del file</source>
        <translation>The character that separates the fields of each line of the file</translation>
    </message>
    <message>
        <source>La prima riga sceglie il campo di ogni colonna; le altre mostrano le prime righe del file</source>
        <translation>The first row chooses each column&apos;s field; the others show the file&apos;s first lines</translation>
    </message>
    <message>
        <source>Colonna «%1»</source>
        <translation>Column «%1»</translation>
    </message>
    <message>
        <source>Il campo in cui va la colonna «%1»; «(nei commenti)» la mette nei commenti</source>
        <translation>The field column «%1» goes into; «(in the comments)» puts it there</translation>
    </message>
</context>
<context>
    <name>brenzola::FrmOperazioni</name>
    <message>
        <source>Operazioni recenti</source>
        <translation>Recent operations</translation>
    </message>
    <message>
        <source>N.</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Quando</source>
        <translation>When</translation>
    </message>
    <message>
        <source>Chi</source>
        <translation>Who</translation>
    </message>
    <message>
        <source>Operazione</source>
        <translation>Operation</translation>
    </message>
    <message>
        <source>Contatti</source>
        <translation>Contacts</translation>
    </message>
    <message>
        <source>Annullata</source>
        <translation>Undone</translation>
    </message>
    <message>
        <source>Annulla l&apos;operazione</source>
        <translation>Undo the operation</translation>
    </message>
    <message>
        <source>Operazioni precedenti</source>
        <translation>Earlier operations</translation>
    </message>
    <message>
        <source>Chiudi</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Impossibile leggere le operazioni recenti.</source>
        <translation>Cannot read the recent operations.</translation>
    </message>
    <message>
        <source>annullata dall&apos;operazione %1</source>
        <translation>undone by operation %1</translation>
    </message>
    <message>
        <source>Impossibile leggere le operazioni precedenti.</source>
        <translation>Cannot read the earlier operations.</translation>
    </message>
    <message>
        <source>Le operazioni di ogni scrivania, la più recente in cima</source>
        <translation>Every desk&apos;s operations, the latest at the top</translation>
    </message>
</context>
<context>
    <name>brenzola::FrmProssimaData</name>
    <message>
        <source>Ricontattare il</source>
        <translation>Follow up on</translation>
    </message>
    <message>
        <source>Data in cui ricontattare:</source>
        <translation>Date to follow up:</translation>
    </message>
    <message>
        <source>Data in cui ricontattare</source>
        <translation>Date to follow up</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Scrivere la data, oppure scegliere «Nessuna data».</source>
        <translation>Enter the date, or choose “No date”.</translation>
    </message>
</context>
<context>
    <name>brenzola::FrmRicerca</name>
    <message>
        <source>Compilare i campi di ricerca che si conoscono:</source>
        <translation>Fill in the search fields you know:</translation>
    </message>
    <message>
        <source>Da data</source>
        <translation>From date</translation>
    </message>
    <message>
        <source>A data</source>
        <translation>To date</translation>
    </message>
    <message>
        <source>Da data Nasc.</source>
        <translation>From birth date</translation>
    </message>
    <message>
        <source>A data Nasc.</source>
        <translation>To birth date</translation>
    </message>
    <message>
        <source>Da data ricontattare</source>
        <translation>From follow-up date</translation>
    </message>
    <message>
        <source>A data ricontattare</source>
        <translation>To follow-up date</translation>
    </message>
    <message>
        <source>Ricerca</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Esci</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Fonte</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Telefono</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>Cellulare</source>
        <translation>Mobile</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>Email</translation>
    </message>
    <message>
        <source>Citta&apos;</source>
        <translation>City</translation>
    </message>
    <message>
        <source>Commenti</source>
        <translation>Comments</translation>
    </message>
    <message>
        <source>Indirizzo</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Tipo Ref.</source>
        <translation>Ref. type</translation>
    </message>
    <message>
        <source>Nome</source>
        <translation>First name</translation>
    </message>
    <message>
        <source>Cognome</source>
        <translation>Surname</translation>
    </message>
    <message>
        <source>CAP</source>
        <translation>ZIP</translation>
    </message>
    <message>
        <source>Prov.</source>
        <translation>Prov.</translation>
    </message>
    <message>
        <source>Trova i contatti in cui questo campo contiene il testo scritto; vuoto, qualunque</source>
        <translation>Finds the contacts whose field contains the text written; empty, any</translation>
    </message>
    <message>
        <source>Trova i contatti con questa data o una successiva, gg/mm/aaaa; vuota, nessun limite</source>
        <translation>Finds the contacts with this date or a later one; empty, no limit</translation>
    </message>
    <message>
        <source>Trova i contatti con questa data o una precedente, gg/mm/aaaa; vuota, nessun limite</source>
        <translation>Finds the contacts with this date or an earlier one; empty, no limit</translation>
    </message>
</context>
<context>
    <name>brenzola::FrmRiepilogo</name>
    <message>
        <source>Importazione completata</source>
        <translation>Import complete</translation>
    </message>
    <message>
        <source>Importazione da «%1»:

Aggiunti: %2
Uniti a contatti già presenti: %3
Non importati: %4</source>
        <translation>Import from “%1”:

Added: %2
Merged into contacts already present: %3
Not imported: %4</translation>
    </message>
    <message>
        <source>
Aggiornati (lo stesso contatto, riconosciuto dal suo UID): %1</source>
        <translation>
Updated (the same contact, recognised by its UID): %1</translation>
    </message>
    <message>
        <source>

Dati del file che nessun campo accoglie, lasciati fuori: </source>
        <translation>

Data in the file that no field takes, left out: </translation>
    </message>
    <message>
        <source>… e altri %1 non importati</source>
        <translation>… and %1 more not imported</translation>
    </message>
    <message>
        <source>Da controllare:</source>
        <translation>To check:</translation>
    </message>
    <message>
        <source>Dettagli</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Le voci non importate, con la riga e il motivo, e quelle da controllare</source>
        <translation>The entries not imported, with their line and reason, and those to check</translation>
    </message>
</context>
<context>
    <name>brenzola::FrmSincronizzazione</name>
    <message>
        <source>Sincronizzazione</source>
        <translation>Sync</translation>
    </message>
    <message>
        <source>&amp;Indirizzo del server:</source>
        <translation>Server &amp;address:</translation>
    </message>
    <message>
        <source>&amp;Utente:</source>
        <translation>&amp;User:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Password:</translation>
    </message>
    <message>
        <source>&amp;Cerca le rubriche</source>
        <translation>&amp;Find address books</translation>
    </message>
    <message>
        <source>&amp;Rubrica:</source>
        <translation>Address &amp;book:</translation>
    </message>
    <message>
        <source>Contatti dell&apos;ufficio</source>
        <translation>Office contacts</translation>
    </message>
    <message>
        <source>Cr&amp;ea</source>
        <translation>Cr&amp;eate</translation>
    </message>
    <message>
        <source>&amp;Nuova rubrica:</source>
        <translation>&amp;New address book:</translation>
    </message>
    <message>
        <source>Sincronizza all&apos;&amp;avvio</source>
        <translation>Sync at s&amp;tartup</translation>
    </message>
    <message>
        <source>mai</source>
        <translation>never</translation>
    </message>
    <message>
        <source> minuti</source>
        <translation> minutes</translation>
    </message>
    <message>
        <source>&amp;Ogni:</source>
        <translation>E&amp;very:</translation>
    </message>
    <message>
        <source>Poco dopo ogni &amp;salvataggio</source>
        <translation>Shortly after each &amp;save</translation>
    </message>
    <message>
        <source>&amp;Questa scrivania sincronizza per tutto l&apos;ufficio</source>
        <translation>This desk syncs for the &amp;whole office</translation>
    </message>
    <message>
        <source>Salva</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Le rubriche del server non si sono potute leggere.</source>
        <translation>The server&apos;s address books could not be read.</translation>
    </message>
    <message>
        <source>Il server non ha ancora rubriche per l&apos;utente «%1»: crearne una con «Crea».</source>
        <translation>The server has no address books yet for the user “%1”: create one with “Create”.</translation>
    </message>
    <message>
        <source>La rubrica non si è potuta creare.</source>
        <translation>The address book could not be created.</translation>
    </message>
</context>
<context>
    <name>brenzola::Funzioni</name>
    <message>
        <source>«%1» non è una data.</source>
        <translation>“%1” is not a date.</translation>
    </message>
</context>
<context>
    <name>brenzola::Giornale</name>
    <message>
        <source>1 contatto</source>
        <translation>1 contact</translation>
    </message>
    <message>
        <source>%1 contatti</source>
        <translation>%1 contacts</translation>
    </message>
</context>
<context>
    <name>brenzola::LavoroSincronizzazione</name>
    <message>
        <source>La rubrica «%1» non c&apos;è più sul server (%2). Sceglierne un&apos;altra nella finestra Sincronizzazione.</source>
        <translation>The address book “%1” is no longer on the server (%2). Choose another one in the Sync window.</translation>
    </message>
</context>
<context>
    <name>brenzola::Ldif</name>
    <message>
        <source>riga %1: la riga non è nella forma «attributo: valore»</source>
        <translation>line %1: the line is not in the form “attribute: value”</translation>
    </message>
    <message>
        <source>riga %1: il valore di «%2» non è base64 valido</source>
        <translation>line %1: the value of “%2” is not valid base64</translation>
    </message>
    <message>
        <source>riga %1: il testo non è in UTF-8: letto come Windows-1252</source>
        <translation>line %1: the text is not UTF-8: read as Windows-1252</translation>
    </message>
    <message>
        <source>riga %1: la voce non contiene dati</source>
        <translation>line %1: the entry contains no data</translation>
    </message>
    <message>
        <source>Il file non contiene voci LDIF (dn:).</source>
        <translation>The file contains no LDIF entries (dn:).</translation>
    </message>
</context>
<context>
    <name>brenzola::Lettore</name>
    <message>
        <source>%1 e altre %2</source>
        <translation>%1 and %2 more</translation>
    </message>
    <message>
        <source>riga %1: il testo non è in UTF-8: letta come Windows-1252</source>
        <translation>line %1: the text is not UTF-8: read as Windows-1252</translation>
    </message>
    <message>
        <source>righe %1: il testo non è in UTF-8: lette come Windows-1252</source>
        <translation>lines %1: the text is not UTF-8: read as Windows-1252</translation>
    </message>
    <message>
        <source>Il file è vuoto.</source>
        <translation>The file is empty.</translation>
    </message>
    <message>
        <source>Il file non è un file di testo.</source>
        <translation>The file is not a text file.</translation>
    </message>
</context>
<context>
    <name>brenzola::MappaCsv</name>
    <message>
        <source>riga %1: %2 campi invece di %3: quelli in più sono nei commenti</source>
        <translation>line %1: %2 fields instead of %3: the extra ones are in the comments</translation>
    </message>
</context>
<context>
    <name>brenzola::MemoryTable</name>
    <message>
        <source>Comando SHAPE non valido (%1): «%2».</source>
        <translation>Invalid SHAPE command (%1): “%2”.</translation>
    </message>
    <message>
        <source>atteso SHAPE APPEND seguito dalle colonne</source>
        <translation>expected SHAPE APPEND followed by the columns</translation>
    </message>
    <message>
        <source>colonna «%1»</source>
        <translation>column “%1”</translation>
    </message>
    <message>
        <source>dimensione nulla per «%1»</source>
        <translation>zero size for “%1”</translation>
    </message>
    <message>
        <source>colonna «%1» ripetuta</source>
        <translation>column “%1” repeated</translation>
    </message>
    <message>
        <source>Campo «%1» non trovato nel recordset.</source>
        <translation>Field “%1” not found in the recordset.</translation>
    </message>
    <message>
        <source>Le righe già confermate non si modificano: usare AddNew.</source>
        <translation>Rows already committed are not changed: use AddNew.</translation>
    </message>
    <message>
        <source>Nessun record corrente: inizio o fine del recordset.</source>
        <translation>No current record: beginning or end of the recordset.</translation>
    </message>
    <message>
        <source>Campo %1 non trovato nel recordset.</source>
        <translation>Field %1 not found in the recordset.</translation>
    </message>
</context>
<context>
    <name>brenzola::ModelloCestino</name>
    <message>
        <source>Contatto</source>
        <translation>Contact</translation>
    </message>
    <message>
        <source>Eliminato il</source>
        <translation>Deleted on</translation>
    </message>
    <message>
        <source>Da</source>
        <translation>By</translation>
    </message>
    <message>
        <source>Operazione</source>
        <translation>Operation</translation>
    </message>
</context>
<context>
    <name>brenzola::ModelloCompleanni</name>
    <message>
        <source>Giorno</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>Cognome e nome</source>
        <translation>Surname and name</translation>
    </message>
    <message>
        <source>Compie</source>
        <translation>Turns</translation>
    </message>
    <message>
        <source>Telefono</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>Cellulare</source>
        <translation>Mobile</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>Email</translation>
    </message>
    <message>
        <source>Nessun compleanno nei prossimi %1 giorni.</source>
        <translation>No birthdays in the next %1 days.</translation>
    </message>
    <message>
        <source>oggi</source>
        <translation>today</translation>
    </message>
    <message>
        <source>%1 anni</source>
        <translation>%1 years</translation>
    </message>
</context>
<context>
    <name>brenzola::ModelloElenco</name>
    <message>
        <source>Cognome e nome</source>
        <translation>Surname and first name</translation>
    </message>
</context>
<context>
    <name>brenzola::ModelloRicontatti</name>
    <message>
        <source>Scaduti</source>
        <translation>Overdue</translation>
    </message>
    <message>
        <source>Oggi</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>Domani</source>
        <translation>Tomorrow</translation>
    </message>
    <message>
        <source>Prossimi %1 giorni</source>
        <translation>Next %1 days</translation>
    </message>
    <message>
        <source>Nessun contatto da ricontattare.</source>
        <translation>No contacts to follow up.</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Cognome e nome</source>
        <translation>Surname and name</translation>
    </message>
    <message>
        <source>Telefono</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>Cellulare</source>
        <translation>Mobile</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>Email</translation>
    </message>
    <message>
        <source>Commenti</source>
        <translation>Comments</translation>
    </message>
</context>
<context>
    <name>brenzola::Password</name>
    <message>
        <source>non c&apos;è una password per %1</source>
        <translation>there is no password for %1</translation>
    </message>
    <message>
        <source>La password non si può leggere dal portachiavi del desktop (%1). Salvarla dalla finestra Sincronizzazione, o indicare un file con --password-da-file.</source>
        <translation>The password cannot be read from the desktop keyring (%1). Save it from the Sync window, or name a file with --password-da-file.</translation>
    </message>
    <message>
        <source>La password non si può salvare nel portachiavi del desktop (%1): sarà chiesta a ogni avvio.</source>
        <translation>The password cannot be saved in the desktop keyring (%1): it will be asked for at every start.</translation>
    </message>
    <message>
        <source>Lettura della password da «%1»</source>
        <translation>Reading the password from “%1”</translation>
    </message>
    <message>
        <source>Il file «%1» della password deve essere un file dell&apos;utente che solo lui può leggere: chmod 600 «%1».</source>
        <translation>The password file “%1” must be a file of the user that only they can read: chmod 600 “%1”.</translation>
    </message>
</context>
<context>
    <name>brenzola::Raccolta</name>
    <message>
        <source>riga %1: «%2» nella colonna «%3» non è una data: è nei commenti</source>
        <translation>line %1: “%2” in the column “%3” is not a date: it is in the comments</translation>
    </message>
    <message>
        <source>riga %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
</context>
<context>
    <name>brenzola::Recordset</name>
    <message>
        <source>Valore non valido per il campo data «%1»: «%2».</source>
        <translation>Invalid value for the date field “%1”: “%2”.</translation>
    </message>
    <message>
        <source>Nessun record corrente: inizio o fine del recordset.</source>
        <translation>No current record: beginning or end of the recordset.</translation>
    </message>
    <message>
        <source>Campo %1 non trovato nel recordset.</source>
        <translation>Field %1 not found in the recordset.</translation>
    </message>
    <message>
        <source>Campo «%1» non trovato nel recordset.</source>
        <translation>Field “%1” not found in the recordset.</translation>
    </message>
    <message>
        <source>Il recordset non è aggiornabile.</source>
        <translation>The recordset cannot be updated.</translation>
    </message>
    <message>
        <source>Il recordset non ha il campo id.</source>
        <translation>The recordset has no id field.</translation>
    </message>
    <message>
        <source>Il record da aggiornare non esiste più.</source>
        <translation>The record to update no longer exists.</translation>
    </message>
    <message>
        <source>Il record è stato modificato da un altro utente dopo che è stato letto.</source>
        <translation>The record was changed by another user after it was read.</translation>
    </message>
    <message>
        <source>La tabella «%1» non esiste.</source>
        <translation>The table “%1” does not exist.</translation>
    </message>
    <message>
        <source>Campo «%1» non trovato nella tabella.</source>
        <translation>Field “%1” not found in the table.</translation>
    </message>
</context>
<context>
    <name>brenzola::ReportDefinition</name>
    <message>
        <source>Data</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Ora:</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>Elemento «%1» non trovato nel report.</source>
        <translation>Item “%1” not found in the report.</translation>
    </message>
    <message>
        <source>Stampa Elenco</source>
        <translation>Print List</translation>
    </message>
    <message>
        <source>Elenco Anagrafiche</source>
        <translation>Contact List</translation>
    </message>
    <message>
        <source>COGNOME E NOME</source>
        <translation>SURNAME AND NAME</translation>
    </message>
    <message>
        <source>Stampa Dettaglio</source>
        <translation>Print Details</translation>
    </message>
    <message>
        <source>COGNOME</source>
        <translation>SURNAME</translation>
    </message>
    <message>
        <source>NOME</source>
        <translation>NAME</translation>
    </message>
    <message>
        <source>DATA</source>
        <translation>DATE</translation>
    </message>
    <message>
        <source>TIPO REF.</source>
        <translation>REF. TYPE</translation>
    </message>
    <message>
        <source>CITTA&apos;</source>
        <translation>CITY</translation>
    </message>
    <message>
        <source>INDIRIZZO</source>
        <translation>ADDRESS</translation>
    </message>
    <message>
        <source>CAP</source>
        <translation>ZIP</translation>
    </message>
    <message>
        <source>E-MAIL</source>
        <translation>E-MAIL</translation>
    </message>
    <message>
        <source>TELEFONO</source>
        <translation>PHONE</translation>
    </message>
    <message>
        <source>CELL</source>
        <translation>MOBILE</translation>
    </message>
    <message>
        <source>DATA NASCITA</source>
        <translation>BIRTH DATE</translation>
    </message>
    <message>
        <source>FONTE</source>
        <translation>SOURCE</translation>
    </message>
    <message>
        <source>DATA RICONTATTARE</source>
        <translation>FOLLOW-UP DATE</translation>
    </message>
    <message>
        <source>COMMENTI</source>
        <translation>COMMENTS</translation>
    </message>
    <message>
        <source>Dettaglio Anagrafiche</source>
        <translation>Contact Details</translation>
    </message>
    <message>
        <source>Stampa Da ricontattare</source>
        <translation>Print To Follow Up</translation>
    </message>
    <message>
        <source>Da ricontattare</source>
        <translation>To follow up</translation>
    </message>
    <message>
        <source>(Totale: %1)</source>
        <translation>(Total: %1)</translation>
    </message>
</context>
<context>
    <name>brenzola::ReportLayout</name>
    <message>
        <source>Campo «%1» della casella «%2» non trovato nei dati del report.</source>
        <translation>Field “%1” of the box “%2” not found in the report data.</translation>
    </message>
</context>
<context>
    <name>brenzola::ReportPainter</name>
    <message>
        <source>Errore di accesso al percorso/file: impossibile scrivere «%1».</source>
        <translation>Path/file access error: cannot write “%1”.</translation>
    </message>
</context>
<context>
    <name>brenzola::ReportPreview</name>
    <message>
        <source>&amp;Stampa...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <source>Stampa il report</source>
        <translation>Print the report</translation>
    </message>
    <message>
        <source>&amp;Esporta PDF...</source>
        <translation>&amp;Export PDF...</translation>
    </message>
    <message>
        <source>Salva il report in un file PDF</source>
        <translation>Save the report in a PDF file</translation>
    </message>
    <message>
        <source>Prima pagina</source>
        <translation>First page</translation>
    </message>
    <message>
        <source>Pagina precedente</source>
        <translation>Previous page</translation>
    </message>
    <message>
        <source>Pagina successiva</source>
        <translation>Next page</translation>
    </message>
    <message>
        <source>Ultima pagina</source>
        <translation>Last page</translation>
    </message>
    <message>
        <source>&amp;Chiudi</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Chiude l&apos;anteprima</source>
        <translation>Close the preview</translation>
    </message>
    <message>
        <source>Pagina</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>di %1</source>
        <translation>of %1</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Pagina intera</source>
        <translation>Whole page</translation>
    </message>
    <message>
        <source>Larghezza pagina</source>
        <translation>Page width</translation>
    </message>
    <message>
        <source>Nessuna stampante è installata nel sistema.
Per conservare il report usare «Esporta PDF...».</source>
        <translation>No printer is installed on the system.
To keep the report use “Export PDF...”.</translation>
    </message>
    <message>
        <source>Stampa</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Stampa in corso…</source>
        <translation>Printing…</translation>
    </message>
    <message>
        <source>Stampa annullata.</source>
        <translation>Printing cancelled.</translation>
    </message>
    <message>
        <source>Stampa annullata: le pagine già inviate alla stampante potrebbero essere stampate comunque.</source>
        <translation>Printing cancelled: the pages already sent to the printer may be printed anyway.</translation>
    </message>
    <message>
        <source>La stampa non è riuscita.</source>
        <translation>Printing failed.</translation>
    </message>
    <message>
        <source>Esporta PDF</source>
        <translation>Export PDF</translation>
    </message>
    <message>
        <source>Documenti PDF (*.pdf)</source>
        <translation>PDF documents (*.pdf)</translation>
    </message>
    <message>
        <source>Il file «%1» esiste già.
Sostituirlo?</source>
        <translation>The file “%1” already exists.
Replace it?</translation>
    </message>
    <message>
        <source>Esportazione in PDF…</source>
        <translation>Exporting to PDF…</translation>
    </message>
    <message>
        <source>Esportazione annullata: il file «%1» non è stato modificato.</source>
        <translation>Export cancelled: the file “%1” was not changed.</translation>
    </message>
    <message>
        <source>Esportazione annullata: nessun file è stato scritto.</source>
        <translation>Export cancelled: no file was written.</translation>
    </message>
    <message>
        <source>L&apos;esportazione in PDF non è riuscita.</source>
        <translation>Export to PDF failed.</translation>
    </message>
    <message>
        <source>Il report è stato salvato in «%1».</source>
        <translation>The report was saved in “%1”.</translation>
    </message>
</context>
<context>
    <name>brenzola::RigaDiComando</name>
    <message>
        <source>a un&apos;opzione manca il suo valore</source>
        <translation>an option is missing its value</translation>
    </message>
    <message>
        <source>opzione sconosciuta «%1%2»</source>
        <translation>unknown option “%1%2”</translation>
    </message>
    <message>
        <source>Uso: %1 %2</source>
        <translation>Usage: %1 %2</translation>
    </message>
    <message>
        <source>serve un nome di file (dati: %1)</source>
        <translation>a file name is needed (given: %1)</translation>
    </message>
    <message>
        <source>servono %1 nomi di file (dati: %2)</source>
        <translation>%1 file names are needed (given: %2)</translation>
    </message>
    <message>
        <source>Per saperne di più: %1 --help</source>
        <translation>For more: %1 --help</translation>
    </message>
</context>
<context>
    <name>brenzola::Scambio</name>
    <message>
        <source>riga %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>%1 «%2»: %3.</source>
        <translation>%1 “%2”: %3.</translation>
    </message>
    <message>
        <source>Impossibile leggere il file</source>
        <translation>Cannot read the file</translation>
    </message>
    <message>
        <source>Il file «%1» è troppo grande per un elenco di contatti (%2 MB).</source>
        <translation>The file “%1” is too big for a contact list (%2 MB).</translation>
    </message>
    <message>
        <source>Il contatto «%1» (id %2) non si può esportare in questo formato: %3. Nessun file è stato scritto: togliere il carattere dal contatto e ripetere l&apos;esportazione, oppure esportare in LDIF, che lo conserva.</source>
        <translation>The contact “%1” (id %2) cannot be exported in this format: %3. No file was written: remove the character from the contact and export again, or export to LDIF, which keeps it.</translation>
    </message>
    <message>
        <source>Il contatto «%1» è stato eliminato da un altro utente nel frattempo.</source>
        <translation>The contact “%1” was deleted by another user in the meantime.</translation>
    </message>
    <message>
        <source>Il contatto «%1» è stato modificato da un altro utente nel frattempo.</source>
        <translation>The contact “%1” was changed by another user in the meantime.</translation>
    </message>
    <message>
        <source>Impossibile scrivere il file</source>
        <translation>Cannot write the file</translation>
    </message>
    <message>
        <source>lo stesso identificativo (UID) «%1»</source>
        <translation>the same identifier (UID) “%1”</translation>
    </message>
    <message>
        <source>riga %1: «%2» c&apos;è già come «%3»</source>
        <translation>line %1: “%2” is already there as “%3”</translation>
    </message>
    <message>
        <source>Il contatto %1 non esiste più.</source>
        <translation>The contact %1 no longer exists.</translation>
    </message>
    <message>
        <source>L&apos;archivio non tiene il registro delle modifiche, perciò i contatti uniti non andrebbero nel cestino ma sarebbero persi: nessuno è stato unito%1</source>
        <translation>The store keeps no change log, so merged contacts would not go to the bin but would be lost: none was merged%1</translation>
    </message>
</context>
<context>
    <name>brenzola::ScambioContatti</name>
    <message>
        <source>Esporta l&apos;elenco...</source>
        <translation>Export the list...</translation>
    </message>
    <message>
        <source>Esporta il contatto...</source>
        <translation>Export the contact...</translation>
    </message>
    <message>
        <source>Contatti</source>
        <translation>Contacts</translation>
    </message>
    <message>
        <source>Nessun contatto da esportare: sceglierne uno dall&apos;elenco.</source>
        <translation>No contact to export: choose one from the list.</translation>
    </message>
    <message>
        <source>Contatto</source>
        <translation>Contact</translation>
    </message>
</context>
<context>
    <name>brenzola::Sincronizzazione</name>
    <message>
        <source>la scheda contiene %1 contatti invece di uno</source>
        <translation>the card holds %1 contacts instead of one</translation>
    </message>
    <message>
        <source>Sincronizzazione interrotta: l&apos;archivio è rimasto com&apos;era; le schede già mandate al server sono intere e la prossima sincronizzazione le ritrova.</source>
        <translation>Sync interrupted: the store is as it was; the cards already sent to the server are whole and the next sync finds them.</translation>
    </message>
    <message>
        <source>Sincronizzazione con %1</source>
        <translation>Sync with %1</translation>
    </message>
</context>
<context>
    <name>brenzola::Stampa</name>
    <message>
        <source>Preparazione della stampa…</source>
        <translation>Preparing to print…</translation>
    </message>
</context>
<context>
    <name>brenzola::Stampante</name>
    <message>
        <source>Errore della stampante: impossibile stampare su «%1».</source>
        <translation>Printer error: cannot print to “%1”.</translation>
    </message>
</context>
<context>
    <name>brenzola::StoreError</name>
    <message>
        <source>Memoria insufficiente. Chiudere altri programmi e riprovare.</source>
        <translation>Not enough memory. Close other programs and try again.</translation>
    </message>
    <message>
        <source>Errore interno del programma (%1). L&apos;operazione si è interrotta; se si ripete, segnalarlo con questo messaggio.</source>
        <translation>Internal program error (%1). The operation stopped; if it happens again, report it with this message.</translation>
    </message>
    <message>
        <source>Errore interno del programma. L&apos;operazione si è interrotta; se si ripete, segnalarlo con questo messaggio.</source>
        <translation>Internal program error. The operation stopped; if it happens again, report it with this message.</translation>
    </message>
    <message>
        <source>spazio su disco esaurito</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <source>superato il limite di dimensione dei file</source>
        <translation>file size limit exceeded</translation>
    </message>
    <message>
        <source>permesso negato</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>il disco è di sola lettura</source>
        <translation>the disk is read-only</translation>
    </message>
    <message>
        <source>file o cartella inesistente</source>
        <translation>no such file or folder</translation>
    </message>
    <message>
        <source>un elemento del percorso non è una cartella</source>
        <translation>a part of the path is not a folder</translation>
    </message>
    <message>
        <source>è una cartella, non un file</source>
        <translation>it is a folder, not a file</translation>
    </message>
    <message>
        <source>errore di lettura o scrittura sul disco</source>
        <translation>disk read or write error</translation>
    </message>
    <message>
        <source>risorse del sistema esaurite</source>
        <translation>system resources exhausted</translation>
    </message>
    <message>
        <source>%1: %2 (errno %3).</source>
        <translation>%1: %2 (errno %3).</translation>
    </message>
</context>
<context>
    <name>brenzola::TestiCronologia</name>
    <message>
        <source>«%1»</source>
        <translation>“%1”</translation>
    </message>
    <message>
        <source> e altri %1</source>
        <translation> and %1 more</translation>
    </message>
</context>
<context>
    <name>brenzola::VCard</name>
    <message>
        <source>quoted-printable non valido («%1»)</source>
        <translation>invalid quoted-printable (“%1”)</translation>
    </message>
    <message>
        <source>il testo non è nel set di caratteri %1</source>
        <translation>the text is not in the character set %1</translation>
    </message>
    <message>
        <source>riga %1: il testo non è in UTF-8: letto come Windows-1252</source>
        <translation>line %1: the text is not UTF-8: read as Windows-1252</translation>
    </message>
    <message>
        <source>riga %1: «%2» in %3 non è una data: è nei commenti</source>
        <translation>line %1: “%2” in %3 is not a date: it is in the comments</translation>
    </message>
    <message>
        <source>riga %1: la scheda iniziata qui non ha END:VCARD</source>
        <translation>line %1: the card started here has no END:VCARD</translation>
    </message>
    <message>
        <source>riga %1: testo fuori da una scheda vCard</source>
        <translation>line %1: text outside a vCard</translation>
    </message>
    <message>
        <source>riga %1: la riga non è una proprietà vCard (una riga spezzata male?)</source>
        <translation>line %1: the line is not a vCard property (a badly folded line?)</translation>
    </message>
    <message>
        <source>Il file non contiene schede vCard (BEGIN:VCARD).</source>
        <translation>The file contains no vCards (BEGIN:VCARD).</translation>
    </message>
    <message>
        <source>riga %1: la scheda non contiene dati</source>
        <translation>line %1: the card contains no data</translation>
    </message>
    <message>
        <source>riga %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
</context>
<context>
    <name>brenzola::frmSplash</name>
    <message>
        <source>Prodotto</source>
        <translation>Product</translation>
    </message>
    <message>
        <source>Versione</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Versione %1.%2.%3</source>
        <translation>Version %1.%2.%3</translation>
    </message>
</context>
</TS>
