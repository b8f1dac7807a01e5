#include "platform/Ini.h"
#include "platform/AppState.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>

namespace zorva {

namespace {

constexpr int kMaxValue = 254;

// The file as it was read: each line's own bytes and line end, so that a write changes only the
// line it writes. Files edited by hand may be in a legacy 8-bit encoding and mix line ends.
struct Lines {
    QStringList lines;        // decoded, for lookups
    QList<QByteArray> raw;    // as stored, without the line end
    QList<QByteArray> ends;   // "\r\n", "\n", or empty for a last line without one
    QByteArray eol = "\r\n"; // for lines that the program adds
    bool utf8 = true;         // the whole file is valid UTF-8
};

QString decodeLine(const QByteArray& raw, bool* utf8) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(raw);
    if (!decoder.hasError()) return text;
    *utf8 = false;
    return QString::fromLatin1(raw);
}

bool loadLines(const QString& file, Lines& out) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray data = f.readAll();
    if (!data.contains("\r\n") && data.contains('\n')) out.eol = "\n";
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = data.indexOf('\n', start);
        QByteArray eol = "\n";
        if (end < 0) {
            end = data.size();
            eol.clear();
        }
        QByteArray raw = data.mid(start, end - start);
        if (!eol.isEmpty() && raw.endsWith('\r')) {
            raw.chop(1);
            eol = "\r\n";
        }
        out.lines << decodeLine(raw, &out.utf8);
        out.raw << raw;
        out.ends << eol;
        start = end + 1;
    }
    return true;
}

// Adds a line of the program's own before line `at`.
void insertLine(Lines& l, qsizetype at, const QString& text) {
    // the line before it gets a line end if it was the file's unended last line
    if (at > 0 && l.ends[at - 1].isEmpty()) l.ends[at - 1] = l.eol;
    l.lines.insert(at, text);
    l.raw.insert(at, l.utf8 ? text.toUtf8() : text.toLatin1());
    l.ends.insert(at, l.eol);
}

// The section name of a "[name]" line, or a null string for other lines.
QString sectionOf(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('['))) return {};
    const int close = t.indexOf(QLatin1Char(']'));
    if (close < 0) return {};
    return t.mid(1, close - 1).trimmed();
}

bool isComment(const QString& line) { return line.trimmed().startsWith(QLatin1Char(';')); }

// Key of a "key=value" line, or a null string.
QString keyOf(const QString& line) {
    if (isComment(line)) return {};
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) return {};
    return line.left(eq).trimmed();
}

QString valueOf(const QString& line) {
    QString v = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    // The platform reader strips one pair of enclosing quotes.
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
        v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

// Index range [begin, end) of the body of the first section with that name; begin = -1 if none.
std::pair<int, int> findSection(const QStringList& lines, const QString& section) {
    int begin = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QString s = sectionOf(lines[i]);
        if (s.isNull()) continue;
        if (begin >= 0) return {begin, i};
        if (s.compare(section, Qt::CaseInsensitive) == 0) begin = i + 1;
    }
    return {begin, int(lines.size())};
}

int findKey(const QStringList& lines, std::pair<int, int> range, const QString& key) {
    for (int i = range.first; i < range.second; ++i)
        if (keyOf(lines[i]).compare(key, Qt::CaseInsensitive) == 0 && !keyOf(lines[i]).isNull())
            return i;
    return -1;
}

} // namespace

QString readIniFile(const QString& file, const QString& section, const QString& key) {
    Lines l;
    if (!loadLines(file, l)) return {};
    const auto range = findSection(l.lines, section);
    if (range.first < 0) return {};
    const int i = findKey(l.lines, range, key);
    if (i < 0) return {};
    return valueOf(l.lines[i]).left(kMaxValue);
}

bool writeIniFile(const QString& file, const QString& section, const QString& key,
                  const QString& value) {
    Lines l;
    if (QFile::exists(file) && !loadLines(file, l)) return false;
    const QString entry = key + QLatin1Char('=') + value;
    auto range = findSection(l.lines, section);
    if (range.first < 0) {
        insertLine(l, l.lines.size(), QLatin1Char('[') + section + QLatin1Char(']'));
        insertLine(l, l.lines.size(), entry);
    } else if (const int i = findKey(l.lines, range, key); i >= 0) {
        l.lines[i] = entry;
        l.raw[i] = l.utf8 ? entry.toUtf8() : entry.toLatin1();
    } else {
        // After the section's last non-blank line, so that a blank separator stays below it.
        int at = range.second;
        while (at > range.first && l.lines[at - 1].trimmed().isEmpty()) --at;
        insertLine(l, at, entry);
    }
    QByteArray bytes;
    for (qsizetype i = 0; i < l.raw.size(); ++i) bytes += l.raw[i] + l.ends[i];
    QSaveFile out(file);
    out.setDirectWriteFallback(true); // a writable file in a read-only folder
    if (!out.open(QIODevice::WriteOnly)) return false;
    if (out.write(bytes) != bytes.size()) return false;
    return out.commit();
}

QString ReadIni(const QString& section, const QString& key) {
    return readIniFile(appState().gIniFile, section, key);
}

bool WriteIni(const QString& section, const QString& key, const QString& value) {
    return writeIniFile(appState().gIniFile, section, key, value);
}

} // namespace zorva
