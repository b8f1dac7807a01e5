#include "platform/Ui.h"
#include "platform/QtUi.h"

namespace zorva {

namespace {
UiService* g_override = nullptr;
}

UiService& ui() {
    static QtUi real;
    return g_override ? *g_override : real;
}

UiService* setUi(UiService* service) {
    UiService* before = g_override;
    g_override = service;
    return before;
}

QStringList fileDialogFilters(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt shows the patterns itself when the description carries them in brackets.
        out << (parts[i].contains(QLatin1Char('(')) ? parts[i]
                                                    : parts[i] + QStringLiteral(" (") + patterns +
                                                          QLatin1Char(')'));
    }
    return out;
}

} // namespace zorva
