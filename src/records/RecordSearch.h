#pragma once
#include <QString>
#include <QVariantList>
#include <optional>

namespace zorva {

// One search of the address records: which rows (a condition on IP_Info with bound values)
// and in which order. Built by the functions below from what the search form shows; run by
// RecordList (count, ordered keys) and by the grid model.
struct RecordQuery {
    enum class Order { ByIP4, ByAddress }; // IP_4; or IP_Address text, then IP_4
    QString where; // the condition, values bound to its '?' in order
    QVariantList values;
    // The same rows for the walk through a large result in its order, when it should follow
    // the order's own index rather than the one the condition narrows (values as above).
    QString walkWhere;
    // A cheaper statement that counts the same rows, with its values.
    QString countSql;
    QVariantList countValues;
    Order order = Order::ByIP4;
    // No index serves the condition (a "contains" pattern the full-text index cannot take):
    // the table is read once, whatever it finds.
    bool scan = false;
    // An equality lookup, which usually finds a few lines: they are read with their grid cells
    // in one statement, and counted and read as usual only when there are more than a page.
    bool few = false;

    bool isEmpty() const { return where.isEmpty(); }
    // The column the order starts with.
    QString orderColumn() const;
    // The statement the search stands for, as the program shows it (values as placeholders).
    QString sql() const;
    bool operator==(const RecordQuery&) const = default;
};

// The text search's mode, recognised by the caption of lblCarian.
enum class SearchMode { IPAddress, StaffNo, Hostname, Username, Remarks };
// The match option of the IP Address mode.
enum class MatchOption { Exact, BeginWith, Temporary };

struct SearchType {
    SearchMode mode;
    QString frameCaption;  // frameIPAddress
    QString keyCaption;    // lblCarian
    QString promptCaption; // lblNota
};
// The five text modes in the order of their option buttons (Option1, 2, 4, 5, 6).
const SearchType& searchType(SearchMode mode);
// The mode whose lblCarian caption is key; nullopt for any other text.
std::optional<SearchMode> modeOfCaption(const QString& key);

// What a search asks the form to do: run the query, or show a message and stop.
struct TextSearch {
    RecordQuery query;   // empty when refused
    QString refusal;     // the refusal's message text ("" when the search runs)
    bool refusalIsEmptyText = false;
    QString notFound;    // the "Not Found" message for an empty result
};

// The text search of the search form (its Search button): mode, option (used by the IP
// Address mode only) and the text as typed.
TextSearch textSearch(SearchMode mode, MatchOption option, const QString& text);

// The location searches: addresses under a prefix ("10.2.31."), or the records of a city.
RecordQuery prefixQuery(const QString& prefix);
RecordQuery cityQuery(const QString& area, const QString& city);
// "a.b.c." from the plan's octets, in plain decimal.
QString locationPrefix(int octet1, int octet2, int octet3);

// The one record that a grid line names.
RecordQuery addressQuery(const QString& address);

inline const QString kAppTitle = QStringLiteral("Zorva");
inline const QString kEmptySearchText = QStringLiteral("Please enter data ... ");
inline const QString kLocationNotFound = QStringLiteral("Record not found ...");
// "N record(s) found. ..." under the grid.
QString foundNote(qint64 count);
// The question before a block of grid lines is deleted.
QString deleteQuestion(qint64 count);

} // namespace zorva
