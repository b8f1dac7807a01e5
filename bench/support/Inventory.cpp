#include "support/Inventory.h"
#include "platform/Database.h"
#include "platform/Migration.h"
#include "platform/Schema.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <cstdio>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>
#include <algorithm>
#include <array>
#include <random>
#include <vector>

namespace zorva::bench {

namespace {

const std::array<const char*, 12> kAreas = {"Central", "Northern", "Southern", "Eastern",
                                            "Sabah", "Sarawak", "Headquarters", "Pahang",
                                            "Johor", "Kedah", "Perak", "Melaka"};
const std::array<const char*, 8> kCities = {"Kuala Lumpur", "Klang", "Ipoh", "Seremban",
                                            "Kuantan", "Kota Bharu", "Alor Setar", "Miri"};
const std::array<const char*, 5> kWorkgroups = {"General", "Finance", "Operation", "Sales",
                                                "Segment"};
const std::array<const char*, 5> kTypes = {"PC", "Printer", "Router", "Server", "Switch"};
const std::array<const char*, 16> kGiven = {"Ahmad", "Siti", "Tan", "Kumar", "Wong", "Aishah",
                                            "Lim", "Ravi", "Nurul", "Chong", "Farid", "Mei",
                                            "Hassan", "Priya", "Zul", "Aaron"};
// About a third of them contain "all".
const std::array<const char*, 9> kFamily = {"Marshall", "Hallam", "Tallis", "Abdullah",
                                            "Ismail", "Rahman", "Osman", "Yusof", "Lee"};
const std::array<const char*, 6> kUnits = {"IT Division", "Finance Unit", "HR Department",
                                           "Network Unit", "Help Desk", "Data Centre"};
const std::array<const char*, 6> kRemarks = {"", "Spare", "Loan unit",
                                             "Moved from old building", "Lab machine",
                                             "Replaced\r\nold board"};

template <size_t N>
QString pick(std::mt19937& rng, const std::array<const char*, N>& list) {
    return QString::fromLatin1(list[rng() % N]);
}

// k distinct fourth octets of 1..254, mostly from the bottom, with a few gaps moved higher.
std::vector<int> fourthOctets(std::mt19937& rng, int k) {
    std::vector<bool> used(256, false);
    for (int v = 1; v <= k; ++v) used[v] = true;
    const int moved = k / 10;
    for (int m = 0; m < moved; ++m) {
        const int from = 1 + int(rng() % k);
        const int to = 1 + int(rng() % 254);
        if (used[from] && !used[to]) {
            used[from] = false;
            used[to] = true;
        }
    }
    std::vector<int> out;
    for (int v = 1; v <= 254; ++v)
        if (used[v]) out.push_back(v);
    return out;
}

const char* const kInsert =
    "INSERT INTO IP_Info (IP_Address, IP_4, [Name], [Type], Region, StateOwner, CityOwner, "
    "Workgroup, Status, Project, Remarks, Username, StaffNo, LANID, UnitDivision, Floor, "
    "Building, Roadname, Postcode, City, State, TelNo, FaxNo, DateIssue, InputBy) "
    "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";

} // namespace

Inventory fillInventory(QSqlDatabase db, const InventoryOptions& options, QString* error) {
    Inventory out;
    std::mt19937 rng(options.seed);
    Transaction t(db);
    QSqlQuery q(db);
    if (!q.prepare(QString::fromLatin1(kInsert))) {
        if (error) *error = sqlErrorText(q);
        return out;
    }
    const QDate firstDay(2014, 1, 1);
    qint64 written = 0;
    for (int x = 1; x <= 255 && written < options.rows; ++x) {
        for (int y = 0; y <= 255 && written < options.rows; ++y) {
            const QString prefix = QStringLiteral("10.%1.%2.").arg(x).arg(y);
            out.prefixes << prefix;
            const int span = options.maxPerBlock - options.minPerBlock + 1;
            int k = options.minPerBlock + int(rng() % span);
            k = int(std::min<qint64>(k, options.rows - written));
            const QString area = pick(rng, kAreas);
            const QString city = pick(rng, kCities);
            const QString workgroup = pick(rng, kWorkgroups);
            const QString state = workgroup == QLatin1String("Segment") ? QString() : area;
            const QString unit = pick(rng, kUnits);
            if (out.places.size() < 200) out.places << area + QLatin1Char('|') + city;
            for (int v : fourthOctets(rng, k)) {
                const QString type = pick(rng, kTypes);
                const QString name = type.left(2).toUpper() + city.left(3).toUpper() +
                                     QString::number(written, 36).toUpper();
                const quint32 person = quint32(written / 4) * 2654435761u % 900000u;
                const QString staff = QStringLiteral("S%1").arg(100000 + person);
                const quint32 s = rng() % 15;
                const QString status = s < 5    ? QStringLiteral("Temporary")
                                       : s < 14 ? QStringLiteral("Permanent")
                                                : QString();
                const QString user = pick(rng, kGiven) + QLatin1Char(' ') + pick(rng, kFamily);
                const QVariantList values = {
                    prefix + QString::number(v), v, name, type, area, state, city, workgroup,
                    status, QStringLiteral("Project %1").arg(rng() % 40), pick(rng, kRemarks),
                    user, staff, QStringLiteral("lan%1").arg(person), unit,
                    QStringLiteral("Level %1").arg(1 + rng() % 20),
                    QStringLiteral("Menara %1").arg(city), QStringLiteral("Jalan %1").arg(area),
                    QString::number(50000 + rng() % 40000), city, area,
                    QStringLiteral("03-%1").arg(20000000 + rng() % 9999999),
                    QStringLiteral("03-%1").arg(20000000 + rng() % 9999999),
                    firstDay.addDays(rng() % 3650).toString(Qt::ISODate),
                    QStringLiteral("Administrator")};
                for (int i = 0; i < values.size(); ++i) q.bindValue(i, values[i]);
                if (!q.exec()) {
                    if (error) *error = sqlErrorText(q);
                    return out;
                }
                if (out.staffNos.size() < 500 && rng() % 1000 == 0) out.staffNos << staff;
                if (out.names.size() < 500 && rng() % 1000 == 0) out.names << name;
                ++written;
            }
        }
    }
    if (!t.commit()) {
        if (error) *error = db.lastError().text();
        return out;
    }
    out.rows = written;
    return out;
}

Inventory createInventoryFile(const QString& path, const InventoryOptions& options,
                              QString* error) {
    Inventory out;
    if (!createInitialDatabase(path, error)) return out;
    const QString name = QStringLiteral("zorva_bench_") + QUuid::createUuid().toString();
    {
        QSqlDatabase db = openDatabaseFile(path, name, error);
        if (!db.isValid()) return out;
        QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode = OFF"));
        QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous = OFF"));
        QSqlQuery(db).exec(QStringLiteral("PRAGMA cache_size = -262144"));
        // The schema's indexes are built once after the fill (a sort), not row by row.
        QStringList indexes;
        QSqlQuery list(db);
        list.exec(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index' "
                                 "AND tbl_name = 'IP_Info' AND sql IS NOT NULL"));
        QStringList names;
        while (list.next()) {
            names << list.value(0).toString();
            indexes << list.value(1).toString();
        }
        list.finish();
        for (const QString& index : names)
            QSqlQuery(db).exec(QStringLiteral("DROP INDEX \"%1\"").arg(index));
        out = fillInventory(db, options, error);
        for (const QString& sql : indexes) {
            QSqlQuery q(db);
            if (!q.exec(sql)) {
                if (error) *error = sqlErrorText(q);
                out.rows = 0;
            }
        }
        db.close();
    }
    closeConnection(name);
    return out;
}

std::optional<DatabaseServer> benchServer(const QString& file, QString* error) {
    DatabaseServer s;
    s.host = qEnvironmentVariable("PGHOST");
    s.port = qEnvironmentVariableIntValue("PGPORT") > 0 ? qEnvironmentVariableIntValue("PGPORT") : -1;
    s.user = qEnvironmentVariable("PGUSER");
    s.name = qEnvironmentVariable("PGDATABASE");
    s.schema = QStringLiteral("bench_%1").arg(QCoreApplication::applicationPid());
    QElapsedTimer t;
    t.start();
    const auto copied = migrateToServer(file, s, error);
    if (!copied) return std::nullopt;
    std::printf("migrated to the server in %.1f s\n", t.elapsed() / 1000.0);
    return s;
}

void dropBenchServer(const DatabaseServer& server) {
    // ZORVA_BENCH_KEEP=1 leaves the schema for a look at its plans with psql.
    if (qEnvironmentVariableIntValue("ZORVA_BENCH_KEEP")) {
        std::printf("kept: schema %s\n", qPrintable(server.schema));
        return;
    }
    const QString name = QStringLiteral("bench_drop");
    {
        DatabaseServer admin = server;
        admin.schema.clear();
        QSqlDatabase db = openDatabaseServer(admin, name);
        runSqlOn(db, QStringLiteral("DROP SCHEMA %1 CASCADE").arg(server.schema));
    }
    closeConnection(name);
}

bool takeServerOption(QStringList& args) { return args.removeAll(QStringLiteral("--pg")) > 0; }

} // namespace zorva::bench
