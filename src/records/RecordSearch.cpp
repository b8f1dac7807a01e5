#include "records/RecordSearch.h"
#include "platform/SearchIndex.h"

namespace zorva {

namespace {

RecordQuery onColumn(const QString& column, const QString& op, const QVariant& value) {
    RecordQuery q;
    q.where = column + op;
    q.values = {value};
    return q;
}

RecordQuery equalTo(const QString& column, const QString& value) {
    RecordQuery q = onColumn(column, QStringLiteral(" = ?"), value);
    q.few = true;
    return q;
}

// Addresses that begin with a text. A large result is walked through the order's index,
// checking the prefix on each row: the address index would give every row before the first.
RecordQuery beginWith(const QString& text) {
    RecordQuery q = onColumn(QStringLiteral("IP_Address"), QStringLiteral(" Like ?"),
                             text + QLatin1Char('%'));
    q.walkWhere = noIndex(QStringLiteral("IP_Address")) + QStringLiteral(" Like ?");
    if (auto c = prefixCount(text)) {
        q.countSql = c->sql;
        q.countValues = c->values;
    }
    return q;
}

RecordQuery andTemporary(RecordQuery q) {
    // Not through the status index: the address prefix is the narrower condition, while about
    // a third of all records are temporary.
    const QString temporary =
        QStringLiteral(" And ") + noIndex(QStringLiteral("Status")) + QStringLiteral(" = 'Temporary'");
    q.where += temporary;
    if (!q.walkWhere.isEmpty()) q.walkWhere += temporary;
    q.countSql.clear(); // the blocks count every address
    q.countValues.clear();
    return q;
}

const SearchType kTypes[] = {
    {SearchMode::IPAddress, QStringLiteral("Search For IP Address :"),
     QStringLiteral("IP Address : "), QStringLiteral("Please enter IP Address ...")},
    {SearchMode::StaffNo, QStringLiteral("Search For Staff No :"), QStringLiteral("Staff No : "),
     QStringLiteral("Please enter Staff No ...")},
    {SearchMode::Hostname, QStringLiteral("Search For Hostname :"), QStringLiteral("Hostname : "),
     QStringLiteral("Please enter Hostname ...")},
    {SearchMode::Remarks, QStringLiteral("Search For Remarks :"), QStringLiteral("Remarks : "),
     QStringLiteral("Please enter Remarks ...")},
    {SearchMode::Username, QStringLiteral("Search For Username :"), QStringLiteral("Username : "),
     QStringLiteral("Please enter Username ...")},
};

QString noRecord(const QString& what, const QString& text) {
    return QStringLiteral("There're no record with ") + what + QLatin1Char(' ') + text +
           QStringLiteral(" in Zorva database.");
}

} // namespace

QString RecordQuery::orderColumn() const {
    return order == Order::ByIP4 ? QStringLiteral("IP_4") : QStringLiteral("IP_Address");
}

QString RecordQuery::sql() const {
    return QStringLiteral("SELECT * FROM IP_Info Where ") + where +
           (order == Order::ByIP4 ? QStringLiteral(" Order By IP_4 ASC")
                                  : QStringLiteral(" Order By IP_Address, IP_4 ASC"));
}

const SearchType& searchType(SearchMode mode) {
    for (const SearchType& t : kTypes)
        if (t.mode == mode) return t;
    return kTypes[0];
}

std::optional<SearchMode> modeOfCaption(const QString& key) {
    for (const SearchType& t : kTypes)
        if (t.keyCaption == key) return t.mode;
    return std::nullopt;
}

TextSearch textSearch(SearchMode mode, MatchOption option, const QString& text) {
    TextSearch s;
    if (text.isEmpty()) {
        s.refusal = kEmptySearchText;
        s.refusalIsEmptyText = true;
        return s;
    }
    const QString like = QStringLiteral(" Like ?");
    switch (mode) {
    case SearchMode::IPAddress:
        if (option == MatchOption::Exact) {
            s.query = equalTo(QStringLiteral("IP_Address"), text);
            s.notFound = noRecord(QStringLiteral("IP Address"), text);
        } else if (option == MatchOption::BeginWith) {
            s.query = beginWith(text);
            s.notFound = noRecord(QStringLiteral("IP Address"), text);
        } else if (text == QLatin1String("ALL")) { // exact and case-sensitive: "all" is a prefix
            s.query.where = QStringLiteral("Status = 'Temporary'");
            s.notFound =
                QStringLiteral("There're no record with TEMPORARY status in Zorva database.");
        } else {
            s.query = andTemporary(beginWith(text));
            s.notFound = QStringLiteral("There're no record with TEMPORARY status for IP Address ") +
                         text + QStringLiteral(" in Zorva database.");
        }
        break;
    case SearchMode::StaffNo:
        s.query = equalTo(QStringLiteral("StaffNo"), text);
        s.notFound = noRecord(QStringLiteral("Staff No."), text);
        break;
    case SearchMode::Hostname:
        s.query = equalTo(QStringLiteral("[Name]"), text);
        s.notFound = noRecord(QStringLiteral("Hostname"), text);
        break;
    case SearchMode::Username:
    case SearchMode::Remarks: {
        if (text.size() < 3) {
            s.refusal = QStringLiteral("The search term you specified (") + text +
                        QStringLiteral(") is under the minimum word length (3) and therefore "
                                       "will not be found.\r\nPlease make this term longer.");
            return s;
        }
        const QString column =
            mode == SearchMode::Username ? QStringLiteral("Username") : QStringLiteral("Remarks");
        if (auto c = indexedContains(column, text)) {
            s.query.where = c->where;
            s.query.walkWhere = c->walkWhere;
            s.query.values = c->values;
            s.query.countSql = c->countSql;
            s.query.countValues = c->values;
        } else {
            s.query.where = column + like;
            s.query.scan = true;
            s.query.values = {QLatin1Char('%') + text + QLatin1Char('%')};
        }
        s.notFound = noRecord(column, text);
        break;
    }
    }
    return s;
}

RecordQuery prefixQuery(const QString& prefix) { return beginWith(prefix); }

RecordQuery cityQuery(const QString& area, const QString& city) {
    RecordQuery q;
    q.where = QStringLiteral("Region = ? And CityOwner = ?");
    q.values = {area, city};
    q.order = RecordQuery::Order::ByAddress;
    return q;
}

QString locationPrefix(int octet1, int octet2, int octet3) {
    return QStringLiteral("%1.%2.%3.").arg(octet1).arg(octet2).arg(octet3);
}

RecordQuery addressQuery(const QString& address) {
    return equalTo(QStringLiteral("IP_Address"), address);
}

QString foundNote(qint64 count) {
    return QString::number(count) +
           QStringLiteral(" record(s) found. Double Click on item to get detail info OR select "
                          "and use delete key to delete items.");
}

QString deleteQuestion(qint64 count) {
    return QStringLiteral("Are you sure you want to deleted the selected ") +
           QString::number(count) + QStringLiteral(" record(s)?");
}

} // namespace zorva
