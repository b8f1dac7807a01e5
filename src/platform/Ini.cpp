#include "platform/Ini.h"
#include "platform/AppState.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace zorva {

namespace {

constexpr int kMaxValue = 254;

struct Lines {
    QStringList lines;
    QString eol = QStringLiteral("\r\n");
};

bool loadLines(const QString& file, Lines& out) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray data = f.readAll();
    QString text = QString::fromUtf8(data);
    if (!data.contains("\r\n") && data.contains('\n')) out.eol = QStringLiteral("\n");
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.lines = text.split(QLatin1Char('\n'));
    if (!out.lines.isEmpty() && out.lines.last().isEmpty()) out.lines.removeLast();
    return true;
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
        l.lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        l.lines.append(entry);
    } else if (const int i = findKey(l.lines, range, key); i >= 0) {
        l.lines[i] = entry;
    } else {
        // After the section's last non-blank line, so that a blank separator stays below it.
        int at = range.second;
        while (at > range.first && l.lines[at - 1].trimmed().isEmpty()) --at;
        l.lines.insert(at, entry);
    }
    QSaveFile out(file);
    out.setDirectWriteFallback(true); // a writable file in a read-only folder
    if (!out.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = (l.lines.join(l.eol) + l.eol).toUtf8();
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
