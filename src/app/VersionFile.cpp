#include "app/VersionFile.h"

#include <QStringList>

namespace zorva {

QString updateHostOf(const QString& updateUrl) {
    QString host = updateUrl.split(QLatin1Char('/')).value(2);
    // a port belongs to the web service, not to the host that is pinged
    const qsizetype colon = host.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0 && !host.contains(QLatin1Char(']'))) host.truncate(colon);
    if (const qsizetype at = host.lastIndexOf(QLatin1Char('@')); at >= 0) host.remove(0, at + 1);
    return host.trimmed();
}

std::optional<VersionLine> parseVersionLine(const QString& firstLine) {
    const QString separator = QStringLiteral(" -> ");
    const qsizetype at = firstLine.indexOf(separator);
    if (at < 0) return std::nullopt;
    VersionLine v{firstLine.left(at).trimmed(),
                  firstLine.mid(at + separator.size()).section(separator, 0, 0).trimmed()};
    if (!v.newest.contains(QLatin1Char('.'))) return std::nullopt;
    return v;
}

std::optional<VersionLine> parseVersionFile(const QByteArray& content) {
    const qsizetype end = content.indexOf('\n');
    return parseVersionLine(QString::fromUtf8(end < 0 ? content : content.left(end)).trimmed());
}

int compareVersionTexts(const QString& a, const QString& b) {
    const QStringList pa = a.split(QLatin1Char('.')), pb = b.split(QLatin1Char('.'));
    bool numeric = pa.size() == pb.size();
    for (qsizetype i = 0; numeric && i < pa.size(); ++i) {
        bool okA = false, okB = false;
        pa[i].toUInt(&okA);
        pb[i].toUInt(&okB);
        numeric = okA && okB;
    }
    if (numeric) {
        for (qsizetype i = 0; i < pa.size(); ++i) {
            const uint x = pa[i].toUInt(), y = pb[i].toUInt();
            if (x != y) return x < y ? -1 : 1;
        }
        return 0;
    }
    const int c = QString::compare(a, b, Qt::CaseSensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

UpdateVerdict judgeUpdate(const QString& current, const VersionLine& line) {
    if (compareVersionTexts(current, line.newest) >= 0) return UpdateVerdict::None;
    if (compareVersionTexts(current, line.lowest) >= 0) return UpdateVerdict::UpdateOffered;
    return UpdateVerdict::FullDownload;
}

} // namespace zorva
