#pragma once
// Many running copies assigning at once: child processes of the test or bench program, each on
// its own connection, take the next free address as the assignment form offers it and save it
// (on a lost race, the next free one), while a reader in the parent keeps searching. Shared by
// the concurrent assignment test and the many-writers bench.
#include "assign/FreeAddress.h"

#include <QList>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

namespace zorva::test {

struct WritersOptions {
    QString folder;           // holds Zorva.ini and Zorvadb.mdb (or names the server)
    int writers = 10;
    int each = 40;            // saves per writer
    QStringList prefixes;     // "a.b.c.": taken in order, the next when one is full
    OctetRange range{1, 254};
    bool reader = true;       // a search in the parent meanwhile, on its own connection
};

struct WritersRun {
    QStringList saved;        // addresses reported Saved, one per save
    QStringList taken;        // addresses reported AddressTaken
    QStringList failures;     // the texts of saves reported Failed, and of writers that broke
    QList<double> saveMs;     // each save, from the first offer to the row stored
    double seconds = 0;       // from the start signal until the last writer ended
    double readerLongestMs = 0; // the longest single search of the reader
    int searches = 0;
};

// In main(): when this process was started as a writer, does its work and gives its exit code.
std::optional<int> runIfAssignWriter();

// Starts the writers (this program again) on options.folder's database, waits for them.
WritersRun runWriters(const WritersOptions& options);

// What the database holds afterwards: the addresses of IP_Info within the prefixes, and how
// many of `addresses` have no "added" entry in IP_History.
QStringList storedAddresses(QSqlDatabase db, const QStringList& prefixes);
int historyMissing(QSqlDatabase db, const QStringList& addresses);

// The q-th quantile (0..1) of values, by the nearest rank; 0 for none.
double quantile(QList<double> values, double q);

} // namespace zorva::test
